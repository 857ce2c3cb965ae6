#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installed size of what the program needs at run time: the Debian packages
# owning the shared libraries that the programs and modules of a build tree
# load (what the package's shared-library dependencies come to), the package's
# fixed dependencies named in cmake/Install.cmake, and everything those depend
# on in turn (Depends and Pre-Depends, not Recommends). Prints the total in MB
# and, with -v, each package's size in kB.
#
#   bench/dependency_size.sh build [-v]
set -euo pipefail
build=${1:?usage: dependency_size.sh BUILD_DIR [-v]}
verbose=${2:-}
root=$(cd "$(dirname "$0")/.." && pwd)

files=("$build/bin/tessaly" "$build/bin/tessaly-cli")
for module in "$build"/lib/tessaly/*.so; do [ -e "$module" ] && files+=("$module"); done
mapfile -t libs < <(ldd "${files[@]}" | awk '$2 == "=>" && $3 ~ /^\// {print $3}' | sort -u)
mapfile -t packages < <(for lib in "${libs[@]}"; do
  dpkg -S "$(readlink -f "$lib")" 2>/dev/null || dpkg -S "$lib" 2>/dev/null || true
done | cut -d: -f1 | sort -u)
fixed=$(sed -n '/CPACK_DEBIAN_PACKAGE_DEPENDS/,/)/p' "$root/cmake/Install.cmake" |
  grep -o '"[^"]*"' | tr -d '"' | tr ',' '\n' | awk '{print $1}')
mapfile -t closure < <(apt-cache depends --recurse --installed --no-recommends --no-suggests \
  --no-conflicts --no-breaks --no-replaces --no-enhances "${packages[@]}" $fixed 2>/dev/null |
  grep -v '^ ' | grep -v '^<' | sort -u)
total=0
for p in "${closure[@]}"; do
  size=$(dpkg-query -W -f='${Installed-Size}' "$p" 2>/dev/null || echo 0)
  [ -n "$size" ] || size=0
  total=$((total + size))
  [ "$verbose" = -v ] && echo "$size $p"
done
echo "packages: ${#closure[@]}, installed size: $((total / 1024)) MB"
