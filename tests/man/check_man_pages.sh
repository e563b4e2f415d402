#!/bin/sh
# check_man_pages.sh VERSION PAGE...
# Formats each page with man-db and groff as `man` would show it and fails
# on any text groff writes to standard error (warnings, errors), on a
# non-zero status, or when the page's .TH line does not name Quillmark
# VERSION.
set -u

if [ $# -lt 2 ]; then
  echo "usage: check_man_pages.sh VERSION PAGE..." >&2
  exit 2
fi
version=$1
shift

if ! command -v man >/dev/null 2>&1 || ! command -v groff >/dev/null 2>&1; then
  echo "man or groff not found: install the Debian packages man-db and groff-base" >&2
  exit 1
fi

status=0
for page in "$@"; do
  # A UTF-8 locale, as the pages hold Japanese text; the user's man
  # options are left out.
  messages=$(env -u MANOPT LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  result=$?
  if [ $result -ne 0 ]; then
    echo "$page: man exited with status $result" >&2
    status=1
  fi
  if [ -n "$messages" ]; then
    echo "$page: groff reported:" >&2
    printf '%s\n' "$messages" >&2
    status=1
  fi
  if ! grep -q "^\.TH .*\"Quillmark $version\"" "$page"; then
    echo "$page: the .TH line does not name \"Quillmark $version\"" >&2
    status=1
  fi
done
exit $status
