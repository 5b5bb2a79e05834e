#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the normal build, a short
# run of every fuzz target, then the same suite under AddressSanitizer +
# UndefinedBehaviorSanitizer (LeakSanitizer on).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs="$(nproc)"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build -j"$jobs" --output-on-failure --timeout 300

# Fuzz targets briefly (their own clang build).
bash scripts/fuzz.sh

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DDROVALIN_SANITIZE=ON -DDROVALIN_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan -j"$jobs" --output-on-failure --timeout 600
