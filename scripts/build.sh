#!/bin/bash
# Builds both programs from the same sources: build/i686 (the shipped 32-bit Kelvora.exe) and
# build/x86_64 (runs and is tested under wine64).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
cmake -S "$top" -B "$top/build/i686" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-i686.cmake" >/dev/null
cmake --build "$top/build/i686" -j"$jobs"
cmake -S "$top" -B "$top/build/x86_64" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-x86_64.cmake" \
      -DKELVORA_I686_EXE="$top/build/i686/Kelvora.exe" >/dev/null
cmake --build "$top/build/x86_64" -j"$jobs"
