#!/usr/bin/env bash
# Checks a DLL's export table: exactly the expected names at their ordinals,
# no decorated names. Without a list, Prism.dll's six: BmpToJpg, BufToBmp,
# BufToJpg, GetSEOnOff, SetSEOnOff, Setting at ordinals 1..6.
#   check_exports.sh OBJDUMP DLL [ORDINAL:NAME...]
set -u
objdump=$1
dll=$2
shift 2
if [ $# -gt 0 ]; then
    expected=$(printf '%s\n' "$@" | tr ':' ' ' | sort -n)
else
    expected=$'1 BmpToJpg\n2 BufToBmp\n3 BufToJpg\n4 GetSEOnOff\n5 SetSEOnOff\n6 Setting'
fi
# objdump -p lists "[index] Name" rows; ordinal = index + base.
base=$("$objdump" -p "$dll" | awk '/Ordinal Base/ {print $NF; exit}')
got=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
      sed -n 's/^[[:space:]]*\[ *\([0-9]*\)\] \(.*\)$/\1 \2/p' |
      while read -r index name; do echo "$((index + base)) $name"; done | sort -n)
if [ "$got" != "$expected" ]; then
    printf 'export table of %s differs.\nexpected:\n%s\ngot:\n%s\n' "$dll" "$expected" "$got"
    exit 1
fi
echo "$(basename "$dll") exports the $(echo "$expected" | wc -l) expected names at their ordinals"
