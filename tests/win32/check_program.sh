#!/usr/bin/env bash
# Checks a program file of the 32-bit product: a 32-bit (i386) Windows GUI
# program that imports only the system's own libraries (no compiler runtime,
# and no library the program loads at run time by name).
#   check_program.sh OBJDUMP PROGRAM NOT-IMPORTED...
set -u
objdump=$1
program=$2
shift 2
headers=$("$objdump" -p "$program") || { echo "cannot read $program"; exit 1; }
status=0
echo "$headers" | grep -q 'file format pei-i386' || { echo "$program is not a 32-bit Windows file"; status=1; }
echo "$headers" | grep -Eq '^Subsystem[[:space:]]+0*2[[:space:]]' || { echo "$program is not a GUI program"; status=1; }
imports=$(echo "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'a-z' 'A-Z' | sort -u)
for dll in $imports; do
    case "$dll" in
    LIBGCC*|LIBSTDC*|LIBWINPTHREAD*|MSVCP*) echo "$program needs the compiler runtime $dll"; status=1 ;;
    esac
done
for name in "$@"; do
    if echo "$imports" | grep -qix "$name"; then
        echo "$program imports $name, which it is to load at run time"
        status=1
    fi
done
[ $status -eq 0 ] && echo "$(basename "$program"): 32-bit GUI program importing" $imports
exit $status
