#!/usr/bin/env bash
# The save file's kill test for the Windows build, under Wine: the plug-in's
# SaveRoster built with MinGW-w64 (tests/wine_kill/save_loop.cpp) saves in a
# tight loop, two complete rosters in turn, and is killed with SIGKILL at a
# random moment, again and again. After every kill the save file must be
# exactly one of the two rosters' texts, and the folder may hold nothing but
# the save file and the save's single temporary file.
#
#   tools/wine-kill-test.sh [kills]        (default: $WINE_KILLS, else 40)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
kills=${1:-${WINE_KILLS:-40}}
build=$root/build/wine-kill
mkdir -p "$build"

cxx=$(command -v x86_64-w64-mingw32-g++-posix || command -v x86_64-w64-mingw32-g++)
"$cxx" -std=c++17 -O2 -Wall -Wextra -Werror -I"$root/src" -I"$root/tests/support" \
  tests/wine_kill/save_loop.cpp src/persist/save_file.cpp src/roster/roster.cpp \
  src/catalog/model_lists.cpp src/catalog/all_models.cpp src/catalog/weapons.cpp \
  src/host/platform.cpp -static -o "$build/save_loop.exe"

export WINEDEBUG=-all
export WINEPREFIX=${WINEPREFIX:-$build/prefix}
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder"
"$wine" "$build/save_loop.exe" --texts | tr -d '\r' >texts
textA=$(sed -n 1p texts)
textB=$(sed -n 2p texts)
rm texts
[ -n "$textA" ] && [ -n "$textB" ] && [ "$textA" != "$textB" ] || { echo "no roster texts from the child"; exit 1; }

sawA=0 sawB=0 sawNone=0 sawTemp=0 early=0
out=$build/child.out
for ((kill = 1; kill <= kills; kill++)); do
  # Every eighth run starts from an empty folder and is killed at a random
  # moment from its launch, often before its first save; the others are killed
  # at a random moment once the child says its save loop is running, so that
  # the kills land in the loop however long Wine takes to start on this
  # machine.
  fromNothing=0
  if ((kill % 8 == 0)); then
    rm -f Tavrossimer.dat Tavrossimer.dat.tmp
    fromNothing=1
  fi
  hadFile=0
  [ -e Tavrossimer.dat ] && hadFile=1
  : >"$out"
  "$wine" "$build/save_loop.exe" >"$out" &
  pid=$!
  if ((fromNothing)); then
    sleep "$(awk -v r="$RANDOM" 'BEGIN { printf "%.3f", 0.05 + (r % 1500) / 1000 }')"
  else
    for ((tries = 0; tries < 3000; tries++)); do
      grep -q saving "$out" 2>/dev/null && break
      kill -0 "$pid" 2>/dev/null || { echo "kill $kill: the child ended by itself"; exit 1; }
      sleep 0.02
    done
    grep -q saving "$out" || { echo "kill $kill: the child never started saving"; exit 1; }
    sleep "$(awk -v r="$RANDOM" 'BEGIN { printf "%.3f", (r % 400) / 1000 }')"
  fi
  grep -q saving "$out" 2>/dev/null || early=$((early + 1))
  kill -KILL "$pid"
  wait "$pid" 2>/dev/null || true

  for f in * .[!.]*; do
    [ -e "$f" ] || continue
    case "$f" in
      Tavrossimer.dat) ;;
      Tavrossimer.dat.tmp) sawTemp=$((sawTemp + 1)) ;;
      *) echo "kill $kill left a stray file: $f"; exit 1 ;;
    esac
  done
  if [ ! -e Tavrossimer.dat ]; then
    # No file is fine only when there was none before this run and the child
    # was killed before its first save was complete.
    if ((!hadFile)); then sawNone=$((sawNone + 1)); continue; fi
    echo "kill $kill lost the save file"; exit 1
  fi
  text=$(cat Tavrossimer.dat; echo x)
  text=${text%x}
  if [ "$text" = "$textA" ]; then
    sawA=$((sawA + 1))
  elif [ "$text" = "$textB" ]; then
    sawB=$((sawB + 1))
  else
    echo "kill $kill left a save that is neither roster: \"$text\""; exit 1
  fi
done
"${wine%64}server64" -k 2>/dev/null || wineserver -k 2>/dev/null || true
echo "wine kill test: $kills kills survived (roster A $sawA, roster B $sawB, no file yet $sawNone, killed before the loop ran $early, temporary left $sawTemp)"
