#!/usr/bin/env bash
# Configures and builds one variant:
#   scripts/build.sh BUILD_DIR [cmake options] [--target TARGET]...
# A later -DCMAKE_BUILD_TYPE=... overrides the RelWithDebInfo default; with
# --target only those targets (and what they need) are built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
shift
options=()
targets=()
while [ $# -gt 0 ]; do
  if [ "$1" = --target ]; then
    targets+=(--target "$2")
    shift 2
  else
    options+=("$1")
    shift
  fi
done
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}"
cmake --build "$build" --parallel "$(nproc)" "${targets[@]}"
