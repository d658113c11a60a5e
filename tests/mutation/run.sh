#!/bin/bash
# Mutation check, run by hand (too slow for CI): applies the deliberate faults of faults.txt one at
# a time to a private copy of the sources, builds it, runs the test suite and reports which faults
# the suite let through. The checkout itself is never changed.
#   tests/mutation/run.sh [-a ARCH] [-t SECONDS] [FAULT_ID ...]
#     -a  the build to mutate: x86_64 (default) or i686
#     -t  longest time one test program may take before it counts as failed (default 120)
#     FAULT_ID  only these faults (default: all)
# Results go to build/mutation/ARCH/report.txt.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
arch=x86_64
timeout=120
while getopts "a:t:" opt; do
    case $opt in
    a) arch=$OPTARG ;;
    t) timeout=$OPTARG ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
work=$top/build/mutation/$arch
tree=$work/tree
report=$work/report.txt
mkdir -p "$work"

# The private copy: the files git knows, as they stand in the work tree.
rm -rf "$tree"
mkdir -p "$tree"
(cd "$top" && git ls-files -z | xargs -0 cp --parents -t "$tree")
cmake -S "$tree" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$tree/cmake/toolchain-$arch.cmake" -DKELVORA_BENCH=OFF \
      -DKELVORA_TEST_TIMEOUT="$timeout" >/dev/null
cmake --build "$work/build" -j"$(nproc)" >"$work/build.log" 2>&1 || { echo "The sources do not build"; exit 1; }

# One Wine session for all the runs: a new prefix for each would cost more than most runs.
session=$work/build/wine-session
"$tree/tests/wine/session.sh" start "$session" "$arch" >/dev/null
trap '"$tree/tests/wine/session.sh" stop "$session" >/dev/null 2>&1' EXIT

# Builds and runs the suite up to its first failure; 0 passed, 1 failed, 2 did not build. The test
# program of the changed file's folder (if it has one) runs first: it kills most faults, and the
# rest of the suite is only needed when it does not.
suite() {
    local first=${1:-}
    cmake --build "$work/build" -j"$(nproc)" >"$work/build.log" 2>&1 || return 2
    : >"$work/ctest.log"
    if [ -n "$first" ]; then
        ctest --test-dir "$work/build" -FS wine -FC wine -R "^$first\$" >>"$work/ctest.log" 2>&1 || return 1
    fi
    ctest --test-dir "$work/build" -FS wine -FC wine --stop-on-failure ${first:+-E "^$first\$"} \
        >>"$work/ctest.log" 2>&1 || return 1
    return 0
}

first_test() {  # the test program of a source file's folder: src/cut/x.cpp -> cut
    local folder
    folder=$(echo "$1" | sed -n 's#^src/\([a-z]*\)/.*#\1#p')
    case $folder in
    lib | settings | app | loglist | dialogs | cut | dragdrop) echo "$folder" ;;
    esac
}

echo "Baseline build and suite ($arch)..."
if ! suite; then
    echo "The unchanged sources do not pass: see $work/build.log and $work/ctest.log"
    exit 1
fi

python3 "$top/tests/mutation/faults.py" list "$top/tests/mutation/faults.txt" "$@" >"$work/ids"
: >"$report"
killed=0
survived=0
broken=0
while read -r id; do
    file=$(python3 "$top/tests/mutation/faults.py" file "$top/tests/mutation/faults.txt" "$id")
    cp "$tree/$file" "$work/original"
    if ! python3 "$top/tests/mutation/faults.py" apply "$top/tests/mutation/faults.txt" "$id" "$tree"; then
        echo "$id: stale (its text does not stand exactly once in $file)" | tee -a "$report"
        broken=$((broken + 1))
        continue
    fi
    start=$(date +%s)
    status=0
    suite "$(first_test "$file")" || status=$?
    cp "$work/original" "$tree/$file"
    seconds=$(($(date +%s) - start))
    case $status in
    0) outcome="SURVIVED"; survived=$((survived + 1)) ;;
    1) outcome="killed by: $(grep -oE '[0-9]+ - [a-z0-9_]+ \(' "$work/ctest.log" | sed 's/^[0-9]* - //; s/ (//' | tr '\n' ' ')"
       killed=$((killed + 1)) ;;
    2) outcome="does not build"; broken=$((broken + 1)) ;;
    esac
    echo "$id: $outcome (${seconds} s)" | tee -a "$report"
done <"$work/ids"
cmake --build "$work/build" -j"$(nproc)" >/dev/null 2>&1 || true
total=$((killed + survived))
echo "killed $killed of $total faults, $survived survived, $broken stale or not building" | tee -a "$report"
[ "$total" -gt 0 ] && echo "score: $((100 * killed / total))%" | tee -a "$report"
