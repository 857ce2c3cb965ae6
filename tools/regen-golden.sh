#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Regenerates the stored expected reports in tests/data/report with tessaly-cli,
# by the same commands the tests compare against (tests/cli/report_check.sh
# 'stored' and the StoredReport tests of tests/unit/report_test.cpp), in the
# tests' locale and time zone. Read the differences before committing them.
#   tools/regen-golden.sh [BUILD_DIR]     (default: build; tessaly-cli is built there first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
data="$root/tests/data/report"

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target tessaly-cli
cli="$build/bin/tessaly-cli"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# As tests/CMakeLists.txt sets them for the tests.
export LANG=C.UTF-8 LC_ALL=C.UTF-8 TZ=Asia/Shanghai
export HOME="$scratch/home" XDG_CACHE_HOME="$scratch/cache"
mkdir -p "$HOME" "$XDG_CACHE_HOME"

# The default readings, printed.
"$cli" report --name 张小明 --birthday 2005-03-02 --hour 子时 >"$scratch/default_2005-03-02.txt"
# The seven original readings (all but bazi, whose 流年 follows the clock), as the page.
"$cli" report --name 欧阳雨辰 --surname 复姓 --sex 女 --birthday 2004-03-21 --hour 午时 \
  --mobile 13912340080 --mother-age 31 --pregnancy-month 07 --conception-age 42 --wish 女孩 \
  --readings name,lifetime,zodiac,star,mobile,sex,conception --page "$scratch/all_2004-03-21.htm" >/dev/null

for f in default_2005-03-02.txt all_2004-03-21.htm; do
  mv "$scratch/$f" "$data/$f"
done
if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git -C "$root" diff --stat -- tests/data/report
fi
echo "regenerated: tests/data/report/default_2005-03-02.txt tests/data/report/all_2004-03-21.htm"
