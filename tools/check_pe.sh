#!/bin/sh
# Checks the shipped plug-in binary the way the game's loader will see it:
#   - a 64-bit x86 PE image (PE32+) flagged as a DLL;
#   - exports nothing (an export table, if present, has no entries);
#   - imports from ScriptHookRDR2.dll exactly the script host's eight functions,
#     under their MSVC-decorated names;
#   - imports everything else from Windows system DLLs only, never from the
#     MinGW runtime DLLs, which a game folder does not have.
#
# Usage: tools/check_pe.sh [-q] Tavrossimer.asi
#   OBJDUMP overrides the objdump used (default x86_64-w64-mingw32-objdump).
#   -q prints only failures.
set -eu

quiet=0
if [ "${1:-}" = "-q" ]; then quiet=1; shift; fi
if [ $# -ne 1 ]; then
    echo "usage: $0 [-q] FILE" >&2
    exit 2
fi
file=$1
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}

if [ ! -f "$file" ]; then
    echo "check_pe: $file: no such file" >&2
    exit 2
fi
if ! command -v "$objdump" >/dev/null 2>&1; then
    echo "check_pe: $objdump not found (install binutils-mingw-w64-x86-64)" >&2
    exit 2
fi

# The host functions as ScriptHookRDR2.dll exports them, sorted.
expected_host_imports='?keyboardHandlerRegister@@YAXP6AXKGEHHHH@Z@Z
?keyboardHandlerUnregister@@YAXP6AXKGEHHHH@Z@Z
?nativeCall@@YAPEA_KXZ
?nativeInit@@YAX_K@Z
?nativePush64@@YAX_K@Z
?scriptRegister@@YAXPEAUHINSTANCE__@@P6AXXZ@Z
?scriptUnregister@@YAXPEAUHINSTANCE__@@@Z
?scriptWait@@YAXK@Z'

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

"$objdump" -f "$file" >"$tmp/header"
"$objdump" -p "$file" >"$tmp/private"

failures=0
fail() {
    echo "check_pe: FAIL: $*" >&2
    failures=$((failures + 1))
}
note() {
    if [ "$quiet" -eq 0 ]; then echo "$*"; fi
}

# Machine and kind.
grep -q 'file format pei-x86-64' "$tmp/header" || fail "not a PE image for x86-64: $(grep 'file format' "$tmp/header")"
grep -q 'architecture: i386:x86-64' "$tmp/header" || fail "machine is not x86-64"
grep -Eq '^Magic[[:space:]]+020b' "$tmp/private" || fail "optional header is not PE32+"
awk '/^Characteristics/ { inside = 1; next } inside && /^[^\t]/ { exit } inside && /^\tDLL$/ { found = 1 } END { exit !found }' \
    "$tmp/private" || fail "the DLL flag is not set"

# Exports: either no export table or one with zero entries.
if grep -q '^The Export Tables' "$tmp/private"; then
    eat=$(awk '/Export Address Table[[:space:]]+[0-9a-fA-F]+$/ { print $NF; exit }' "$tmp/private")
    names=$(awk '/\[Name Pointer\/Ordinal\] Table[[:space:]]+[0-9a-fA-F]+$/ { print $NF; exit }' "$tmp/private")
    if [ "$eat" != "00000000" ] || [ "$names" != "00000000" ]; then
        fail "the DLL exports symbols (address table $eat entries, name table $names entries)"
        sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' "$tmp/private" | head -20 >&2
    fi
fi

# Imports, as "DLL<TAB>name" lines.
awk '
    /^\tDLL Name: / { dll = $3; next }
    dll != "" && /^\tvma:/ { next }
    dll != "" && /^[[:space:]]*$/ { dll = ""; next }
    dll != "" && /^\t[0-9a-fA-F]+\t/ {
        # "\t<vma>\t <hint>  <name>"; a name-less line is an import by ordinal.
        line = $0
        sub(/^\t[0-9a-fA-F]+\t[[:space:]]*[0-9]+[[:space:]]*/, "", line)
        if (line == "") line = "<ordinal " $2 ">"
        print dll "\t" line
    }
' "$tmp/private" >"$tmp/imports"

if [ ! -s "$tmp/imports" ]; then
    fail "no import table found"
fi

awk -F '\t' 'tolower($1) == "scripthookrdr2.dll" { print $2 }' "$tmp/imports" | sort >"$tmp/host_imports"
printf '%s\n' "$expected_host_imports" | sort >"$tmp/host_expected"
if ! cmp -s "$tmp/host_imports" "$tmp/host_expected"; then
    fail "imports from ScriptHookRDR2.dll differ from the eight host functions (- expected, + found):"
    diff "$tmp/host_expected" "$tmp/host_imports" | sed -n 's/^</  -/p; s/^>/  +/p' >&2 || true
fi

# Every other DLL must be part of Windows itself.
cut -f1 "$tmp/imports" | sort -u >"$tmp/dlls"
while IFS= read -r dll; do
    lower=$(printf '%s' "$dll" | tr 'A-Z' 'a-z')
    case "$lower" in
    scripthookrdr2.dll) ;;
    kernel32.dll | msvcrt.dll | ucrtbase.dll | api-ms-win-*.dll) ;;
    libstdc++*.dll | libgcc*.dll | libwinpthread*.dll | libssp*.dll | libatomic*.dll | libgomp*.dll)
        fail "imports from the MinGW runtime DLL $dll, which the game folder does not have" ;;
    *)
        fail "imports from $dll, which is not a Windows system DLL this plug-in should need" ;;
    esac
done <"$tmp/dlls"

if [ "$failures" -ne 0 ]; then
    echo "check_pe: $file: $failures check(s) failed" >&2
    exit 1
fi

note "check_pe: $file: x86-64 PE32+ DLL, no exports"
while IFS= read -r dll; do
    note "  $dll: $(awk -F '\t' -v d="$dll" '$1 == d' "$tmp/imports" | wc -l) imports"
done <"$tmp/dlls"
if [ "$quiet" -eq 0 ]; then
    echo "  from ScriptHookRDR2.dll:"
    sed 's/^/    /' "$tmp/host_imports"
fi
echo "check_pe: OK"
