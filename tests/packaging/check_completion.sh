#!/usr/bin/env bash
# Drives the bash completion of quillmark-scan as bash does on <TAB>.
# Usage: check_completion.sh COMPLETION_SCRIPT
set -u
# shellcheck source=/dev/null
source "$1" || { echo "FAIL: cannot source $1" >&2; exit 1; }
status=0

# expect "WANTED REPLIES" WORD...: completes the last WORD of the line.
expect() {
  local wanted=$1
  shift
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMP_LINE="$*"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _quillmark_scan quillmark-scan "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  local got
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
  local sorted
  sorted=$(printf '%s\n' $wanted | sort | tr '\n' ' ')
  if [ "$got" != "$sorted" ]; then
    echo "FAIL: [$*<TAB>] gave '$got', wanted '$sorted'" >&2
    status=1
  fi
}

expect "grep raw log json csv sarif po" quillmark-scan --format ""
expect "SJIS EUC UTF8 AUTO" quillmark-scan --encoding ""
expect "SJIS EUC UTF8 AUTO" quillmark-scan -q -e ""
expect "UTF8" quillmark-scan --encoding U
expect "sarif" quillmark-scan src --format s
expect "auto always never" quillmark-scan --color ""
expect "line c" quillmark-scan --lexer ""
expect "--lexer=c" quillmark-scan --lexer=c
# "--format=" split at "=" by COMP_WORDBREAKS, and kept whole.
expect "json" quillmark-scan --format = j
expect "--format=csv" quillmark-scan --format=c
expect "--encoding --ext --exclude" quillmark-scan --e
expect "--quiet" quillmark-scan --q
expect "" quillmark-scan --ext ""
expect "" quillmark-scan -j ""
expect "--threads" quillmark-scan --t

# ROOT: folders and files.
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/src tree" "$dir/sub"
touch "$dir/solo.c"
COMP_WORDS=(quillmark-scan --format json "$dir/s"); COMP_CWORD=3; COMPREPLY=()
_quillmark_scan quillmark-scan "$dir/s" json
got=$(printf '%s|' "${COMPREPLY[@]}" | tr '|' '\n' | sort | tr '\n' '|')
if [ "$got" != "$dir/solo.c|$dir/src tree|$dir/sub|" ]; then
  echo "FAIL: ROOT completion gave '$got'" >&2
  status=1
fi
# After "--" a word starting with "-" is a ROOT, not an option.
expect "" quillmark-scan -- --f

exit $status
