#!/usr/bin/env bash
# Builds a static wxMSW for x86_64-w64-mingw32 from Debian's wxWidgets
# source package, once, into a cache outside the clone keyed by the source
# version, the configure options and the compiler. Prints the wx-config to
# use on its last line.
set -euo pipefail

cache_root="${QUILLMARK_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/quillmark}"
host=x86_64-w64-mingw32
options=(--host=$host --disable-shared --with-msw --with-zlib=sys
  --without-libpng --without-libjpeg --without-libtiff --without-expat --without-regex
  --without-liblzma --without-opengl --disable-svg --without-libcurl
  --disable-xrc --disable-html --disable-webview --disable-mediactrl --disable-stc
  --disable-richtext --disable-propgrid --disable-ribbon --disable-aui --disable-webrequest
  --disable-debugreport --disable-sound --disable-precomp-headers)

version="$(apt-cache showsrc wxwidgets3.2 | sed -n 's/^Version: //p' | sort -V | tail -n 1)"
[ -n "$version" ] || { echo "build-wxmsw.sh: no wxwidgets3.2 source package is known to apt" >&2; exit 1; }
compiler="$($host-g++-posix -dumpfullversion)"
key="$(printf '%s\n' "$version" "$compiler" "${options[@]}" | sha256sum | cut -c1-12)"
prefix="$cache_root/wxmsw-${version//[^A-Za-z0-9.]/_}-$key"

if [ ! -x "$prefix/bin/wx-config" ]; then
  echo "Building wxMSW $version into $prefix (15 to 30 minutes on 2 cores, once)" >&2
  started=$SECONDS
  work="$(mktemp -d "${TMPDIR:-/tmp}/wxmsw.XXXXXX")"
  trap 'rm -rf "$work"' EXIT
  (cd "$work" && apt-get source -qq "wxwidgets3.2=$version" >/dev/null 2>&1)
  source_dir="$(find "$work" -maxdepth 1 -type d -name 'wxwidgets3.2-*' | head -n 1)"
  mkdir -p "$work/build" "$cache_root"
  (cd "$work/build" &&
    CXX=$host-g++-posix CC=$host-gcc-posix "$source_dir/configure" --prefix="$prefix" "${options[@]}" >configure.log 2>&1 ||
      { tail -n 40 configure.log >&2; exit 1; }
    make -j"$(nproc)" >make.log 2>&1 || { tail -n 40 make.log >&2; exit 1; }
    make install DESTDIR="$work/stage" >/dev/null)
  # Staged, then moved in whole: an interrupted build leaves no cache that
  # looks complete. wx-config names the final prefix already.
  mv "$work/stage$prefix" "$prefix"
  # The install links wx-config to its configuration through the staging
  # folder; point it at the final one.
  ln -sfn "$(find "$prefix/lib/wx/config" -type f | head -n 1)" "$prefix/bin/wx-config"
  echo "wxMSW built in $((SECONDS - started)) s" >&2
fi
echo "$prefix/bin/wx-config"
