#!/usr/bin/env bash
# The Windows side: cross-builds Tavrossimer.asi with MinGW-w64 (preset
# "windows", in build/windows), checks its PE image (machine, no exports, the
# exact imports), plays the end-to-end scenarios under Wine against the
# stand-in ScriptHookRDR2.dll, and packs the release zip
# (build/windows/Tavrossimer-<version>-win64.zip).
# Needs g++-mingw-w64-x86-64-posix, binutils-mingw-w64-x86-64, wine and wine64
# (tools/setup.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."

step() {
  echo "-- $1"
  SECONDS=0
}
took() { echo "   ($SECONDS s)"; }

step "configure and build (MinGW-w64)"
cmake --preset windows
cmake --build --preset windows
took

step "PE check of Tavrossimer.asi"
tools/check_pe.sh build/windows/Tavrossimer.asi
took

step "end-to-end under Wine"
tests/wine/run_wine_test.sh build/windows
took

step "release package"
cmake --build --preset windows --target package
took
