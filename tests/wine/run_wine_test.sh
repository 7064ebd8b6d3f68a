#!/bin/sh
# End-to-end test of the real Tavrossimer.asi under Wine.
#
# Usage: tests/wine/run_wine_test.sh BUILD_DIR [SCENARIO-NAME-PART...]
#   BUILD_DIR is the Windows build (cmake --preset windows; cmake --build --preset windows),
#   which holds Tavrossimer.asi, wine/ScriptHookRDR2.dll (the stand-in host),
#   wine/tavrossimer_wine_driver.exe and package/ (the shipped settings and custom list).
#
# The driver runs in BUILD_DIR/wine-run, the game folder of the test, with a fresh
# WINEPREFIX in BUILD_DIR/wine-prefix (set WINE_TEST_KEEP_PREFIX=1 to reuse one).
# Wine's background processes inherit the first process's output, so nothing
# here reads Wine's output through a pipe: it goes to files, the server is
# started with "wineserver -p" and ended with "wineserver -k".
# Exit status: the driver's (0 all scenarios passed, 1 a scenario failed, 3 the
# stand-in aborted on a broken call contract or an unknown game function, 10 an
# import did not resolve, 11 a stand-in host fault, 12 a crash), 124 on timeout,
# 77 when Wine is not installed, 13 when tavrossimer-check.exe's report on the
# folder with typical mistakes (tests/checker/mistakes) is not the expected one.
set -u
here=$(cd "$(dirname "$0")" && pwd)

if [ $# -lt 1 ]; then
    echo "usage: $0 BUILD_DIR [SCENARIO-NAME-PART...]" >&2
    exit 2
fi
build=$(cd "$1" && pwd) || exit 2
shift

wine_cmd=${WINE:-}
if [ -z "$wine_cmd" ]; then
    if command -v wine >/dev/null 2>&1; then
        wine_cmd=wine
    elif command -v wine64 >/dev/null 2>&1; then
        wine_cmd=wine64
    elif [ -x /usr/lib/wine/wine64 ]; then
        wine_cmd=/usr/lib/wine/wine64
    fi
fi
wineserver_cmd=${WINESERVER:-}
if [ -z "$wineserver_cmd" ]; then
    if command -v wineserver >/dev/null 2>&1; then
        wineserver_cmd=wineserver
    elif [ -x /usr/lib/wine/wineserver64 ]; then
        wineserver_cmd=/usr/lib/wine/wineserver64
    fi
fi
if [ -z "$wine_cmd" ] || [ -z "$wineserver_cmd" ]; then
    echo "run_wine_test: Wine is not installed (apt-get install --no-install-recommends wine wine64)" >&2
    exit 77
fi

asi=$build/Tavrossimer.asi
host=$build/wine/ScriptHookRDR2.dll
driver=$build/wine/tavrossimer_wine_driver.exe
ini=$build/package/Tavrossimer.ini
peds=$build/package/Tavrossimer_CustomPeds.txt
checker=$build/tavrossimer-check.exe
for f in "$asi" "$host" "$driver" "$ini" "$peds" "$checker"; do
    if [ ! -f "$f" ]; then
        echo "run_wine_test: missing $f (build the windows preset first)" >&2
        exit 2
    fi
done

work=$build/wine-run
rm -rf "$work"
mkdir -p "$work"
# The game folder: the plug-in, the host next to it, and the driver program,
# whose folder the loader searches first for ScriptHookRDR2.dll.
cp "$asi" "$host" "$driver" "$work/"
# The shipped text files, which scenarios copy into place as they need them.
cp "$ini" "$work/shipped_Tavrossimer.ini"
cp "$peds" "$work/shipped_Tavrossimer_CustomPeds.txt"

export WINEPREFIX="$build/wine-prefix"
export WINEDEBUG=-all
# No Mono or Gecko installers on the first start, and no debugger on a crash.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
export WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY

if [ "${WINE_TEST_KEEP_PREFIX:-0}" != "1" ]; then
    rm -rf "$WINEPREFIX"
fi
mkdir -p "$WINEPREFIX"

log=$work/driver.log
errlog=$work/wine.log
started=$(date +%s)

"$wineserver_cmd" -p >"$work/wineserver.log" 2>&1
# Create the prefix first, so its messages stay out of the driver's log.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    timeout 300 "$wine_cmd" wineboot -u >"$work/wineboot.log" 2>&1
fi
prefix_ready=$(date +%s)

cd "$work" || exit 2
timeout 300 "$wine_cmd" tavrossimer_wine_driver.exe "$@" >"$log" 2>"$errlog"
status=$?

# The player's file checker, with the real GetPrivateProfileIntA: the same
# report as on Linux, and exit status 1 for the problems it found.
cp "$checker" "$work/"
cp -r "$here/../checker/mistakes" "$work/mistakes"
timeout 120 "$wine_cmd" tavrossimer-check.exe mistakes >"$work/checker.out" 2>"$work/checker.err"
checker_status=$?
tr -d '\r' <"$work/checker.out" >"$work/checker.txt"
if [ "$checker_status" -ne 1 ] || ! diff -u "$here/../checker/mistakes.expected" "$work/checker.txt" >"$work/checker.diff"; then
    checker_result="tavrossimer-check.exe: exit status $checker_status (expected 1), its report against the expected one:
$(cat "$work/checker.diff")"
    [ "$status" -eq 0 ] && status=13
else
    checker_result="tavrossimer-check.exe: the expected report on the folder with typical mistakes"
fi

"$wineserver_cmd" -k >/dev/null 2>&1
"$wineserver_cmd" -w >/dev/null 2>&1 || true
finished=$(date +%s)

cat "$log"
echo "$checker_result"
if [ "$status" -ne 0 ]; then
    echo "--- Wine's own messages ($errlog):"
    cat "$errlog"
fi
echo "run_wine_test: prefix $((prefix_ready - started)) s, scenarios $((finished - prefix_ready)) s, exit status $status"
exit "$status"
