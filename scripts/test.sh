#!/bin/bash
# Installs what is missing, builds both programs and runs every test under Wine: the i686 suite
# (the shipped program) where this machine runs 32-bit programs, and the x86_64 suite.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh" || exit 1
"$top/scripts/build.sh" || exit 1

declare -A result
run_suite() {
    echo "=== $1 suite ==="
    if ctest --test-dir "$top/build/$1" --output-on-failure; then result[$1]=passed; else result[$1]=FAILED; fi
}
if reason=$("$top/scripts/runs-32bit.sh"); then
    run_suite i686
else
    result[i686]="SKIPPED: $reason"
fi
run_suite x86_64

echo "=== summary ==="
status=0
for arch in i686 x86_64; do
    echo "$arch suite: ${result[$arch]}"
    [ "${result[$arch]}" = FAILED ] && status=1
done
exit $status
