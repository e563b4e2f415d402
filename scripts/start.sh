#!/usr/bin/env bash
# Installs what is missing, builds Quillmark and runs it on the examples.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

echo "== Shift_JIS examples"
build/cli/quillmark-scan examples/sjis || true
echo "== EUC-JP examples"
build/cli/quillmark-scan --encoding EUC examples/euc || true
