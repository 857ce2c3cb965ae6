#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, then builds everything and runs every test: the
# development build (benchmarks included) and its tests, the sanitizer build
# and its tests, the install and package checks, a short run of each fuzzer, and
# the formatting and licence-line check. Nothing is installed into the system
# but the Debian packages the build needs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
"$root/tools/install-deps.sh"
cd "$root"

# Nothing a test does may land in the real home directory.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export HOME="$scratch/home" XDG_CACHE_HOME="$scratch/cache" XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -p "$HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen

echo "== development build (with the benchmarks) and tests"
cmake --preset dev -DTESSALY_BUILD_BENCH=ON
cmake --build --preset dev -j"$jobs"
ctest --preset dev -j"$jobs"

echo "== sanitizer build (address, leaks, undefined behaviour) and tests"
cmake --preset asan
cmake --build --preset asan -j"$jobs"
ctest --preset asan -j"$jobs"

echo "== install and package checks"
"$root/tools/check-package.sh" "$root/build"

echo "== fuzz smoke run (libFuzzer, clang)"
"$root/tools/fuzz.sh" "${TESSALY_FUZZ_SECONDS:-10}"

echo "== formatting and licence lines"
"$root/tools/check-format.sh"
