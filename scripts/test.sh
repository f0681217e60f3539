#!/usr/bin/env bash
# Installs what is needed, then builds and runs every test twice: a normal
# build, and one under AddressSanitizer and UndefinedBehaviorSanitizer that
# halts on the first error; then runs every fuzz target briefly.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"

run_tests() {
  ctest --test-dir "$1" --output-on-failure --parallel "$(nproc)"
}

# Both test builds optimise lightly with line tables only: at -O2 -g a
# sanitized test file takes over twice as long to compile, and CI must stay
# within its time on two cores.
test_flags=(-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1")

"$root/scripts/build.sh" "$root/build/normal" "${test_flags[@]}"
run_tests "$root/build/normal"

"$root/scripts/build.sh" "$root/build/sanitize" "${test_flags[@]}" -DVELMAR_SANITIZE=ON
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  run_tests "$root/build/sanitize"

# Every fuzz target briefly under libFuzzer (clang), from its kept corpus.
"$root/scripts/fuzz.sh" --every 2
