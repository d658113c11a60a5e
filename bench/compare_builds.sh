#!/bin/bash
# Runs every benchmark on both builds in one run, each benchmark on the two builds one right after
# the other on the same data, so that their figures compare:
#   bench/compare_builds.sh [BUILD_ROOT] [CUT_SIZE_MB]   (defaults: build, 100)
# The i686 build runs where this machine runs 32-bit programs. Uses a fresh Wine prefix and a
# private Xvfb display (the list benchmark opens a window); both are removed at the end.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(readlink -f "${1:-$here/../build}")
size=${2:-100}
archs=(x86_64)
if reason=$("$here/../scripts/runs-32bit.sh"); then archs=(i686 x86_64); else echo "i686 skipped: $reason"; fi

work=$(mktemp -d)
cleanup() {
    WINEPREFIX=$work/prefix /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    [ -n "${xvfb-}" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 </dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(tr -d '\n' <"$work/display")
export WINEPREFIX=$work/prefix WINEDEBUG=-all LC_ALL=ja_JP.UTF-8 WINEDLLOVERRIDES='mscoree,mshtml='
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 </dev/null
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
/usr/lib/wine/wineserver -w
/usr/lib/wine/wineserver -p >/dev/null 2>&1 </dev/null &
/usr/lib/wine/wine64 cmd /c exit >/dev/null 2>&1 </dev/null

loader() { [ "$1" = i686 ] && echo /usr/lib/wine/wine || echo /usr/lib/wine/wine64; }
run() {  # arch program: output without carriage returns, indented
    "$(loader "$1")" "$root/$1/bench/$2.exe" >"$work/out" 2>&1 </dev/null || echo "  ($2 failed)"
    tr -d '\r' <"$work/out" | sed 's/^/    /'
}

for bench in reader_bench list_load_bench; do
    echo "== $bench"
    for arch in "${archs[@]}"; do echo "  $arch:"; run "$arch" "$bench"; done
done
echo "== cut_bench.sh ($size MB)"
for arch in "${archs[@]}"; do
    echo "  $arch:"
    "$here/cut_bench.sh" "$root/$arch/bench/cut_bench.exe" "$size" "$work/cutdata" 2>&1 | sed 's/^/    /'
done
echo "== watch_bench.sh"
for arch in "${archs[@]}"; do
    echo "  $arch:"
    "$here/watch_bench.sh" "$root/$arch/bench/watch_bench.exe" 2>&1 | sed 's/^/    /'
done
