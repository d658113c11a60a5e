#!/bin/bash
# Installs the Debian packages that building and testing Kelvora need, and the ja_JP.UTF-8 locale
# (under it Wine's ANSI code page is 932). Does nothing when everything is there already.
#
# 32-bit Wine (wine32:i386) comes in only where this machine runs 32-bit programs: elsewhere it
# breaks the wine wrapper. scripts/runs-32bit.sh finds out by running a tiny i386 program.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
packages=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-i686-dev mingw-w64-x86-64-dev
          wine wine64 xvfb xdotool locales fonts-ipafont-gothic googletest cmake make imagemagick fp-utils
          nsis zip unzip python3 file binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 fonts-wine)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

if reason=$("$here/runs-32bit.sh"); then
    dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
    packages+=(wine32:i386)
else
    echo "32-bit programs do not run on this machine ($reason): wine32 is left out and the i686 test suite will be skipped."
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    $sudo sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen
fi
