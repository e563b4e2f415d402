#!/usr/bin/env bash
# Packs the cross-built Windows programs into quillmark-VERSION-win64.zip
# (the programs, the licence, the README and the manual pages as text, all
# with CR LF line ends) and quillmark-VERSION-x64.msi (a per-machine
# install into Program Files\Quillmark with a Start-menu shortcut and
# quillmark-scan on the PATH). The zip is reproducible: its timestamps are
# SOURCE_DATE_EPOCH's, or the last commit's.
# Usage: package-windows.sh BUILD_DIR [OUT_DIR]
#   The programs are BUILD_DIR/app/quillmark.exe and
#   BUILD_DIR/cli/quillmark-scan.exe, unless QUILLMARK_EXE and
#   QUILLMARK_SCAN_EXE name others. OUT_DIR defaults to BUILD_DIR. The
#   version is CMakeLists.txt's, unless QUILLMARK_VERSION gives another.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 BUILD_DIR [OUT_DIR]" >&2
  exit 2
fi
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$1
out_dir=${2:-$build_dir}
app_exe=${QUILLMARK_EXE:-$build_dir/app/quillmark.exe}
scan_exe=${QUILLMARK_SCAN_EXE:-$build_dir/cli/quillmark-scan.exe}
die() { echo "package-windows.sh: $*" >&2; exit 1; }
for exe in "$app_exe" "$scan_exe"; do
  [ -f "$exe" ] || die "$exe not found (set QUILLMARK_EXE or QUILLMARK_SCAN_EXE to take another)"
done

# The tools, from Debian's packages.
"$source_dir/scripts/install-packages.sh" zip wixl msitools groff-base python3 >&2

version=${QUILLMARK_VERSION:-$(sed -n 's/^project(Quillmark VERSION \([0-9][0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")}
[ -n "$version" ] || die "no project(Quillmark VERSION ...) line in $source_dir/CMakeLists.txt"
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null || true)}
[ -n "$epoch" ] || die "set SOURCE_DATE_EPOCH: $source_dir is no git clone to take the last commit's date from"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
name=quillmark-$version-win64
stage=$work/$name
mkdir -p "$stage" "$out_dir"
out_dir=$(cd "$out_dir" && pwd)

# The programs, without their debugging information. Anything they load
# must come with Windows: the mingw runtime DLLs are linked in statically.
strip=$(command -v x86_64-w64-mingw32-strip || true)
for exe in "$app_exe" "$scan_exe"; do
  target=$stage/$(basename "$exe")
  if [ -n "$strip" ]; then
    "$strip" --strip-debug -o "$target" "$exe"
    # strip stamps the PE header with the time it ran; the build's stamp
    # goes back in, and the header checksum is made again to match, so
    # that the same programs make the same zip.
    python3 -c '
import struct, sys
built = open(sys.argv[1], "rb").read()
data = bytearray(open(sys.argv[2], "rb").read())
pe = struct.unpack_from("<I", data, 0x3C)[0]
data[pe + 8:pe + 12] = built[pe + 8:pe + 12] if built[0x3C:0x40] == data[0x3C:0x40] else b"\0" * 4
field = pe + 24 + 64
data[field:field + 4] = b"\0" * 4
padded = data + b"\0" * (len(data) % 2)
total = 0
for (word,) in struct.iter_unpack("<H", padded):
    total += word
    total = (total & 0xFFFF) + (total >> 16)
struct.pack_into("<I", data, field, ((total + (total >> 16)) & 0xFFFF) + len(data))
open(sys.argv[2], "wb").write(data)
' "$exe" "$target"
  else
    echo "package-windows.sh: x86_64-w64-mingw32-strip not found: $(basename "$exe") is packed as built" >&2
    cp "$exe" "$target"
  fi
  if command -v x86_64-w64-mingw32-objdump >/dev/null; then
    foreign=$(x86_64-w64-mingw32-objdump -p "$target" | sed -n 's/^\s*DLL Name: //p' |
              grep -iE '^(lib.*|zlib1?|wx.*)\.dll$' || true)
    [ -z "$foreign" ] || die "$(basename "$exe") needs ${foreign//$'\n'/ }, which Windows does not have: link it statically"
  fi
done

# Text for Notepad: UTF-8 with a byte-order mark (older Notepads guess the
# code page otherwise) and CR LF.
as_windows_text() {
  printf '\357\273\277'
  sed -e 's/\r$//' -e 's/$/\r/'
}
as_windows_text <"$source_dir/LICENSE" >"$stage/LICENSE.txt"
as_windows_text <"$source_dir/README.md" >"$stage/README.txt"
for page in quillmark quillmark-scan; do
  # -k reads the page's UTF-8; -P-cbou leaves plain characters, with no
  # escape sequences or overstrikes for bold and underlining; -rHY=0 keeps
  # words whole, for searching in an editor.
  if ! groff -k -man -rHY=0 -Tutf8 -P-cbou "$source_dir/man/$page.1" >"$work/$page.txt" 2>"$work/groff.log" ||
     [ -s "$work/groff.log" ]; then
    cat "$work/groff.log" >&2
    die "groff could not render man/$page.1"
  fi
  as_windows_text <"$work/$page.txt" >"$stage/$page.txt"
done

files=(quillmark.exe quillmark-scan.exe LICENSE.txt README.txt quillmark.txt quillmark-scan.txt)
chmod 0755 "$stage" "$stage/quillmark.exe" "$stage/quillmark-scan.exe"
chmod 0644 "$stage"/*.txt
touch -d "@$epoch" "$stage" "$stage"/*

zip_file=$out_dir/$name.zip
rm -f "$zip_file"
# zip stores local time: in UTC the same epoch makes the same bytes anywhere.
(cd "$work" && TZ=UTC zip -X -q "$zip_file" "$name/" "${files[@]/#/$name/}")
echo "$zip_file"

# The product code is derived from the upgrade code and the version: the
# same version always gets the same code, a new version a new one.
upgrade_code=$(sed -n 's/.*UpgradeCode="\([0-9a-fA-F-]*\)".*/\1/p' "$source_dir/packaging/windows/quillmark.wxs")
product_code=$(python3 -c 'import sys, uuid; print(str(uuid.uuid5(uuid.UUID(sys.argv[1]), sys.argv[2])).upper())' \
               "$upgrade_code" "$version")
cp "$source_dir/res/windows/quillmark.ico" "$stage/quillmark.ico"
msi_file=$out_dir/quillmark-$version-x64.msi
rm -f "$msi_file"
(cd "$stage" && wixl -a x64 -D Version="$version" -D ProductCode="$product_code" -D SourceDir=. \
   -D IconFile=quillmark.ico -o "$msi_file" "$source_dir/packaging/windows/quillmark.wxs" 2>"$work/wixl.log") ||
  { cat "$work/wixl.log" >&2; die "wixl failed"; }
# The PATH entry, which wixl cannot express, at the places of the standard
# sequence where Windows Installer takes environment strings out and in.
msibuild "$msi_file" -i "$source_dir/packaging/windows/Environment.idt" \
  -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`) VALUES ('RemoveEnvironmentStrings', 3300)" \
  -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`) VALUES ('WriteEnvironmentStrings', 5200)" ||
  die "msibuild could not add the PATH entry to $msi_file"
echo "$msi_file"
