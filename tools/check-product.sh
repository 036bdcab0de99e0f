#!/usr/bin/env bash
# Checks korumix.scr as a file: a PE32 (i386) GUI executable that imports only
# DLLs Windows itself provides, carrying its resources.
set -euo pipefail
scr=${1:-build/windows/src/korumix.scr}
dump=$(i686-w64-mingw32-objdump -p "$scr")
fail() { echo "check-product: $*" >&2; exit 1; }

grep -q 'file format pei-i386' <<<"$dump" || fail "not a PE32 i386 image"
grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$dump" || fail "not a GUI-subsystem executable"

allowed='^(KERNEL32|USER32|GDI32|COMCTL32|COMDLG32|ADVAPI32|msvcrt)\.dll$'
imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump")
[ -n "$imports" ] || fail "no imports found"
while read -r dll; do
    grep -Eiq "$allowed" <<<"$dll" || fail "imports $dll, which Windows does not provide"
done <<<"$imports"

echo "check-product: $scr is a PE32 GUI executable importing: $(tr '\n' ' ' <<<"$imports")"
