#!/usr/bin/env bash
# Installs what is missing, builds with warnings and runs the whole suite,
# then builds and runs it again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then runs each fuzz harness briefly. GUI
# suites need a display: Xvfb gives one.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/install-windows-deps.sh
jobs="$(nproc)"
passed=0
stage_started=$SECONDS

# Names the next stage and says how long the last one took.
stage() {
  [ "$stage_started" -lt "$SECONDS" ] && echo "(took $((SECONDS - stage_started)) s)"
  stage_started=$SECONDS
  echo "== $1"
}

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

stage "Build with -Wall -Wextra and test"
run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo
stage "Benchmark smoke run"
build/bench/quillmark-bench-engine --mb 2 >/dev/null

stage "Build with AddressSanitizer and UndefinedBehaviorSanitizer and test"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build-sanitize -DCMAKE_BUILD_TYPE=Debug -DQUILLMARK_SANITIZE=ON -DQUILLMARK_BUILD_BENCH=OFF

stage "Build the engine and quillmark-scan with ThreadSanitizer and test them"
# Scans on several threads: the engine's and quillmark-scan's suites walk
# at one, two and eight threads. The other suites run no thread of ours.
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMARK_TSAN=ON -DQUILLMARK_BUILD_APP=OFF \
  -DQUILLMARK_BUILD_BENCH=OFF >/dev/null
cmake --build build-tsan -j"$jobs" --target engine_tests cli_tests quillmark-scan
for suite in build-tsan/tests/engine/engine_tests build-tsan/tests/cli/cli_tests; do
  TSAN_OPTIONS=halt_on_error=1 "$suite" --gtest_brief=1 | tee build-tsan/suite.log
  passed=$((passed + $(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\.$/\1/p' build-tsan/suite.log)))
done

stage "Cross-build for Windows (wxMSW built once into a cache) and test under wine"
scripts/build-windows.sh build-windows
stage "Windows tests under wine"
tests/windows/run_under_wine.sh build-windows build . | tee build-windows/wine.log
passed=$((passed + $(sed -nE 's/.* tests failed out of ([0-9]+)$/\1/p' build-windows/ctest.log | tail -n 1)))
passed=$((passed + $(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\.$/\1/p' build-windows/app_tests.log)))

stage "Fuzz each harness briefly (clang, libFuzzer)"
tests/fuzz/run.sh 12

stage "done"
echo "test.sh: $passed passed, 0 failed in $SECONDS s"
