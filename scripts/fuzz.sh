#!/usr/bin/env bash
# A short bounded run of every fuzz target (clang, libFuzzer, sanitizers on).
# Replays the inputs that once broke a reader, then fuzzes each target for FUZZ_SECONDS.
#   bash scripts/fuzz.sh            build and run
#   bash scripts/fuzz.sh --build    build only (JOBS parallel jobs, default all cores)
#   bash scripts/fuzz.sh --run      run what was built
# Fails when clang is missing (scripts/deps.sh installs it).
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
jobs="${JOBS:-$(nproc)}"
mode="${1:-all}"
# Corpus and artifact paths are absolute. Alignment reports from luabind are
# suppressed as in the tests.
export UBSAN_OPTIONS="suppressions=$root/tests/ubsan.supp:halt_on_error=1:print_stacktrace=1"

if ! command -v clang++ >/dev/null || ! command -v clang >/dev/null; then
  echo "fuzz: clang is missing; run scripts/deps.sh (Debian packages clang and libclang-rt-14-dev)" >&2
  exit 1
fi
fuzzers=$(cd fuzz && ls *.cpp | sed 's/\.cpp$//; s/^/fuzz_/')

if [ "$mode" != "--run" ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDROVALIN_FUZZ=ON \
    -DDROVALIN_SANITIZE=ON -DDROVALIN_TESTS=OFF -DDROVALIN_BENCH=OFF >/dev/null
  # Each target lives in a program folder of its own: drop programs of older builds.
  for old in build-fuzz/fuzz/fuzz_*; do if [ -f "$old" ]; then rm -f "$old"; fi; done
  # shellcheck disable=SC2086
  cmake --build build-fuzz -j"$jobs" --target $fuzzers
fi
[ "$mode" = "--build" ] && exit 0

for f in $fuzzers; do
  corpus="$root/build-fuzz/corpus/$f"
  mkdir -p "$corpus"
  echo "fuzz: $f"
  # First the inputs that once broke it, then new ones for a bounded time.
  if [ -d "fuzz/regressions/$f" ]; then
    (cd build-fuzz && "./fuzz/$f/$f" -timeout="${FUZZ_TIMEOUT:-30}" -artifact_prefix="$root/build-fuzz/" \
      "$root/fuzz/regressions/$f"/* \
      >"$f.regressions.log" 2>&1) || { tail -n 60 "build-fuzz/$f.regressions.log"; echo "fuzz regression of $f failed"; exit 1; }
  fi
  # An input that runs longer than FUZZ_TIMEOUT seconds is a hang, and one that asks
  # for more than 2 GB at once a finding too (libFuzzer's malloc limit).
  if ! (cd build-fuzz && "./fuzz/$f/$f" -max_total_time="${FUZZ_SECONDS:-10}" -timeout="${FUZZ_TIMEOUT:-30}" \
      -artifact_prefix="$root/build-fuzz/" \
      "$corpus" "$root/fuzz/seeds/$f" >"$f.log" 2>&1); then
    tail -n 60 "build-fuzz/$f.log"
    echo "fuzz target $f failed"
    exit 1
  fi
  grep -E "^Done|^#[0-9]+ +DONE" "build-fuzz/$f.log" | tail -n 1 || true
done
