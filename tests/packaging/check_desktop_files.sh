#!/usr/bin/env bash
# Validates the desktop entry and the AppStream metainfo, then installs the
# build into a scratch folder and validates the installed tree, which checks
# that the metainfo's launchable names the installed desktop entry.
# Usage: check_desktop_files.sh SOURCE_DIR BUILD_DIR
set -u
src=$1
build=$2
id=io.github.quillmark.Quillmark
status=0

need() {
  if ! command -v "$1" >/dev/null; then
    echo "FAIL: $1 not found: install the Debian package $2" >&2
    exit 1
  fi
}
need desktop-file-validate desktop-file-utils
need appstreamcli appstream

# desktop-file-validate exits 0 on hints and warnings; any output fails.
out=$(desktop-file-validate "$src/res/$id.desktop" 2>&1)
if [ $? -ne 0 ] || [ -n "$out" ]; then
  echo "FAIL: desktop-file-validate res/$id.desktop:" >&2
  echo "$out" >&2
  status=1
fi

if ! appstreamcli validate --no-net "$src/res/$id.metainfo.xml"; then
  echo "FAIL: appstreamcli validate res/$id.metainfo.xml" >&2
  status=1
fi

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
if ! cmake --install "$build" --prefix "$root/usr" >/dev/null; then
  echo "FAIL: cmake --install $build" >&2
  exit 1
fi
for file in share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
            share/icons/hicolor/scalable/apps/quillmark.svg \
            share/icons/hicolor/48x48/apps/quillmark.png \
            share/bash-completion/completions/quillmark-scan; do
  if [ ! -f "$root/usr/$file" ]; then
    echo "FAIL: the install lacks usr/$file" >&2
    status=1
  fi
done
if ! appstreamcli validate-tree --no-net "$root"; then
  echo "FAIL: appstreamcli validate-tree of the installed files" >&2
  status=1
fi
exit $status
