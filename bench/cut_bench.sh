#!/bin/sh
# Times the cut engine (cut_bench.exe of either build, under the Wine loader of its architecture)
# against `grep -v -E` with the cut strings as one anchored alternation and against `cp` (the
# floor), on the same generated logs in the same run.
#   cut_bench.sh CUT_BENCH_EXE [SIZE_MB] [DATA_DIR]
# The logs come from make_cut_data.py beside this script. The data folder is deleted at the end.
set -eu
exe=$(readlink -f "$1")
size=${2:-100}
data=${3:-/tmp/cutbench-data}
make_data=$(dirname "$0")/make_cut_data.py
export WINEPREFIX=${WINEPREFIX:-/tmp/cutbench-prefix} WINEDEBUG=-all LC_ALL=ja_JP.UTF-8
case $(file -b "$exe") in
*80386*) wine=/usr/lib/wine/wine ;;
*) wine=/usr/lib/wine/wine64 ;;
esac
mkdir -p "$data"
$wine cmd /c exit >/dev/null 2>&1 || true   # the first run of a prefix starts its services

now() { date +%s.%N; }
seconds() { echo "$2 - $1" | bc; }
best() { echo "if ($1 < $2) $1 else $2" | bc; }

for strings in 100 512; do
    dir="$data/s$strings"
    python3 "$make_data" "$dir" --size-mb "$size" --strings "$strings" >/dev/null
    # The cut strings as one anchored alternation, every byte that ERE reads specially escaped
    # (byte by byte: in the C locale a Shift-JIS trail byte such as 0x5C is a character of its own).
    python3 - "$dir/cutlist.txt" "$dir/pattern" <<'PY'
import re, sys
lines = [l for l in re.split(rb"\r\n|\r|\n", open(sys.argv[1], "rb").read()) if l]
esc = lambda s: b"".join(b"\\" + bytes([c]) if bytes([c]) in b".[]()*+?{}|^$\\" else bytes([c]) for c in s)
open(sys.argv[2], "wb").write(b"^(" + b"|".join(esc(l) for l in lines) + b")")
PY
    sync
    cat "$dir/app.log" > /dev/null
    # Best of three runs each; every run starts with the written data flushed, so that writeback
    # of earlier runs does not slow the next one down.
    grep_s=9999; cp_s=9999; cut_s=9999; wall_s=0; cut=""
    for _ in 1 2 3; do
        t0=$(now); LC_ALL=C grep -v -E -f "$dir/pattern" "$dir/app.log" > "$dir/grep.out" || true; t1=$(now)
        grep_s=$(best "$grep_s" "$(seconds "$t0" "$t1")")
        rm -f "$dir/copy.log"; sync
        t0=$(now); cp "$dir/app.log" "$dir/copy.log"; t1=$(now)
        cp_s=$(best "$cp_s" "$(seconds "$t0" "$t1")")
        cp "$dir/app.log" "$dir/work.log"; sync
        t0=$(now); $wine "$exe" "$(winepath -w "$dir/work.log" 2>/dev/null)" "$(winepath -w "$dir/cutlist.txt" 2>/dev/null)" \
            > "$dir/cut.txt" 2>&1; t1=$(now)
        run=$(tr -d '\r' < "$dir/cut.txt")
        run_s=$(echo "$run" | sed -n 's/.* seconds \([0-9.]*\) .*/\1/p')
        if [ -n "$run_s" ] && [ "$(echo "$run_s < $cut_s" | bc)" = 1 ]; then cut_s=$run_s; cut=$run; wall_s=$(seconds "$t0" "$t1"); fi
    done
    bytes=$(stat -c %s "$dir/app.log")
    echo "strings=$strings size=$bytes"
    echo "  cut:  $cut (wall incl. wine start ${wall_s}s)"
    echo "  grep: ${grep_s}s $(echo "$bytes / $grep_s / 1000000" | bc) MB/s"
    echo "  cp:   ${cp_s}s $(echo "$bytes / $cp_s / 1000000" | bc) MB/s"
    echo "  cut/grep time ratio: $(echo "scale=2; $cut_s / $grep_s" | bc)   cut/cp: $(echo "scale=2; $cut_s / $cp_s" | bc)"
    eval "cut_$strings=$cut_s"
    rm -f "$dir/copy.log" "$dir/grep.out"
done
echo "512 strings / 100 strings time: $(echo "scale=2; $cut_512 / $cut_100" | bc)"
rm -rf "$data"
