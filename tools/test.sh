#!/usr/bin/env bash
# Builds everything and runs every test:
#   0. the plug-in's folders include downward only, and the C++ is formatted;
#   1. the Linux debug build: every GoogleTest case in its own process (each a
#      fresh game start), the fuzz inputs replayed, the short soak, the save
#      file's kill test, the simulator's scenarios and its tmux-driven session;
#   2. the 200,000-frame soak;
#   3. the Windows build: Tavrossimer.asi, its PE check, the end-to-end run
#      under Wine, the save file's kill test under Wine, the release zip;
#   4. bounded fuzzing of the three file readers (and of whole game starts and
#      play) under the address and undefined-behaviour sanitizers;
#   5. the whole suite once more under those sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

echo "== 0. Layers and formatting"
tools/check_layers.sh
find src standin sim tests bench fuzz checker \( -name '*.cpp' -o -name '*.h' \) -print0 |
  xargs -0 clang-format --dry-run -Werror
echo "clang-format: every file formatted"

echo "== 1. Linux debug build and tests"
cmake --preset debug
cmake --build --preset debug -j "$jobs"
ctest --preset debug -j "$jobs"

echo "== 2. Long soak"
ctest --test-dir build/debug -L soak --output-on-failure

echo "== 3. Windows: build, PE check, Wine end-to-end and kill test, package"
tools/windows-test.sh
tools/wine-kill-test.sh 40

echo "== 4. Fuzzing (${FUZZ_SECONDS:-60} s per target)"
tools/fuzz.sh "${FUZZ_SECONDS:-60}"

echo "== 5. Sanitizers (address, undefined behaviour)"
cmake --preset sanitize
cmake --build --preset sanitize -j "$jobs"
ctest --preset sanitize -j "$jobs"
