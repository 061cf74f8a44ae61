#!/bin/sh
# check-pe.sh EXE ARCH OBJDUMP: the executable is a Windows GUI program for ARCH (x86: machine
# 0x014c, x64: 0x8664) that imports only DLLs every Windows has, so it runs from a bare folder.
exe=$1; arch=$2; objdump=$3
fail() { echo "FAIL: $*"; exit 1; }
[ -f "$exe" ] || fail "$exe was not built"
headers=$("$objdump" -p "$exe") || fail "$objdump cannot read $exe"
# The COFF machine field sits right after the "PE\0\0" signature that e_lfanew points to.
lfanew=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
machine=$(od -An -tx2 -j"$lfanew" -N6 "$exe" | awk '{print $3}')
case $arch in
    x86) want=014c ;;
    x64) want=8664 ;;
    *) fail "unknown architecture $arch" ;;
esac
[ "$machine" = "$want" ] || fail "machine type 0x$machine, expected 0x$want"
echo "ok: machine type 0x$machine"
echo "$headers" | grep -q '^Subsystem[[:space:]]*00000002' || fail "not a Windows GUI program: $(echo "$headers" | grep '^Subsystem')"
echo "ok: Windows GUI subsystem"
dlls=$(echo "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$dlls" ] || fail "no import table found"
allowed='kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll comctl32.dll comdlg32.dll shlwapi.dll version.dll msvcrt.dll'
for dll in $dlls; do
    case " $allowed " in
        *" $dll "*) echo "ok: imports $dll" ;;
        *) fail "imports $dll, which is not a Windows system DLL (static linking missing?)" ;;
    esac
done
echo "size: $(stat -c %s "$exe") bytes"
