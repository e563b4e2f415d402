#!/usr/bin/env bash
# Installs what is missing, builds Quillmark and starts the desktop program.
# Without a display it runs the command-line scanner on the examples instead.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target quillmark quillmark-scan

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/app/quillmark
fi

echo "No display to show the window on; scanning the examples instead."
echo "== Shift_JIS examples"
build/cli/quillmark-scan examples/sjis || true
echo "== EUC-JP examples"
build/cli/quillmark-scan --encoding EUC examples/euc || true
