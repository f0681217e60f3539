#!/usr/bin/env bash
# Installs what is needed, builds the program and runs its main job.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build/normal" -DVELMAR_TESTS=OFF
"$root/build/normal/cli/velmar-restore" "$@"
