#!/bin/bash
# Starts or stops the Wine session of one test run:
#   session.sh start DIR ARCH   fresh prefix in DIR/prefix, private Xvfb display, persistent wineserver;
#                               ARCH (i686 or x86_64) picks the loader the test programs run with
#   session.sh stop DIR         ends the wineserver and Xvfb and removes the prefix
# DIR/env holds the variables that wine-exec.sh reads.
set -eu
action=$1
dir=$2
arch=${3:-x86_64}
wine=/usr/lib/wine/wine64
case $arch in
i686) loader=/usr/lib/wine/wine ;;
x86_64) loader=$wine ;;
*) echo "unknown architecture $arch" >&2; exit 2 ;;
esac
wineserver=/usr/lib/wine/wineserver

stop() {
    if [ -f "$dir/env" ]; then
        . "$dir/env"
        "$wineserver" -k >/dev/null 2>&1 || true
        "$wineserver" -w >/dev/null 2>&1 || true
    fi
    if [ -f "$dir/xvfb.pid" ]; then
        kill "$(cat "$dir/xvfb.pid")" >/dev/null 2>&1 || true
    fi
    rm -rf "$dir"
}

case $action in
stop)
    stop
    ;;
start)
    stop
    mkdir -p "$dir"
    # Xvfb picks a free display itself and tells its number through fd 3.
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" \
        >"$dir/xvfb.log" 2>&1 </dev/null &
    echo $! >"$dir/xvfb.pid"
    for _ in $(seq 100); do
        [ -s "$dir/display" ] && break
        sleep 0.1
    done
    [ -s "$dir/display" ] || { echo "Xvfb did not start" >&2; cat "$dir/xvfb.log" >&2; exit 1; }
    cat >"$dir/env" <<ENV
export WINEPREFIX='$dir/prefix'
export WINEDEBUG=-all
export LC_ALL=ja_JP.UTF-8
export DISPLAY=:$(tr -d '\n' <"$dir/display")
export WINEDLLOVERRIDES='mscoree,mshtml='
export KELVORA_WINE='$loader'
ENV
    . "$dir/env"
    "$wine" wineboot -i >/dev/null 2>&1 </dev/null || true
    "$wineserver" -w
    # Without a window manager Wine waits about 2 s for every closing dialog unless it manages
    # the windows itself.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
    # A crashing test program ends at once instead of waiting in the debugger (32-bit programs
    # read the key from the registry's 32-bit view).
    for view in 64 32; do
        "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d '' \
            /f /reg:$view >/dev/null 2>&1 </dev/null
    done
    "$wineserver" -k >/dev/null 2>&1 || true
    "$wineserver" -w
    setsid "$wineserver" -p >/dev/null 2>&1 </dev/null &
    # The first program of a server session starts Wine's services, which keep the standard
    # handles they inherit for ever: let them inherit nothing that a caller waits on.
    "$wine" cmd /c exit >/dev/null 2>&1 </dev/null
    echo "Wine session ready: $WINEPREFIX on display $DISPLAY"
    ;;
*)
    echo "usage: $0 start|stop DIR" >&2
    exit 2
    ;;
esac
