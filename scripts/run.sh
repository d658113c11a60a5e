#!/bin/bash
# Installs what is missing, builds Kelvora and starts it under Wine on your display.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
export WINEPREFIX=${WINEPREFIX:-$HOME/.local/share/kelvora/wine}
export LC_ALL=ja_JP.UTF-8 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
mkdir -p "$WINEPREFIX"
exec /usr/lib/wine/wine64 "$top/build/x86_64/Kelvora.exe"
