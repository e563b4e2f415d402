#!/usr/bin/env bash
# Builds the Debian package with CPack into a scratch folder and checks its
# control fields and that it carries every installed piece.
# Usage: check_deb.sh BUILD_DIR VERSION
set -u
build=$1
version=$2
for tool in dpkg-deb:dpkg dpkg-shlibdeps:dpkg-dev cpack:cmake; do
  if ! command -v "${tool%%:*}" >/dev/null; then
    echo "FAIL: ${tool%%:*} not found: install the Debian package ${tool#*:}" >&2
    exit 1
  fi
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
  cat "$out/cpack.log" >&2
  echo "FAIL: cpack -G DEB" >&2
  exit 1
fi
arch=$(dpkg --print-architecture)
deb=$out/quillmark_${version}_${arch}.deb
[ -f "$deb" ] || { echo "FAIL: no $(basename "$deb"); got: $(ls "$out")" >&2; exit 1; }

status=0
fail() { echo "FAIL: $*" >&2; status=1; }
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = quillmark ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)'"
depends=$(field Depends)
[[ $depends == *"fonts-ipafont-gothic | fonts-noto-cjk"* ]] || fail "Depends lacks the CJK fonts: $depends"
[[ $depends == *libwxgtk3.2* ]] || fail "Depends lacks the wxWidgets library (dpkg-shlibdeps): $depends"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"

contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}')
for path in ./usr/bin/quillmark ./usr/bin/quillmark-scan \
            ./usr/share/applications/io.github.quillmark.Quillmark.desktop \
            ./usr/share/metainfo/io.github.quillmark.Quillmark.metainfo.xml \
            ./usr/share/icons/hicolor/scalable/apps/quillmark.svg \
            ./usr/share/icons/hicolor/256x256/apps/quillmark.png \
            ./usr/share/bash-completion/completions/quillmark-scan \
            ./usr/share/man/man1/quillmark.1.gz ./usr/share/man/man1/quillmark-scan.1.gz \
            ./usr/share/doc/quillmark/copyright ./usr/share/doc/quillmark/changelog.gz; do
  grep -qxF "$path" <<<"$contents" || fail "the package lacks $path"
done
exit $status
