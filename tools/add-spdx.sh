#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the licence line first in every tracked source file that lacks it (after
# a #! line): "// SPDX-License-Identifier: GPL-3.0-or-later" in C++ files, the
# same after "#" in CMake, shell and Python files.
#   tools/add-spdx.sh [FILE...]           add it (default: every tracked source file)
#   tools/add-spdx.sh --check [FILE...]   only list the files that lack it; fail if any
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
licence="SPDX-License-Identifier: GPL-3.0-or-later"

check=false
if [[ ${1:-} == --check ]]; then
  check=true
  shift
fi

# The comment leader of a source file, or nothing for other files.
leader() {
  case $1 in
  *.cpp | *.h | *.inc) echo "//" ;;
  *.sh | *.py | *.cmake | CMakeLists.txt | */CMakeLists.txt) echo "#" ;;
  esac
}

if [[ $# -gt 0 ]]; then
  files=("$@")
else
  cd "$root"
  if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    echo "add-spdx: $root is not a git checkout; nothing to do"
    exit 0
  fi
  mapfile -t files < <(git ls-files -- '*.cpp' '*.h' '*.inc' '*.sh' '*.py' '*.cmake' 'CMakeLists.txt' '**/CMakeLists.txt')
fi

missing=0
for f in "${files[@]}"; do
  [[ -f $f ]] || continue
  lead=$(leader "$f")
  [[ -n $lead ]] || continue
  line="$lead $licence"
  first=$(head -n 1 "$f")
  if [[ $first == '#!'* ]]; then
    at=$(sed -n 2p "$f")
  else
    at=$first
  fi
  [[ $at == "$line" ]] && continue
  if $check; then
    echo "no licence line: $f"
    missing=$((missing + 1))
    continue
  fi
  tmp=$(mktemp)
  if [[ $first == '#!'* ]]; then
    { printf '%s\n%s\n' "$first" "$line"; tail -n +2 "$f"; } >"$tmp"
  else
    { printf '%s\n' "$line"; cat "$f"; } >"$tmp"
  fi
  cat "$tmp" >"$f" # keeps the file's mode
  rm -f "$tmp"
  echo "added: $f"
done

if $check && [[ $missing -ne 0 ]]; then
  echo "$missing file(s) lack the licence line; tools/add-spdx.sh adds it" >&2
  exit 1
fi
