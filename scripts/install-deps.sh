#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing Quillmark need,
# skipping the step when they are all present already.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  googletest libgtest-dev libgmock-dev
  clang libclang-rt-14-dev
  libwxgtk3.2-dev
  xvfb xauth fonts-ipafont-gothic
  gettext nodejs libicu72 python3 vim man-db groff-base
  desktop-file-utils appstream
)
# gettext, python3 and vim read the reports back in the tests, man reads
# the manual pages, desktop-file-utils and appstream check the desktop
# entry and its metainfo, and npm installs the SARIF validator (a .NET program,
# which loads ICU): Debian's npm, unless another Node.js build brought its
# own npm (which would conflict with Debian's).
command -v npm >/dev/null || packages+=(npm)

exec "$(dirname "$0")/install-packages.sh" "${packages[@]}"
