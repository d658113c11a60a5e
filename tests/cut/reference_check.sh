#!/bin/sh
# Compares the cut with cut_reference.py on generated cases:
#   reference_check.sh CUT_TESTS_EXE WORKDIR [COUNT] [SEED]
set -eu
here=$(dirname "$0")
exe=$1
dir=$2
count=${3:-3000}
seed=${4:-20261206}
rm -rf "$dir"
python3 "$here/make_reference_cases.py" "$dir/cases" "$count" "$seed"
status=0
KELVORA_CUT_CASES="$dir/cases" "$here/../wine/wine-exec.sh" "$exe" --gtest_filter='CutReference.*' \
    > "$dir/result.txt" 2>&1 || status=$?
tr -d '\r' < "$dir/result.txt" | tail -n 30
[ $status -eq 0 ] && rm -rf "$dir/cases"
exit $status
