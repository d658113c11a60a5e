#!/bin/bash
# Installs the Debian packages that building and testing Kelvora need, and the ja_JP.UTF-8 locale
# (under it Wine's ANSI code page is 932). Does nothing when everything is there already.
set -euo pipefail
packages=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-i686-dev mingw-w64-x86-64-dev
          wine wine64 xvfb xdotool locales fonts-ipafont-gothic googletest cmake make imagemagick fp-utils
          python3 file binutils-mingw-w64-i686 binutils-mingw-w64-x86-64)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update
    # wine32 must never come in: 32-bit programs cannot run on these machines and it breaks the wine wrapper.
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    $sudo sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen
fi
