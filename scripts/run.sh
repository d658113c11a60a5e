#!/bin/bash
# Installs what is missing, builds Kelvora and starts it under Wine on your display: the shipped
# 32-bit program where this machine runs 32-bit programs, else the x86_64 build. Without a display
# (DISPLAY unset, as over ssh) it says so and what to do instead, before installing or building.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${DISPLAY:-}" ]; then
    cat >&2 <<'EOF'
scripts/run.sh: there is no display to show Kelvora on (DISPLAY is not set, as in an ssh session).
Start it from a desktop session (or over ssh -X), or see the program without a display:
    scripts/install-deps.sh && scripts/build.sh && scripts/screenshots.sh
which runs it on a private Xvfb display and saves its screenshots in docs/.
EOF
    exit 1
fi
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
export WINEPREFIX=${WINEPREFIX:-$HOME/.local/share/kelvora/wine}
export LC_ALL=ja_JP.UTF-8 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
mkdir -p "$WINEPREFIX"
if reason=$("$top/scripts/runs-32bit.sh"); then
    echo "Starting the shipped 32-bit program build/i686/Kelvora.exe"
    exec /usr/lib/wine/wine "$top/build/i686/Kelvora.exe"
fi
echo "Starting the x86_64 build build/x86_64/Kelvora.exe: $reason"
exec /usr/lib/wine/wine64 "$top/build/x86_64/Kelvora.exe"
