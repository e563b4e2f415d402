#!/usr/bin/env bash
# Runs scripts/package-windows.sh on two small cross-built programs that
# stand in for quillmark.exe and quillmark-scan.exe, and checks the zip
# (its files, text with CR LF, the same bytes from a second run in another
# time zone) and the MSI's tables (install folder, shortcut, PATH entry,
# upgrade codes). Also checks that the script refuses programs that would
# need the mingw runtime DLLs, and a build folder without the programs.
# Where wine is installed, msi_install_test.sh then installs the MSI, has
# it upgraded by the one of a later version, and removes it.
# Usage: package_test.sh [SOURCE_DIR]
set -euo pipefail

source_dir=$(cd "${1:-$(dirname "$0")/../..}" && pwd)
for tool in x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64-posix msiinfo:msitools unzip:unzip; do
  command -v "${tool%%:*}" >/dev/null || { echo "FAIL: ${tool%%:*} not found: install the Debian package ${tool#*:}" >&2; exit 1; }
done
version=$(sed -n 's/^project(Quillmark VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*" >&2; status=1; }
package="$source_dir/scripts/package-windows.sh"
export SOURCE_DATE_EPOCH=1700000000

probe=$source_dir/tests/windows/probe
mkdir -p "$work/build/app" "$work/build/cli" "$work/shared"
cxx() { x86_64-w64-mingw32-g++-posix -O1 -DQUILLMARK_VERSION="\"$version\"" "$@"; }
cxx -static "$probe/console_probe.cpp" -lversion -o "$work/build/cli/quillmark-scan.exe"
cxx -static -mwindows "$probe/gui_probe.cpp" -o "$work/build/app/quillmark.exe"
cxx "$probe/console_probe.cpp" -lversion -o "$work/shared/quillmark-scan.exe"  # needs libstdc++-6.dll

# Refusals: each case is "what|environment|build folder|text the error must hold".
while IFS='|' read -r what environment build message; do
  [ -n "$what" ] || continue
  if env "$environment" bash "$package" "$work/$build" "$work/refused" >"$work/out" 2>&1; then
    fail "$what: package-windows.sh succeeded"
  elif ! grep -qF "$message" "$work/out"; then
    fail "$what: the error does not say '$message': $(cat "$work/out")"
  fi
done <<EOF
no programs|QUILLMARK_VERSION=$version|shared|app/quillmark.exe not found
a program needing the mingw runtime|QUILLMARK_SCAN_EXE=$work/shared/quillmark-scan.exe|build|libstdc++-6.dll, which Windows does not have
EOF

bash "$package" "$work/build" "$work/out1" >/dev/null
TZ=Asia/Tokyo bash "$package" "$work/build" "$work/out2" >/dev/null
zip=$work/out1/quillmark-$version-win64.zip
msi=$work/out1/quillmark-$version-x64.msi
{ [ -f "$zip" ] && [ -f "$msi" ]; } || { echo "FAIL: package-windows.sh wrote $(ls "$work/out1")" >&2; exit 1; }
cmp -s "$zip" "$work/out2/$(basename "$zip")" || fail "two runs made different zips"

top=quillmark-$version-win64
listed=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
wanted="$top/ $top/LICENSE.txt $top/README.txt $top/quillmark-scan.exe $top/quillmark-scan.txt $top/quillmark.exe $top/quillmark.txt "
[ "$listed" = "$wanted" ] || fail "the zip holds '$listed', wanted '$wanted'"
unzip -q "$zip" -d "$work/unzipped"
for text in LICENSE README quillmark quillmark-scan; do
  file=$work/unzipped/$top/$text.txt
  [ -f "$file" ] || continue
  [ "$(head -c 3 "$file" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "$text.txt has no UTF-8 byte-order mark"
  ! grep -q $'[^\r]$' "$file" || fail "$text.txt has lines that do not end in CR LF"
  ! grep -q $'[\b\e]' "$file" || fail "$text.txt holds backspaces or escape sequences"
done
for page in quillmark quillmark-scan; do
  for heading in NAME SYNOPSIS DESCRIPTION; do
    grep -q "^$heading"$'\r$' "$work/unzipped/$top/$page.txt" || fail "$page.txt lacks the heading $heading"
  done
done
grep -qF '参照' "$work/unzipped/$top/quillmark.txt" || fail "quillmark.txt lost the Japanese of the manual page"
cmp -s <(tr -d '\r' <"$work/unzipped/$top/LICENSE.txt" | tail -c +4) "$source_dir/LICENSE" ||
  fail "LICENSE.txt is not LICENSE with CR LF"

# The MSI's tables, each check "table|a row it must hold" (fields split by \t, as msiinfo exports them).
row() { msiinfo export "$msi" "$1" | tr -d '\r' | grep -qxF "$2"; }
upgrade_code=$(sed -n 's/.*UpgradeCode="\([0-9a-f-]*\)".*/\1/p' "$source_dir/packaging/windows/quillmark.wxs" | tr a-f A-F)
while IFS='|' read -r table wanted; do
  [ -n "$table" ] || continue
  row "$table" "$(printf '%b' "$wanted")" || fail "the MSI's $table table lacks the row '$wanted'"
done <<EOF
Property|ProductVersion\t$version
Property|ALLUSERS\t1
Property|REBOOT\tReallySuppress
Property|ARPPRODUCTICON\tquillmark.ico
Directory|INSTALLFOLDER\tProgramFiles64Folder\tQuillmark
Environment|PathQuillmark\t=-*PATH\t[~];[INSTALLFOLDER]\tquillmark_scan.exe
InstallExecuteSequence|RemoveEnvironmentStrings\t\t3300
InstallExecuteSequence|WriteEnvironmentStrings\t\t5200
InstallExecuteSequence|RemoveExistingProducts\t\t1401
Upgrade|{$upgrade_code}\t\t$version\t\t1\t\tWIX_UPGRADE_DETECTED
EOF
msiinfo export "$msi" Shortcut | tr -d '\r' | awk -F'\t' '$1 == "StartMenuQuillmark"' |
  grep -qP '^StartMenuQuillmark\tProgramMenuFolder\tQuillmark\tquillmark.exe\t' ||
  fail "the MSI has no Start-menu shortcut Quillmark to quillmark.exe"
msiinfo suminfo "$msi" | grep -q '^Template: x64;1033' || fail "the MSI is not for x64: $(msiinfo suminfo "$msi" | grep Template)"

# Another version: the same upgrade code, another product code.
mkdir -p "$work/build3/cli"
x86_64-w64-mingw32-g++-posix -O1 -DQUILLMARK_VERSION='"9.8.7"' -static "$probe/console_probe.cpp" -lversion \
  -o "$work/build3/cli/quillmark-scan.exe"
QUILLMARK_VERSION=9.8.7 QUILLMARK_EXE=$work/build/app/quillmark.exe bash "$package" "$work/build3" "$work/out3" >/dev/null
code() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v key="$2" '$1 == key { print $2 }'; }
other=$work/out3/quillmark-9.8.7-x64.msi
[ "$(code "$msi" UpgradeCode)" = "$(code "$other" UpgradeCode)" ] || fail "the upgrade code changed with the version"
[ "$(code "$msi" ProductCode)" != "$(code "$other" ProductCode)" ] || fail "the product code did not change with the version"
[ "$(code "$msi" ProductCode)" = "$(code "$work/out2/$(basename "$msi")" ProductCode)" ] ||
  fail "the same version got two product codes"

[ $status -eq 0 ] && echo "PASS: package-windows.sh wrote the zip and the MSI"
if command -v wine >/dev/null; then
  bash "$source_dir/tests/windows/msi_install_test.sh" "$msi" "$other" || status=1
else
  echo "SKIP: wine not found (Debian package wine): the MSI was not installed"
fi
exit $status
