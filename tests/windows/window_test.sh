#!/usr/bin/env bash
# quillmark.exe under wine on a virtual display: the window comes up with
# its title, and closing it saves FinderRootPath to quillmark.ini in the
# current folder. Needs Xvfb (xvfb-run) and xwininfo/xdotool.
# Usage: window_test.sh QUILLMARK_EXE
set -euo pipefail
exe="$(realpath "$1")"
export WINEDEBUG=-all
work="$(mktemp -d)"
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
# A wine server left by programs run without a display keeps its desktop
# off screen: the window must start a session of its own.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
wine "$exe" &
pid=$!
title="Quillmark - 日本語文字列検索 for C/C++"
for _ in $(seq 1 240); do
  for candidate in $(xdotool search --classname 'quillmark.exe' 2>/dev/null || true); do
    [ "$(xdotool getwindowname "$candidate" 2>/dev/null)" = "$title" ] && window="$candidate"
  done
  [ -n "${window:-}" ] && break
  sleep 0.5
done
[ -n "${window:-}" ] || { echo "window_test.sh: no window titled \"$title\""; exit 1; }
# Closed as a user closes it: the program saves its settings and ends.
# The keys are sent again while it runs: a window just mapped may not
# take the focus at once.
for attempt in $(seq 1 60); do
  kill -0 "$pid" 2>/dev/null || break
  if [ $((attempt % 10)) -eq 1 ]; then
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    xdotool key alt+F4 2>/dev/null || true
  fi
  sleep 0.5
done
if kill -0 "$pid" 2>/dev/null; then echo "window_test.sh: the program did not end when closed"; exit 1; fi
grep -q '^FinderRootPath=' quillmark.ini || { echo "window_test.sh: quillmark.ini holds no FinderRootPath"; cat quillmark.ini 2>/dev/null; exit 1; }
echo "window_test.sh: the window opened, closed and saved its settings"
