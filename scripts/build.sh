#!/bin/bash
# Builds both programs from the same sources, each with its test and benchmark programs:
# build/i686 (the shipped 32-bit Kelvora.exe) and build/x86_64.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
for arch in i686 x86_64; do
    cmake -S "$top" -B "$top/build/$arch" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-$arch.cmake" >/dev/null
    cmake --build "$top/build/$arch" -j"$jobs"
done
