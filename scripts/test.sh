#!/bin/bash
# Installs what is missing, builds both programs and runs every test under Wine.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
ctest --test-dir "$top/build/x86_64" --output-on-failure
