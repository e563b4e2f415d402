#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang in build-fuzz/ and runs each for
# SECONDS_EACH seconds (default 12) on a copy of its seed corpus. Fails on
# any crash, sanitizer report or broken property.
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds="${1:-12}"
build=build-fuzz
# name:max_len. The scanner's inputs are whole files; a profile input holds
# a starting file besides the names and the value.
harnesses=(scan_line:4096 c_lexer:4096 to_shift_jis:512 private_profile:2048 editor_command:512 file_ext:256 encoding_detection:4096)

targets=()
for entry in "${harnesses[@]}"; do targets+=("${entry%%:*}_fuzzer"); done

cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMARK_FUZZ=ON \
  -DQUILLMARK_BUILD_TESTS=OFF -DQUILLMARK_BUILD_BENCH=OFF -DQUILLMARK_BUILD_APP=OFF >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}"

# Corpus copies and the files the harnesses write live in memory where
# possible, and go away even when a harness crashes.
work="$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)"
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work"
crashes="$PWD/$build/crashes"
for entry in "${harnesses[@]}"; do
  name="${entry%%:*}"
  max_len="${entry##*:}"
  mkdir "$work/$name"
  cp tests/fuzz/corpus/"$name"/* "$work/$name"/
  echo "== fuzz $name for ${seconds}s"
  log="$work/$name.log"
  if ! "$build/tests/fuzz/${name}_fuzzer" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/$name-" "$work/$name" >"$log" 2>&1; then
    tail -n 60 "$log"
    mkdir -p "$crashes"
    cp "$work/$name"-* "$crashes"/ 2>/dev/null || true
    echo "fuzz $name failed; the input is kept in $crashes (run the harness on it to reproduce)"
    exit 1
  fi
  grep -E '^stat::(number_of_executed_units|new_units_added)' "$log"
done
