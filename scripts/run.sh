#!/bin/bash
# Installs what is missing, builds Kelvora and starts it under Wine on your display: the shipped
# 32-bit program where this machine runs 32-bit programs, else the x86_64 build.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
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
