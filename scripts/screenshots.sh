#!/bin/bash
# Renews the screenshots of the README (docs/*.png) from the real program: the shipped 32-bit
# Kelvora.exe runs under Wine in a fresh prefix on a private Xvfb display, with a prepared list of
# log files, and ImageMagick's import captures the main window, the entry dialog and the cut
# confirmation, and the main window again on a screen at 150 %. Needs the i686 build (scripts/build.sh) and a machine that runs 32-bit programs.
# scripts/install-deps.sh installs the tools it uses (xvfb, xdotool, imagemagick, fonts-wine).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
exe=$top/build/i686/Kelvora.exe
out=$top/docs
[ -f "$exe" ] || { echo "build/i686/Kelvora.exe is missing: run scripts/build.sh first" >&2; exit 1; }
if ! reason=$("$top/scripts/runs-32bit.sh"); then
    echo "the shipped 32-bit program cannot run here: $reason" >&2
    exit 1
fi

export TZ=UTC  # the dates in the list are the file times below, whatever the machine's zone
session=$(mktemp -d /tmp/kelvora-shots.XXXXXX)
trap '"$top/tests/wine/session.sh" stop "$session"' EXIT
"$top/tests/wine/session.sh" start "$session" i686 >/dev/null
. "$session/env"

wine_run() { "$KELVORA_WINE" "$@" >/dev/null 2>&1 </dev/null; }
setting() { wine_run reg add 'HKCU\Software\Brisnel\Kelvora\Main' /v "$1" /t "$2" /d "$3" /f; }

# The logs and the list. A row is unread when its log was written after the user last opened it
# through the list; its date is the log's last write.
drive=$WINEPREFIX/drive_c
log() {  # Windows path, last write
    local file=$drive/${1#C:\\}
    file=${file//\\//}
    mkdir -p "$(dirname "$file")"
    printf '%s start\r\n' "$2" >"$file"
    touch -d "$2 UTC" "$file"
}
list=""
row() {  # log file name, list name, last opened ("" = never); the browser is Notepad
    local seen="0,0"
    if [ -n "$3" ]; then  # a Windows file time, low and high half, as the list file stores it
        local t=$(( ($(date -u -d "$3 UTC" +%s) + 11644473600) * 10000000 ))
        seen="$(( t & 0xFFFFFFFF )),$(( t >> 32 ))"
    fi
    list+="$1,C:\\windows\\notepad.exe,$2,$seen"$'\r\n'
}
# The date macros stand for 2026-12-05 (set below), so access#$%.log names access261205.log.
log 'C:\logs\web\access261205.log' '2026-12-05 09:41'
log 'C:\logs\web\error.log' '2026-12-05 08:12'
log 'C:\logs\db\slow-query.log' '2026-12-04 23:05'
log 'C:\logs\batch\nightly.log' '2026-12-04 03:30'
log 'C:\logs\mail\maillog.txt' '2026-12-02 17:20'
log 'C:\logs\backup\backup.log' '2026-11-28 02:00'
row 'C:\logs\web\access#$%.log' 'Web サーバー|アクセス ログ' '2026-12-04 18:00'
row 'C:\logs\web\error.log' 'Web サーバー|エラー ログ' '2026-12-03 10:00'
row 'C:\logs\db\slow-query.log' 'データベース|スロー クエリ' '2026-12-05 09:00'
row 'C:\logs\batch\nightly.log' '夜間バッチ|実行結果' ''
row 'C:\logs\mail\maillog.txt' 'メール サーバー|配送ログ' '2026-12-03 08:00'
row 'C:\logs\backup\backup.log' 'バックアップ|結果' '2026-11-29 09:00'
row 'C:\logs\old\setup.log' 'セットアップ|記録' ''  # its log is gone: **/**
data=$drive/users/$(id -un)/AppData/Local/Brisnel/Kelvora
mkdir -p "$data"
printf '%s' "$list" | iconv -f UTF-8 -t CP932 >"$data/Kelvora.dat"

setting SortList REG_DWORD 1      # newest first
setting MacroAuto REG_DWORD 0
setting MacroYear REG_SZ 26
setting MacroMon REG_SZ 12
setting MacroDay REG_SZ 05
setting XpUpdate REG_DWORD 1
setting TabStop REG_DWORD 8       # the list names have a column each side of their |
setting WindowRect REG_BINARY 10000000100000004802000028010000   # x 16, y 16, 584 x 296

# Wine draws the caption buttons with the Marlett font, which it takes only from the prefix.
cp /usr/share/wine/fonts/marlett.ttf "$drive/windows/Fonts/"
# Without a window manager Wine activates no top-level window (it waits for the manager's
# WM_TAKE_FOCUS), so the main window's caption is drawn inactive: here the inactive caption takes
# the colours of Wine's active one, which the dialogs show.
colour() { wine_run reg add 'HKCU\Control Panel\Colors' /v "$1" /t REG_SZ /d "$2" /f; }
colour InactiveTitle '50 150 250'
colour GradientInactiveTitle '50 150 250'
colour InactiveTitleText '0 0 0'

"$KELVORA_WINE" "$exe" >/dev/null 2>&1 </dev/null &

# The X window of a top-level window by its exact title, waited for at most 15 s.
window() {
    for _ in $(seq 150); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) && [ -n "$id" ] && { echo "$id"; return; }
        sleep 0.1
    done
    echo "no window \"$1\" appeared" >&2
    return 1
}
shoot() {  # window id, file
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove $((X + WIDTH + 40)) $((Y + HEIGHT + 40))  # no tooltip, no hot button
    sleep 1  # drawn completely
    import -window "$1" "$out/$2"
    echo "docs/$2"
}

shoot "$(window 'Ｋｅｌｖｏｒａ')" main-window.png

xdotool key alt+e
shoot "$(window 'リストの編集')" entry-dialog.png
xdotool key Escape
sleep 0.5

xdotool key alt+c
shoot "$(window '指定文字列列カット処理')" cut-confirmation.png
xdotool key Escape

# The main window at 150 %: the program is started anew on a screen of 144 DPI, its place and size
# one and a half times the ones above.
sleep 0.5  # the box has gone and the main window has the keys again
xdotool key alt+F4
for _ in $(seq 100); do
    xdotool search --onlyvisible --name '^Ｋｅｌｖｏｒａ$' >/dev/null 2>&1 || break
    sleep 0.1
done
if xdotool search --onlyvisible --name '^Ｋｅｌｖｏｒａ$' >/dev/null 2>&1; then
    echo "the main window did not close" >&2
    exit 1
fi
wine_run reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f
setting WindowRect REG_BINARY 18000000180000006c030000bc010000   # x 24, y 24, 876 x 444
"$KELVORA_WINE" "$exe" >/dev/null 2>&1 </dev/null &
shoot "$(window 'Ｋｅｌｖｏｒａ')" main-window-150.png
xdotool key alt+F4
