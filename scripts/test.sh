#!/usr/bin/env bash
# Installs what is needed, then builds and runs every test twice: a normal
# build, and one under AddressSanitizer and UndefinedBehaviorSanitizer that
# halts on the first error.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"

run_tests() {
  ctest --test-dir "$1" --output-on-failure --parallel "$(nproc)"
}

"$root/scripts/build.sh" "$root/build/normal"
run_tests "$root/build/normal"

"$root/scripts/build.sh" "$root/build/sanitize" -DVELMAR_SANITIZE=ON
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  run_tests "$root/build/sanitize"
