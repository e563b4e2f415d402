#!/usr/bin/env bash
# Installs what is missing, builds with warnings and runs the whole suite,
# then builds and runs it again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then runs each fuzz harness briefly. GUI
# suites need a display: Xvfb gives one.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs="$(nproc)"
passed=0

run_suite() {
  local dir="$1"
  shift
  cmake -S . -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  # -noreset: Xvfb otherwise resets whenever its last client leaves, and a
  # test starting at that moment cannot open the display.
  (cd "$dir" && xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure -j"$jobs" | tee ctest.log)
  passed=$((passed + $(sed -nE 's/.* tests failed out of ([0-9]+)$/\1/p' "$dir/ctest.log" | tail -n 1)))
}

echo "== Build with -Wall -Wextra and test"
run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "== Benchmark smoke run"
build/bench/quillmark-bench-engine --mb 2 >/dev/null

echo "== Build with AddressSanitizer and UndefinedBehaviorSanitizer and test"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build-sanitize -DCMAKE_BUILD_TYPE=Debug -DQUILLMARK_SANITIZE=ON -DQUILLMARK_BUILD_BENCH=OFF

echo "== Fuzz each harness briefly (clang, libFuzzer)"
tests/fuzz/run.sh 12

echo "test.sh: $passed passed, 0 failed"
