#!/usr/bin/env bash
# A short bounded run of every fuzz target (clang, libFuzzer, sanitizers on).
# Replays the inputs that once broke a reader, then fuzzes each target for FUZZ_SECONDS.
#   bash scripts/fuzz.sh            build and run
#   bash scripts/fuzz.sh --build    build only (JOBS parallel jobs, default all cores)
#   bash scripts/fuzz.sh --run      run what was built
# Fails when clang is missing (scripts/deps.sh installs it).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="${JOBS:-$(nproc)}"
mode="${1:-all}"

if ! command -v clang++ >/dev/null || ! command -v clang >/dev/null; then
  echo "fuzz: clang is missing; run scripts/deps.sh (Debian packages clang and libclang-rt-14-dev)" >&2
  exit 1
fi
fuzzers=$(cd fuzz && ls *.cpp | sed 's/\.cpp$//; s/^/fuzz_/')

if [ "$mode" != "--run" ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDROVALIN_FUZZ=ON \
    -DDROVALIN_SANITIZE=ON -DDROVALIN_TESTS=OFF -DDROVALIN_BENCH=OFF >/dev/null
  # shellcheck disable=SC2086
  cmake --build build-fuzz -j"$jobs" --target $fuzzers
fi
[ "$mode" = "--build" ] && exit 0

for f in $fuzzers; do
  corpus="build-fuzz/corpus/$f"
  mkdir -p "$corpus"
  echo "fuzz: $f"
  # First the inputs that once broke it, then new ones for a bounded time.
  if [ -d "fuzz/regressions/$f" ]; then
    (cd build-fuzz && UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 "./fuzz/$f" ../fuzz/regressions/"$f"/* \
      >"$f.regressions.log" 2>&1) || { tail -n 60 "build-fuzz/$f.regressions.log"; echo "fuzz regression of $f failed"; exit 1; }
  fi
  if ! (cd build-fuzz && UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
      "./fuzz/$f" -max_total_time="${FUZZ_SECONDS:-10}" "../$corpus" "../fuzz/seeds/$f" >"$f.log" 2>&1); then
    tail -n 60 "build-fuzz/$f.log"
    echo "fuzz target $f failed"
    exit 1
  fi
  grep -E "^Done|^#[0-9]+ +DONE" "build-fuzz/$f.log" | tail -n 1 || true
done
