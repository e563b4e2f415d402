#!/usr/bin/env bash
# The Windows build's checks, run from the Linux side: the cross-built
# suites under wine through ctest (but the cases of wine_skips.txt), the
# CLI's outputs against the Linux build's, and the window under Xvfb.
# Usage: run_under_wine.sh WINDOWS_BUILD_DIR LINUX_BUILD_DIR SOURCE_DIR
set -euo pipefail
windows_build="$(realpath "$1")"
linux_build="$(realpath "$2")"
source_dir="$(realpath "$3")"
export WINEDEBUG=-all
export WINEPREFIX="$windows_build/wine-prefix"
started=$SECONDS
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1 || true
echo "wine prefix ready in $((SECONDS - started)) s"

skips="$(grep -v '^#' "$source_dir/tests/windows/wine_skips.txt" | sed '/^$/d' | sed 's/\./\\./g' | paste -sd'|')"
(cd "$windows_build" && ctest --output-on-failure -j"$(nproc)" -E "^(${skips})\$" | tee ctest.log)
"$source_dir/tests/windows/cli_parity_test.sh" "$linux_build/cli/quillmark-scan" \
  "$windows_build/cli/quillmark-scan.exe" "$source_dir"
# The window's suite on a display and a wine session of its own.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
(cd "$windows_build" && xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" wine tests/app/app_tests.exe \
  --gtest_brief=1 "--gtest_filter=-$(grep -v '^#' "$source_dir/tests/windows/wine_skips.txt" | sed '/^$/d' | paste -sd:)" | tr -d '\r' | tee app_tests.log)
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$source_dir/tests/windows/window_test.sh" \
  "$windows_build/app/quillmark.exe"
