#!/usr/bin/env bash
# Builds quillmark.exe and quillmark-scan.exe for 64-bit Windows on this
# Debian machine: installs the cross compiler and wine, builds a static
# wxMSW once into a cache outside the clone (scripts/build-wxmsw.sh), then
# cross-builds into build-windows/ (or $1). Extra arguments go to CMake.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build-windows}"
[ $# -gt 0 ] && shift
scripts/install-windows-deps.sh
wx_config="$(scripts/build-wxmsw.sh | tail -n 1)"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DwxWidgets_CONFIG_EXECUTABLE="$wx_config" -DQUILLMARK_BUILD_BENCH=OFF "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
echo "build-windows.sh: $build/app/quillmark.exe and $build/cli/quillmark-scan.exe"
