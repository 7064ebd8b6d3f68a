#!/usr/bin/env bash
# Bounded fuzzing of every file the plug-in reads, under the address and
# undefined-behaviour sanitizers (clang's libFuzzer).
#
#   tools/fuzz.sh [seconds per target] [target...]
#
# Seconds per target: the first argument, else $FUZZ_SECONDS, else 60. Targets:
# save_file custom_peds settings startup play (all by default). Builds in
# build/fuzz, fuzzes each target for that long from a copy of its seed corpus
# (fuzz/corpus/<target>) with its dictionary, and reports the executions. An
# input that makes a target fail is copied into fuzz/crashes/<target>/, where
# the normal test suite replays it from then on; the script then exits non-zero.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-${FUZZ_SECONDS:-60}}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(save_file custom_peds settings startup play)
build=build/fuzz
work=$PWD/$build/work

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTAVROSSIMER_FUZZ=ON -DTAVROSSIMER_TESTS=OFF -DTAVROSSIMER_SIM=OFF -DTAVROSSIMER_BENCH=OFF >/dev/null
cmake --build "$build" -j 2 --target $(printf '%s_fuzzer ' "${targets[@]}")

# The targets write their input to a file for every execution: a memory file
# system makes that several times faster than a disk.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

status=0
summary=""
for t in "${targets[@]}"; do
  echo "== fuzzing $t for ${seconds} s"
  rm -rf "$work/$t" && mkdir -p "$work/$t/corpus" "$work/$t/artifacts"
  cp fuzz/corpus/"$t"/* "$work/$t/corpus/"
  dict=()
  [ -f "fuzz/$t.dict" ] && dict=(-dict="$PWD/fuzz/$t.dict")
  log="$work/$t/fuzz.log"
  set +e
  "$PWD/$build/fuzz/${t}_fuzzer" "$work/$t/corpus" "${dict[@]}" -max_total_time="$seconds" -timeout=20 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/$t/artifacts/" >"$log" 2>&1
  rc=$?
  set -e
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  rate=$(grep -o 'exec/s: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$' || echo "?")
  summary+="$t: $execs executions (${rate:-?}/s)"
  if [ $rc -ne 0 ] || compgen -G "$work/$t/artifacts/*" >/dev/null; then
    status=1
    mkdir -p "fuzz/crashes/$t"
    for a in "$work/$t"/artifacts/*; do
      [ -e "$a" ] || continue
      cp "$a" "fuzz/crashes/$t/$(basename "$a")"
      echo "kept fuzz/crashes/$t/$(basename "$a")"
    done
    tail -n 60 "$log"
    summary+=" FAILED (exit $rc)"
  fi
  summary+=$'\n'
done
echo "== fuzzing summary (${seconds} s per target)"
printf '%s' "$summary"
exit $status
