#!/usr/bin/env bash
# Installs the Windows Installer package under wine, in a fresh prefix, as
# a user would with msiexec /qn: checks the programs, the Start-menu
# shortcut and the PATH entry, runs quillmark-scan --version through the
# PATH, then removes the package and checks that nothing of it is left.
# With NEWER_MSI, also installs that one over MSI and checks that it
# replaced it (one product registered, the newer version answering), then
# removes it. Prints how long each step took.
# Usage: msi_install_test.sh MSI [NEWER_MSI]
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 MSI [NEWER_MSI]" >&2
  exit 2
fi
for tool in wine:wine wineserver:wine msiinfo:msitools; do
  command -v "${tool%%:*}" >/dev/null || { echo "FAIL: ${tool%%:*} not found: install the Debian package ${tool#*:}" >&2; exit 1; }
done
msis=()
for msi in "$@"; do
  [ -f "$msi" ] || { echo "FAIL: $msi not found" >&2; exit 1; }
  msis+=("$(cd "$(dirname "$msi")" && pwd)/$(basename "$msi")")
done
set -- "${msis[@]}"

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all
# No Mono or Gecko download prompts, and no desktop entries written into
# the host's menus for the shortcut.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
# cmd looks in its current folder before the PATH: this one holds no program.
cd "$work"

status=0
fail() { echo "FAIL: $*" >&2; status=1; }
started=$(date +%s.%N)
step() {  # step NAME: prints the time since the last step
  local now
  now=$(date +%s.%N)
  awk -v name="$1" -v now="$now" -v then="$started" 'BEGIN { printf "%-20s %6.1f s\n", name, now - then }'
  started=$now
}
property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v key="$2" '$1 == key { print $2 }'; }

folder="$WINEPREFIX/drive_c/Program Files/Quillmark"
env_key='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
system_path() { wine reg query "$env_key" /v PATH 2>/dev/null | tr -d '\r' | sed -n 's/^ *PATH *REG_[A-Z_]* *//p'; }
registered() { wine reg query "$uninstall_key\\$1" >/dev/null 2>&1; }
shortcuts() {
  # Windows puts a per-machine shortcut into ProgramData's Start Menu; wine
  # 8 puts it into the user's (its msi does not honour ALLUSERS there).
  find "$WINEPREFIX/drive_c/ProgramData" "$WINEPREFIX/drive_c/users" -ipath '*/Start Menu/Programs/Quillmark.lnk' 2>/dev/null
}
install() {  # install MSI: runs msiexec /i and checks what it left
  local msi=$1 version code
  version=$(property "$msi" ProductVersion)
  code=$(property "$msi" ProductCode)
  wine msiexec /i "$(winepath -w "$msi")" /qn >/dev/null 2>&1 || fail "msiexec /i $(basename "$msi") exited $?"
  step "install $version"
  for file in quillmark.exe quillmark-scan.exe LICENSE.txt README.txt quillmark.txt quillmark-scan.txt; do
    [ -f "$folder/$file" ] || fail "C:\\Program Files\\Quillmark\\$file is missing after the install"
  done
  local shortcut
  shortcut=$(shortcuts | head -n 1)
  if [ -z "$shortcut" ]; then
    fail "no Start-menu shortcut Quillmark.lnk after the install"
  else
    grep -qaF 'C:\Program Files\Quillmark\quillmark.exe' "$shortcut" || fail "Quillmark.lnk does not lead to quillmark.exe"
  fi
  registered "$code" || fail "$code is not registered under $uninstall_key"
  case ";$(system_path);" in
    *';C:\Program Files\Quillmark\;'* | *';C:\Program Files\Quillmark;'*) ;;
    *) fail "the system PATH lacks C:\\Program Files\\Quillmark: $(system_path)" ;;
  esac
  # A new cmd takes its environment from the registry, PATH included.
  local answer
  answer=$(wine cmd /c quillmark-scan --version 2>&1 | tr -d '\r') || true
  if [ "$answer" != "quillmark-scan $version" ]; then
    if [[ ";$(system_path);" == *';;'* ]]; then
      # wine's cmd ends its search at an empty PATH element, which wine's
      # msi leaves where it took an entry out; Windows skips it.
      echo "NOTE: the PATH has an empty element, where wine's cmd stops searching: running quillmark-scan by its full path"
    else
      fail "quillmark-scan --version through the PATH answered '$answer', not 'quillmark-scan $version'"
    fi
    answer=$(wine "$folder/quillmark-scan.exe" --version 2>&1 | tr -d '\r') || true
    [ "$answer" = "quillmark-scan $version" ] ||
      fail "quillmark-scan.exe --version by its full path answered '$answer', not 'quillmark-scan $version'"
  fi
  step "check $version"
}
uninstall() {  # uninstall MSI: runs msiexec /x and checks that all is gone
  local msi=$1 version code
  version=$(property "$msi" ProductVersion)
  code=$(property "$msi" ProductCode)
  wine msiexec /x "$(winepath -w "$msi")" /qn >/dev/null 2>&1 || fail "msiexec /x $(basename "$msi") exited $?"
  step "uninstall $version"
  [ ! -e "$folder" ] || fail "C:\\Program Files\\Quillmark is left after the removal: $(ls "$folder" | tr '\n' ' ')"
  [ -z "$(shortcuts)" ] || fail "the shortcut is left after the removal: $(shortcuts)"
  [[ $(system_path) != *Quillmark* ]] || fail "the system PATH still names Quillmark: $(system_path)"
  [ "$(system_path)" = "$path_before" ] ||
    echo "NOTE: the system PATH went from '$path_before' to '$(system_path)' (wine's msi leaves the separator)"
  ! registered "$code" || fail "$code is still registered after the removal"
}

wineboot -i >/dev/null 2>&1 || true
step "wineboot"
path_before=$(system_path)
[ -n "$path_before" ] || { echo "FAIL: the wine prefix has no system PATH to extend" >&2; exit 1; }
install "$1"
if [ $# -eq 2 ]; then
  old_code=$(property "$1" ProductCode)
  [ "$old_code" != "$(property "$2" ProductCode)" ] || fail "both packages have the product code $old_code"
  install "$2"
  ! registered "$old_code" || fail "the newer package left the older product $old_code registered"
  count=$(system_path | tr ';' '\n' | grep -c Quillmark || true)
  [ "$count" -eq 1 ] || fail "the system PATH names Quillmark $count times after the upgrade: $(system_path)"
  uninstall "$2"
else
  uninstall "$1"
fi
[ $status -eq 0 ] && echo "PASS: $(basename "$1")${2:+ upgraded by $(basename "$2")} installed and removed"
exit $status
