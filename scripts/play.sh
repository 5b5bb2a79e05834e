#!/usr/bin/env bash
# Installs what is missing, builds the game and runs it on the bundled content.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target drovalin
cd build && exec ./drovalin
