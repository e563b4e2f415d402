#!/usr/bin/env bash
# quillmark-scan.exe under wine against the Linux build: every --format in
# every encoding, on examples/ and on a generated tree of every encoding
# (with a file name outside CP932), must give the same standard output,
# standard error and exit status once "\" is read as "/" and the absolute
# root is taken as the same folder.
# Usage: cli_parity_test.sh LINUX_QUILLMARK_SCAN WINDOWS_QUILLMARK_SCAN_EXE SOURCE_DIR
set -euo pipefail
linux="$1"
windows="$2"
source_dir="$3"
export WINEDEBUG=-all
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

python3 - "$work/generated" <<'PY'
import os, sys
root = sys.argv[1]
texts = ["日本語の文字列", "ｶﾀｶﾅ", "表示する", "予定"]
for enc, folder in (("cp932", "sjis"), ("euc_jp", "euc"), ("utf-8", "utf8")):
    os.makedirs(os.path.join(root, folder, "sub"), exist_ok=True)
    for i, text in enumerate(texts):
        body = (f'/* {text} */\n// {text}\nconst char* s{i} = "{text}";\n'
                f'char c = \'{text[0]}\'; const char* t = "ascii";\nputs("{text}" "{text[::-1]}");\r\n')
        with open(os.path.join(root, folder, "sub" if i % 2 else "", f"f{i}.c"), "wb") as f:
            f.write(body.encode(enc))
with open(os.path.join(root, "utf8", "한국어.c"), "wb") as f:
    f.write('const char* k = "한국어 と 日本語";\n'.encode("utf-8"))
PY

# What differs by the system alone: the separator, and where the tree is.
normalize() {
  sed -e 's|\\\\|/|g' -e 's|\\|/|g' -e 's|file:///[A-Z]:/|file:///|g' -e 's|[A-Z]:/|/|g' \
      -e 's|"elapsed_seconds":[0-9.e-]*|"elapsed_seconds":0|' -e 's|^[0-9.]* seconds$|N seconds|' "$1"
}

failed=0
runs=0
for tree in "$source_dir/examples" "$work/generated"; do
  for format in grep log raw json csv sarif po; do
    for encoding in SJIS EUC UTF8 AUTO; do
      (cd "$tree" && set +e
       "$linux" -e "$encoding" --format "$format" --stats . >"$work/l.out" 2>"$work/l.err"; echo "$?" >"$work/l.rc"
       wine "$windows" -e "$encoding" --format "$format" --stats . >"$work/w.out" 2>"$work/w.err"; echo "$?" >"$work/w.rc")
      runs=$((runs + 1))
      for part in out err rc; do
        if ! cmp -s <(normalize "$work/l.$part") <(normalize "$work/w.$part"); then
          echo "differs: $(basename "$tree") --format $format -e $encoding ($part)"
          diff <(normalize "$work/l.$part") <(normalize "$work/w.$part") | head -n 6 | cut -c1-300 || true
          failed=$((failed + 1))
        fi
      done
    done
  done
done
echo "cli_parity_test.sh: $runs runs, $failed differences"
[ "$failed" -eq 0 ]
