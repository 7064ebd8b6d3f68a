#!/usr/bin/env bash
# Builds everything and runs every test: the Linux suites (each test case a
# fresh game start), the simulator's scenarios, the Windows build with its PE
# check and the end-to-end run under Wine, then the whole suite once more
# under the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

echo "== Linux debug build and tests"
cmake --preset debug
cmake --build --preset debug -j "$jobs"
ctest --preset debug -j "$jobs"

if [ -x tools/windows-test.sh ]; then
  echo "== Windows build, PE check and Wine run"
  tools/windows-test.sh
fi

echo "== Sanitizers (address, undefined behaviour)"
cmake --preset sanitize
cmake --build --preset sanitize -j "$jobs"
ctest --preset sanitize -j "$jobs"
