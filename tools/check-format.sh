#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that the tracked C++ files are formatted as .clang-format says and that
# every tracked source file starts with its licence line (tools/add-spdx.sh).
#   tools/check-format.sh         check; fail naming what is off
#   tools/check-format.sh --fix   format the C++ files in place and add the missing licence lines
# The *.inc tables are left out of formatting: they are the bodies of
# initialisers, which clang-format cannot lay out on their own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  echo "check-format: $root is not a git checkout; nothing checked"
  exit 0
fi
files=()
while IFS= read -r f; do
  [[ -f $f ]] && files+=("$f")
done < <(git ls-files -- '*.cpp' '*.h')

if [[ ${1:-} == --fix ]]; then
  clang-format -i "${files[@]}"
  "$root/tools/add-spdx.sh"
  exit 0
fi

status=0
if ! clang-format --dry-run -Werror "${files[@]}" 2>"${TMPDIR:-/tmp}/check-format.$$"; then
  grep -o '^[^:]*\.\(cpp\|h\):' "${TMPDIR:-/tmp}/check-format.$$" | sort -u | sed 's/:$//; s/^/not formatted: /'
  echo "clang-format would change the files above; tools/check-format.sh --fix formats them" >&2
  status=1
fi
rm -f "${TMPDIR:-/tmp}/check-format.$$"
"$root/tools/add-spdx.sh" --check || status=1
[[ $status -eq 0 ]] && echo "format and licence lines: ok (${#files[@]} C++ files)"
exit $status
