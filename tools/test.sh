#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the normal
# build, then the address/undefined-behaviour sanitizer build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
"$root/tools/install-deps.sh"

# Nothing a test does may land in the real home directory.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export HOME="$scratch/home" XDG_CACHE_HOME="$scratch/cache" XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -p "$HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1

echo "== build and test"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" -j"$jobs"
ctest --test-dir "$root/build" --output-on-failure -j"$jobs"

echo "== sanitizer build (address, undefined) and test"
cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSALY_SANITIZE=ON -DTESSALY_BUILD_BENCH=OFF
cmake --build "$root/build-asan" -j"$jobs"
ctest --test-dir "$root/build-asan" --output-on-failure -j"$jobs"

echo "== install and package checks"
"$root/tools/check-package.sh" "$root/build"

echo "== fuzz smoke run (libFuzzer, clang)"
"$root/tools/fuzz.sh" "${TESSALY_FUZZ_SECONDS:-10}"
