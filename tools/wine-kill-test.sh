#!/usr/bin/env bash
# The save file's kill test for the Windows build, under Wine: the plug-in's
# SaveRoster built with MinGW-w64 (tests/wine_kill/save_loop.cpp) saves in a
# tight loop, two complete rosters in turn, and is killed with SIGKILL at a
# random moment, again and again. After every kill the save file must be
# exactly one of the two rosters' texts, and the folder may hold nothing but
# the save file and the save's single temporary file.
#
# One idle Wine process runs beside the children for the whole test. Without
# it, each kill leaves the wineserver without a program for a moment, and a
# wineserver that has begun shutting down (it does so a few seconds after its
# last program ends, sooner on a busy machine's clock) kills any program that
# starts meanwhile: a child ended by Wine, not by a fault of the save. A child
# that Wine still ends before its main runs is started again, at most three
# times in the whole test; one that ends by itself after its main ran fails the
# test.
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

wineserver=${wine%64}server64
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

folder=$(mktemp -d)
keeper=
finish() {
  if [ -n "$keeper" ]; then
    kill -KILL "$keeper" 2>/dev/null || true
    wait "$keeper" 2>/dev/null || true
  fi
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$folder"
}
trap finish EXIT
cd "$folder"
"$wine" "$build/save_loop.exe" --texts | tr -d '\r' >texts
textA=$(sed -n 1p texts)
textB=$(sed -n 2p texts)
rm texts
[ -n "$textA" ] && [ -n "$textB" ] && [ "$textA" != "$textB" ] || { echo "no roster texts from the child"; exit 1; }

# The idle process runs from the build folder, so the save folder holds only
# what the children leave.
(cd "$build" && exec "$wine" "$build/save_loop.exe" --idle >"$build/keeper.out") &
keeper=$!
for ((tries = 0; tries < 3000; tries++)); do
  grep -q idle "$build/keeper.out" 2>/dev/null && break
  sleep 0.02
done
grep -q idle "$build/keeper.out" || { echo "the idle Wine process never started"; exit 1; }

sawA=0 sawB=0 sawNone=0 sawTemp=0 early=0 restarts=0
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
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.02
    done
    if kill -0 "$pid" 2>/dev/null; then
      grep -q saving "$out" || { echo "kill $kill: the child never started saving"; exit 1; }
      sleep "$(awk -v r="$RANDOM" 'BEGIN { printf "%.3f", (r % 400) / 1000 }')"
    fi
  fi
  kill -KILL "$pid" 2>/dev/null || true
  status=0
  wait "$pid" 2>/dev/null || status=$?
  if ((status != 128 + 9)); then
    if grep -q started "$out"; then
      echo "kill $kill: the child ended by itself (exit status $status) after its main ran"
      exit 1
    fi
    restarts=$((restarts + 1))
    ((restarts <= 3)) || { echo "kill $kill: Wine ended the child before its main ran, $restarts times"; exit 1; }
    echo "kill $kill: Wine ended the child before its main ran (exit status $status); starting it again"
    kill=$((kill - 1))
    continue
  fi
  grep -q saving "$out" || early=$((early + 1))

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
echo "wine kill test: $kills kills survived (roster A $sawA, roster B $sawB, no file yet $sawNone, killed before the loop ran $early, temporary left $sawTemp, children Wine ended early $restarts)"
