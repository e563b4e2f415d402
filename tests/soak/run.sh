#!/usr/bin/env bash
# Long runs too slow for every CI build, each checked the way the suite's
# shorter versions are (ExecuteProgramLongRunBig, SearchLongRunBig):
#   1. 10,000 editor starts of a program that ends at once: no child, no
#      reaper thread and no descriptor left behind;
#   2. 5,000 searches in the real window: memory and descriptors flat;
#   3. 200 searches in the real window under Valgrind: no definite leak and
#      no memory error (tests/soak/valgrind.supp holds the GUI libraries'
#      one-time allocations).
# Builds app_tests and platform_tests without sanitizers in BUILD_DIR
# (default build-soak). Takes a few minutes; prints each step's time.
set -euo pipefail
cd "$(dirname "$0")/../.."

build="${BUILD_DIR:-build-soak}"
starts="${SOAK_STARTS:-10000}"
searches="${SOAK_SEARCHES:-5000}"
valgrind_searches="${SOAK_VALGRIND_SEARCHES:-200}"
xvfb=(xvfb-run -a -s "-screen 0 1280x1024x24 -noreset")

command -v valgrind >/dev/null || { echo "valgrind is needed: apt-get install valgrind" >&2; exit 1; }
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMARK_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target platform_tests app_tests

step() {
  local name="$1"
  shift
  echo "== $name"
  local start=$SECONDS
  "$@"
  echo "== $name: passed in $((SECONDS - start)) s"
}

step "$starts editor starts" env QUILLMARK_SOAK_STARTS="$starts" \
  "$build/tests/platform/platform_tests" --gtest_filter='ExecuteProgramLongRunBig.*'

step "$searches searches" env QUILLMARK_SOAK_SEARCHES="$searches" \
  "${xvfb[@]}" "$build/tests/app/app_tests" --gtest_filter='SearchLongRunBig.*'

# G_SLICE/G_DEBUG make GLib allocate with plain malloc and clear what it
# frees, so that Valgrind sees every block.
step "$valgrind_searches searches under Valgrind" env QUILLMARK_SOAK_SEARCHES="$valgrind_searches" \
  G_SLICE=always-malloc G_DEBUG=gc-friendly \
  "${xvfb[@]}" valgrind --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite \
  --error-exitcode=99 --child-silent-after-fork=yes \
  --suppressions=tests/soak/valgrind.supp --num-callers=40 \
  "$build/tests/app/app_tests" --gtest_filter='SearchLongRunBig.*'
