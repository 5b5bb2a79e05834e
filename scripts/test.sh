#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the normal build, a short
# run of every fuzz target, then the same suite under AddressSanitizer +
# UndefinedBehaviorSanitizer (LeakSanitizer on). The three builds configure and
# build side by side when the machine has the cores for it (6 or more), each with
# a share of them; each stage prints its time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cores="$(nproc)"
start=$SECONDS

stage() {  # name, then the command
  local name="$1" began=$SECONDS
  shift
  "$@"
  echo "stage $name: $((SECONDS - began)) s"
}

build_normal() {
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j"$1"
}
build_asan() {
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DDROVALIN_SANITIZE=ON -DDROVALIN_BENCH=OFF >/dev/null
  cmake --build build-asan -j"$1"
}
build_fuzz() { JOBS="$1" bash scripts/fuzz.sh --build; }

if [ "$cores" -ge 6 ]; then
  share=$(( (cores + 2) / 3 ))
  mkdir -p build-logs
  pids=()
  for b in normal asan fuzz; do
    ( stage "build-$b" "build_$b" "$share" >"build-logs/$b.log" 2>&1 ) &
    pids+=($!)
  done
  failed=0
  i=0
  for b in normal asan fuzz; do
    if ! wait "${pids[$i]}"; then
      tail -n 40 "build-logs/$b.log"
      echo "build of $b failed"
      failed=1
    fi
    grep "^stage " "build-logs/$b.log" || true
    i=$((i + 1))
  done
  [ "$failed" -eq 0 ] || exit 1
else
  stage build-normal build_normal "$cores"
  stage build-fuzz build_fuzz "$cores"
  stage build-asan build_asan "$cores"
fi

stage test-normal ctest --test-dir build -j"$cores" --output-on-failure --timeout 300
stage fuzz bash scripts/fuzz.sh --run
stage test-asan ctest --test-dir build-asan -j"$cores" --output-on-failure --timeout 600
echo "all stages: $((SECONDS - start)) s"
