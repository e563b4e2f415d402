#!/usr/bin/env bash
# Cross-compiles two small programs with the Windows resources through
# cmake/WindowsResources.cmake (a console one for quillmark-scan.rc.in, a
# GUI one for quillmark.rc.in), checks the icon, version information and
# manifest that their PE files carry, and runs them under wine, where they
# read their resources back through the Windows API. Also checks that
# res/windows/quillmark.ico is what scripts/make_ico.py makes of the PNGs.
# With WX_CONFIG naming a wxMSW wx-config, the GUI program's resources also
# take in wx/msw/wx.rc, as the desktop program's do.
# Usage: resources_test.sh [SOURCE_DIR]
set -euo pipefail

source_dir=$(cd "${1:-$(dirname "$0")/../..}" && pwd)
for tool in x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64-posix x86_64-w64-mingw32-windres:binutils-mingw-w64-x86-64 \
            cmake:cmake python3:python3; do
  command -v "${tool%%:*}" >/dev/null || { echo "FAIL: ${tool%%:*} not found: install the Debian package ${tool#*:}" >&2; exit 1; }
done
version=$(sed -n 's/^project(Quillmark VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
[ -n "$version" ] || { echo "FAIL: no version in $source_dir/CMakeLists.txt" >&2; exit 1; }

work=$(mktemp -d)
cleanup() {
  if [ "${WINEPREFIX:-}" = "$work/wine" ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
status=0
fail() { echo "FAIL: $*" >&2; status=1; }

python3 "$source_dir/scripts/make_ico.py" "$work/quillmark.ico"
cmp -s "$work/quillmark.ico" "$source_dir/res/windows/quillmark.ico" ||
  fail "res/windows/quillmark.ico is not what scripts/make_ico.py makes of res/icons: run it and commit the icon"

wx_flags=""
if [ -n "${WX_CONFIG:-}" ]; then
  wx_flags=$("$WX_CONFIG" --cxxflags)
fi
cat >"$work/toolchain.cmake" <<'EOF'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
EOF
mkdir -p "$work/project"
cat >"$work/project/CMakeLists.txt" <<EOF
cmake_minimum_required(VERSION 3.25)
project(Quillmark VERSION $version LANGUAGES CXX)
add_compile_options(-Wall -Wextra)
add_link_options(-static)
include("$source_dir/cmake/WindowsResources.cmake")
set(probe "$source_dir/tests/windows/probe")

add_executable(quillmark-scan \${probe}/console_probe.cpp)
target_compile_definitions(quillmark-scan PRIVATE QUILLMARK_VERSION="\${PROJECT_VERSION}")
target_link_libraries(quillmark-scan PRIVATE version)
quillmark_add_windows_resources(quillmark-scan "$source_dir/res/windows/quillmark-scan.rc.in")

add_executable(quillmark WIN32 \${probe}/gui_probe.cpp)
separate_arguments(wx_flags UNIX_COMMAND "$wx_flags")
if(wx_flags)
  foreach(flag IN LISTS wx_flags)
    if(flag MATCHES "^-I(.*)")
      target_include_directories(quillmark PRIVATE "\${CMAKE_MATCH_1}")
    elseif(flag MATCHES "^-D(.*)")
      target_compile_definitions(quillmark PRIVATE "\${CMAKE_MATCH_1}")
    endif()
  endforeach()
else()
  target_compile_definitions(quillmark PRIVATE QUILLMARK_RC_WITHOUT_WX)
endif()
quillmark_add_windows_resources(quillmark "$source_dir/res/windows/quillmark.rc.in")
EOF
if ! { cmake -S "$work/project" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" &&
       cmake --build "$work/build" -j 2; } >"$work/build.log" 2>&1; then
  tail -n 30 "$work/build.log" >&2
  echo "FAIL: the programs with resources did not build" >&2
  exit 1
fi
scan=$work/build/quillmark-scan.exe
app=$work/build/quillmark.exe
python3 "$source_dir/tests/windows/check_pe_resources.py" console "$scan" "$version" || status=1
python3 "$source_dir/tests/windows/check_pe_resources.py" gui "$app" "$version" || status=1
if [ -n "$wx_flags" ]; then
  # wx.rc's cursors and bitmaps came along (resource names are UTF-16).
  python3 -c 'import sys; sys.exit("WXBITMAP_STD_COLOURS".encode("utf-16-le") not in open(sys.argv[1], "rb").read())' "$app" ||
    fail "quillmark.exe lacks the resources of wx/msw/wx.rc"
fi

if ! command -v wine >/dev/null; then
  echo "SKIP: wine not found (Debian package wine): the programs were not run"
  exit $status
fi
export WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEPREFIX=${QUILLMARK_WINEPREFIX:-$work/wine}
wineboot -i >/dev/null 2>&1 || true
expected="fixed=$version.0
CompanyName=The Quillmark authors
FileVersion=$version
ProductName=Quillmark
ProductVersion=$version
OriginalFilename=quillmark-scan.exe
icon=loaded"
got=$(wine "$scan" --resources 2>&1 | tr -d '\r') || fail "quillmark-scan.exe --resources exited $?"
[ "$got" = "$expected" ] || fail "quillmark-scan.exe read back from its resources:
$got
wanted:
$expected"
code=0
wine "$app" >/dev/null 2>&1 || code=$?
[ $((code & 1)) -eq 0 ] || fail "quillmark.exe: LoadIcon found no 'quillmark' icon"
[ $((code & 2)) -eq 0 ] || fail "quillmark.exe: the manifest did not bring common controls 6"
[ $((code & 4)) -eq 0 ] || fail "quillmark.exe: the manifest did not make the process per-monitor DPI aware"
[ $code -lt 8 ] || fail "quillmark.exe exited $code"
[ $status -eq 0 ] && echo "PASS: resources of quillmark.exe and quillmark-scan.exe"
exit $status
