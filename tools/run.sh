#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the program and tessaly-cli (the dev preset, build/) and
# starts the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
cd "$root"
cmake --preset dev
cmake --build --preset dev --target tessaly tessaly-cli
exec "$root/build/bin/tessaly" "$@"
