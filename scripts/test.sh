#!/usr/bin/env bash
# Installs what is needed, then builds and runs every test twice: a normal
# build, and one under AddressSanitizer and UndefinedBehaviorSanitizer that
# halts on the first error; builds the Release configuration and makes the
# Debian package of it, installs that package and runs the
# installed programs; then runs every fuzz target briefly.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
export VELMAR_DEPS_INSTALLED=1

# A build folder that found no test fails (a folder configured without
# tests, say), never passes empty.
run_tests() {
  ctest --test-dir "$1" --output-on-failure --no-tests=error --parallel "$(nproc)"
}

# Both test builds optimise lightly with line tables only: at -O2 -g a
# sanitized test file takes over twice as long to compile, and CI must stay
# within its time on two cores. Tests are asked for explicitly: the folders
# are shared with scripts/run-sample.sh.
test_flags=(-DVELMAR_TESTS=ON -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1")

"$root/scripts/build.sh" "$root/build/normal" "${test_flags[@]}"
run_tests "$root/build/normal"

"$root/scripts/build.sh" "$root/build/sanitize" "${test_flags[@]}" -DVELMAR_SANITIZE=ON
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  run_tests "$root/build/sanitize"

# The Release build (-O3) of what ships, which GCC warns of differently,
# made into the package that is installed here as a user installs it. Its
# tests are those of the two builds above: compiling them again at -O3
# would take CI past its time.
"$root/scripts/package.sh" "$root/build/release" -DVELMAR_TESTS=OFF
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --reinstall "$(ls "$root"/build/release/*.deb)"
installed=$(mktemp -d)
XDG_DATA_HOME=$installed TMPDIR=$installed /usr/bin/velmar-restore sample >"$installed/sample.log" ||
  { cat "$installed/sample.log"; exit 1; }
tail -n 3 "$installed/sample.log"
/usr/bin/velmar-restorer --version
rm -rf "$installed"

# Every fuzz target briefly under libFuzzer (clang), from its kept corpus.
"$root/scripts/fuzz.sh" --every 2
