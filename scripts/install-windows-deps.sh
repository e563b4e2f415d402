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

# The wxWidgets source package needs a source index of the suite in use.
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  suite="$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")"
  printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "$suite" | $sudo tee /etc/apt/sources.list.d/quillmark-src.sources >/dev/null
  $sudo apt-get update -qq
fi
exec "$(dirname "$0")/install-packages.sh" "${packages[@]}"
