#!/usr/bin/env bash
# Checks Prism.dll's export table: exactly BmpToJpg, BufToBmp, BufToJpg,
# GetSEOnOff, SetSEOnOff, Setting at ordinals 1..6, no decorated names.
#   check_exports.sh OBJDUMP Prism.dll
set -u
objdump=$1
dll=$2
expected=$'1 BmpToJpg\n2 BufToBmp\n3 BufToJpg\n4 GetSEOnOff\n5 SetSEOnOff\n6 Setting'
# objdump -p lists "[index] Name" rows; ordinal = index + base.
base=$("$objdump" -p "$dll" | awk '/Ordinal Base/ {print $NF; exit}')
got=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
      sed -n 's/^[[:space:]]*\[ *\([0-9]*\)\] \(.*\)$/\1 \2/p' |
      while read -r index name; do echo "$((index + base)) $name"; done)
if [ "$got" != "$expected" ]; then
    printf 'export table of %s differs.\nexpected:\n%s\ngot:\n%s\n' "$dll" "$expected" "$got"
    exit 1
fi
echo "Prism.dll exports the six names at ordinals 1..6"
