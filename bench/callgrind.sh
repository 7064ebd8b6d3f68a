#!/usr/bin/env bash
# Instructions per frame, counted by valgrind's callgrind: a figure that does not
# move with the machine's load. For each state, the plug-in's frames and the
# replay of their recorded game calls (the floor) are counted in separate runs,
# each only inside its measured function. Columns: instructions per frame of
# the plug-in's frames and of the replay, their ratio, game calls per frame, and
# the plug-in's frames split into the host's share (the three host functions
# with the lean world's answers) and the plug-in's own.
#
#   bench/callgrind.sh [build-dir] [state...]
#
# build-dir defaults to build/release (the "release" preset); the states default
# to seven_following and main_page_seven. Needs valgrind.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/release}
shift || true
states=("$@")
[ ${#states[@]} -gt 0 ] || states=(seven_following main_page_seven)
windows=${WINDOWS:-2}

driver="$build/bench/tavrossimer_callgrind_frames"
if [ ! -x "$driver" ]; then
  echo "no $driver: build it first, e.g." >&2
  echo "  cmake --preset release && cmake --build --preset release --target tavrossimer_callgrind_frames" >&2
  exit 1
fi
command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 1; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# Prints "<instructions> <host instructions> <frames> <calls>" for one state and
# mode; the host's share is what nativeInit, nativePush64 and nativeCall took,
# the world's answers included.
count() {
  local state=$1 mode=$2 file="$out/$1.$2.out"
  local result
  result=$(valgrind --tool=callgrind --callgrind-out-file="$file" \
             --toggle-collect="tavrossimer_${mode}_frames" \
             "$driver" "$state" "$mode" "$windows" 2>/dev/null)
  local frames=${result#*frames=}; frames=${frames%% *}
  local calls=${result#*calls=}; calls=${calls%% *}
  local ir host
  ir=$(awk '/^(summary|totals):/ {print $2; exit}' "$file")
  host=$(callgrind_annotate --inclusive=yes "$file" 2>/dev/null |
         awk '/:native(Init|Push64|Call)\(/ { gsub(",", "", $1); sum += $1 } END { print sum + 0 }')
  echo "$ir $host $frames $calls"
}

printf '%-22s %12s %12s %7s %10s %12s %10s\n' state "plug-in Ir/f" "replay Ir/f" ratio "calls/f" \
  "host Ir/f" "own Ir/f"
for state in "${states[@]}"; do
  read -r p_ir p_host frames calls < <(count "$state" plugin)
  read -r r_ir _ _ _ < <(count "$state" replay)
  awk -v s="$state" -v p="$p_ir" -v h="$p_host" -v r="$r_ir" -v f="$frames" -v c="$calls" 'BEGIN {
    printf "%-22s %12.0f %12.0f %7.2f %10.2f %12.0f %10.0f\n", s, p / f, r / f, p / r, c / f, h / f, (p - h) / f }'
done
