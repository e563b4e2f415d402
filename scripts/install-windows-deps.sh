#!/usr/bin/env bash
# Installs what the Windows build needs on Debian 12: the mingw-w64 cross
# compiler with POSIX threads, wine to run its programs and tests, zlib for
# wxMSW, wixl for the MSI, and the wxWidgets source package (through a
# deb-src line for the suite the machine already uses).
set -euo pipefail

packages=(g++-mingw-w64-x86-64-posix wine wine64 libz-mingw-w64-dev msitools wixl dpkg-dev
          cmake make xvfb xauth xdotool fonts-ipafont-gothic zip unzip groff-base man-db python3 icoutils)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done

sources=/etc/apt/sources.list.d/quillmark-src.sources
need_update=0
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  suite="$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")"
  printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "$suite" | $sudo tee "$sources" >/dev/null
  need_update=1
fi
[ ${#missing[@]} -eq 0 ] && [ $need_update -eq 0 ] && exit 0

echo "Installing: ${missing[*]:-(source index only)}"
$sudo apt-get update -qq
[ ${#missing[@]} -eq 0 ] || DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
