#!/bin/sh
# Saves docs/screenshot.png: the main window after a search of examples/sjis,
# drawn on a virtual X display with a window manager (openbox) when one is
# installed, so that the window has its frame and title.
#
#   scripts/screenshot.sh [BUILD_DIR]   (default: build)
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
tool="$build/tests/app/quillmark_screenshot"
[ -x "$tool" ] || { echo "build quillmark_screenshot first: cmake --build $build --target quillmark_screenshot" >&2; exit 1; }
mkdir -p "$here/docs"

xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
  if command -v openbox >/dev/null; then openbox >/dev/null 2>&1 & fi
  cd "$1" && "$2" examples/sjis "$1/docs/screenshot.png"
  status=$?
  kill %1 2>/dev/null || true
  exit $status
' screenshot "$here" "$tool"
echo "wrote $here/docs/screenshot.png"
