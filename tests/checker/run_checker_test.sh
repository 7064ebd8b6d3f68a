#!/bin/sh
# tavrossimer-check on a few game folders: its whole report on a folder with
# typical mistakes, and its exit status on good, damaged and unreadable files.
# Usage: tests/checker/run_checker_test.sh CHECKER
set -u
checker=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
failed=0

# expect NAME STATUS [TEXT]: runs the checker on $work/NAME, which must exit
# with STATUS and, when given, say TEXT.
expect() {
    out=$(cd "$work" && "$checker" "$1" 2>&1)
    status=$?
    if [ "$status" -ne "$2" ]; then
        echo "FAIL $1: exit status $status, expected $2"; echo "$out"; failed=1
    elif [ $# -ge 3 ] && ! printf '%s\n' "$out" | grep -qF -- "$3"; then
        echo "FAIL $1: the report does not say: $3"; echo "$out"; failed=1
    else
        echo "ok   $1"
    fi
}

# The folder with the typical mistakes: the whole report, word for word.
cp -r "$here/mistakes" "$work/mistakes"
(cd "$work" && "$checker" mistakes) >"$work/mistakes.out"
status=$?
if [ "$status" -ne 1 ] || ! diff -u "$here/mistakes.expected" "$work/mistakes.out"; then
    echo "FAIL mistakes: exit status $status, expected 1 and the report above"; failed=1
else
    echo "ok   mistakes"
fi

# The shipped files and a save of two bodyguards: nothing to report.
mkdir "$work/shipped"
cp "$here/../../packaging/Tavrossimer.ini" "$here/../../packaging/Tavrossimer_CustomPeds.txt" "$work/shipped/"
printf ' 0 4 1 0 2 3 4 2 3 0 1 -1 -1 -1 0 0 0 0 -1 -1 0 0 0 0 -1 -1 0 0 0 0 -1 -1 0 0 0 0 -1 -1 0 0 0 0 5' \
    >"$work/shipped/Tavrossimer.dat"
expect shipped 0 "slot 1: S_M_M_Army_01 (Custom list row 2)"
mkdir "$work/empty"
expect empty 0 "not found: every setting has its default"

# A save file damaged by hand: the reading stops at the first non-number.
mkdir "$work/letters" "$work/short"
printf ' 0 4 1 0 2 3 0 4 x9 0 2 0' >"$work/letters/Tavrossimer.dat"
expect letters 1 'value 9 (slot 1, sidearm) is "x9", not a number: it reads as 0'
printf ' 0 4 1 0 2 3\n 0 5' >"$work/short/Tavrossimer.dat"
expect short 1 "the file holds only 8 of the 43 values"
mkdir "$work/huge" "$work/long"
printf ' 0 4 99999999999x 0 2 0' >"$work/huge/Tavrossimer.dat"
expect huge 1 'value 3 (slot 0, sidearm) is "99999999999", a number too large for 32 bits: it reads as 2147483647'
printf '%s 4 5' "$(printf ' -1 -1 0 0 0 0%.0s' 1 2 3 4 5 6 7)" >"$work/long/Tavrossimer.dat"
expect long 1 'the text after the 43rd value is not read, from "5" on'

# A file that is there but cannot be read, and a folder that is not there.
mkdir -p "$work/unreadable/Tavrossimer.dat"
expect unreadable 2 "PROBLEM: the file is there but cannot be read"
expect no-such-folder 2

exit "$failed"
