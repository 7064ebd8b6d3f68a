#!/usr/bin/env bash
# Builds the simulator and starts it in its working folder
# (./tavrossimer-sim-work, where Tavrossimer.ini, the save file and the custom
# list live). The folder is kept from run to run: your edited settings, the
# save and the custom list stay; `tools/sim.sh --fresh` starts from the
# documented defaults instead. In a terminal it is interactive; without one it
# runs the demo scenario and prints its transcript. Extra arguments go to
# tavrossimer-sim (see sim/README.md: --fresh, --script FILE, --png FILE, ...).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/sim -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVROSSIMER_TESTS=OFF >/dev/null
cmake --build build/sim --target tavrossimer-sim
exec build/sim/sim/tavrossimer-sim "$@"
