#!/bin/sh
# Checks an executable's export table with objdump: every name of the list is exported, no
# exported name carries a stdcall decoration (@n), and in a 32-bit build each name is a stdcall
# function (its symbol carries the @n of its arguments: a cdecl one would leave them to a caller
# that does not pop them).
#   check_exports.sh OBJDUMP EXE NAMELIST
set -eu
objdump=$1
exe=$2
list=$3
exports=$("$objdump" -p "$exe" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p')
symbols=
if "$objdump" -f "$exe" | grep -q 'pei-i386'; then
    symbols=$("$objdump" -t "$exe")
fi
status=0
checked=0
for name in $(grep -v '^#' "$list"); do
    checked=$((checked + 1))
    if ! printf '%s\n' "$exports" | grep -qx "$name"; then
        echo "missing export: $name"
        status=1
    fi
    if [ -n "$symbols" ] && ! printf '%s\n' "$symbols" | grep -qE " _$name@[0-9]+\$"; then
        echo "not a stdcall function: $name"
        status=1
    fi
done
decorated=$(printf '%s\n' "$exports" | grep '@' || true)
if [ -n "$decorated" ]; then
    echo "decorated exports:"
    echo "$decorated"
    status=1
fi
[ "$checked" -gt 0 ] || { echo "no names in $list"; status=1; }
echo "$exe: $checked names checked"
exit $status
