#!/usr/bin/env bash
# Installs what is needed, builds the program and runs its main job: without
# arguments on a built-in sample card (made damaged, verified, repaired and
# verified again); with arguments as velmar-restore with those arguments.
#
# It shares build/normal with scripts/test.sh and builds only velmar-restore
# there, leaving the folder's settings (tests on or off) as they are.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build/normal" --target velmar-restore
if [ "$#" -eq 0 ]; then set -- sample; fi
"$root/build/normal/cli/velmar-restore" "$@"
