#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang and runs each for a bounded time.
#   tools/fuzz.sh [SECONDS_PER_TARGET]     (default 15: the smoke run of the tests)
# A longer run: tools/fuzz.sh 3600. New inputs are kept in build-fuzz/corpus/<target>;
# the seeds in tests/fuzz/corpus stay as they are.
set -euo pipefail
seconds=${1:-15}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTESSALY_FUZZ=ON -DTESSALY_BUILD_GUI=OFF -DBUILD_TESTING=OFF -DTESSALY_BUILD_BENCH=OFF > /dev/null
cmake --build "$build" -j"$(nproc)"
status=0
for bin in "$build"/fuzz/fuzz_*; do
  name=$(basename "$bin")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  seeds="$root/tests/fuzz/corpus/${name#fuzz_}"
  log="$build/$name.log"
  if ASAN_OPTIONS=detect_leaks=0 "$bin" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$build/$name-" "$corpus" "$seeds" > "$log" 2>&1; then
    execs=$(grep -a -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}')
    echo "$name: ${execs:-?} executions in ${seconds}s, no failure"
  else
    echo "$name: FAILED (see $log)"; tail -30 "$log"; status=1
  fi
done
exit $status
