#!/bin/sh
# Checks an executable's export table with objdump: every name of the list is exported, and no
# exported name carries a stdcall decoration (@n).
#   check_exports.sh OBJDUMP EXE NAMELIST
set -eu
objdump=$1
exe=$2
list=$3
exports=$("$objdump" -p "$exe" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p')
status=0
checked=0
for name in $(grep -v '^#' "$list"); do
    checked=$((checked + 1))
    if ! printf '%s\n' "$exports" | grep -qx "$name"; then
        echo "missing export: $name"
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
