#!/bin/sh
# Runs watch_bench.exe or live_bench.exe of either build under the Wine loader of its architecture
# and adds the CPU time that the program and the Wine server spend between its lines IDLE BEGINS and
# IDLE ENDS, read from /proc (live_bench.exe shows a window: set DISPLAY).
#   watch_bench.sh BENCH_EXE [IDLE_SECONDS]
set -eu
exe=$(readlink -f "$1")
idle=${2:-30}
export WINEPREFIX=${WINEPREFIX:-/tmp/watchbench-prefix} WINEDEBUG=-all LC_ALL=ja_JP.UTF-8
case $(file -b "$exe") in
*80386*) wine=/usr/lib/wine/wine ;;
*) wine=/usr/lib/wine/wine64 ;;
esac
$wine cmd /c exit >/dev/null 2>&1 || true   # the first run of a prefix starts its services
out=$(mktemp)
trap 'rm -f "$out"' EXIT
$wine "$exe" "$idle" >"$out" 2>&1 </dev/null &
run=$!

server() {  # the Wine server of this prefix
    for pid in $(pgrep -x wineserver64; pgrep -x wineserver); do
        if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then echo "$pid"; return; fi
    done
}
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
await() {
    while ! grep -q "$1" "$out"; do
        kill -0 "$run" 2>/dev/null || return 1
        sleep 0.1
    done
}

await "IDLE BEGINS"
pid=$(server)
t0=$(ticks "$pid"); p0=$(ticks "$run"); s0=$(date +%s.%N)
await "IDLE ENDS"
t1=$(ticks "$pid"); p1=$(ticks "$run"); s1=$(date +%s.%N)
wait "$run"
tr -d '\r' <"$out" | grep -v '^IDLE '
echo "idle CPU of the program (/proc): $(echo "scale=3; ($p1 - $p0) * 1000 / $(getconf CLK_TCK)" | bc) ms"
echo "idle CPU of the Wine server: $(echo "scale=3; ($t1 - $t0) * 1000 / $(getconf CLK_TCK)" | bc) ms over" \
    "$(echo "scale=1; ($s1 - $s0) / 1" | bc) s ($(echo "scale=3; ($t1 - $t0) * 100 / $(getconf CLK_TCK) / ($s1 - $s0)" | bc)% of one core)"
