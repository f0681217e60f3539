#!/usr/bin/env bash
# Runs one fuzz target under libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer:
#
#   scripts/fuzz.sh TARGET SECONDS [libFuzzer options...]
#   scripts/fuzz.sh --every SECONDS
#
# The second form (CI) runs every target for SECONDS from its seeds and kept
# corpus, keeps nothing, and fails when any target finds a failing input.
#
# The targets are built with clang in build-fuzz (VELMAR_FUZZ_BUILD for
# another folder). The run starts from the target's seeds and kept corpus
# with its dictionary, grows a working corpus in the build folder and at the
# end merges what adds coverage into the kept corpus (fuzz/<lib>/corpus/
# TARGET), minimised. Every failing input is copied to fuzz/<lib>/crashes/
# TARGET, which ctest replays from then on. The last line sums the run up:
# executions, coverage (cov: edges, ft: features) and failures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -lt 2 ]; then
  echo "usage: $0 TARGET SECONDS [libFuzzer options...] | $0 --every SECONDS" >&2
  exit 2
fi
target=$1
seconds=$2
shift 2

build=${VELMAR_FUZZ_BUILD:-$root/build-fuzz}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
  -DVELMAR_SANITIZE=ON -DVELMAR_LIBFUZZER=ON -DVELMAR_APP=OFF >/dev/null
export XDG_DATA_HOME=$build/test-data-home
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

# Sets home, seeds, binary and options of the target $1.
describe() {
  home=$(sed -n 1p "$build/fuzz-targets/$1")
  seeds=$(sed -n 2p "$build/fuzz-targets/$1")
  binary=$build/${home#"$root/"}/$1
  options=()
  [ -f "$home/$1.dict" ] && options+=(-dict="$home/$1.dict")
  return 0
}

if [ "$target" = --every ]; then
  targets=$(ls "$build/fuzz-targets")
  # shellcheck disable=SC2086
  cmake --build "$build" --parallel "$(nproc)" --target $targets
  failed=0
  for each in $targets; do
    describe "$each"
    work=$build/fuzz-runs/every/$each
    rm -rf "$work"
    mkdir -p "$work/corpus" "$work/artifacts"
    corpora=("$seeds")
    [ -d "$home/corpus/$each" ] && corpora+=("$home/corpus/$each")
    if "$binary" -max_total_time="$seconds" "${options[@]}" -artifact_prefix="$work/artifacts/" \
      -rss_limit_mb=2560 "$work/corpus" "${corpora[@]}" >"$work/log" 2>&1; then
      echo "$each: $(grep -E '^Done [0-9]+ runs' "$work/log" | tail -n 1)," \
        "$(grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$work/log" | tail -n 1)"
    else
      failed=1
      tail -n 40 "$work/log"
      echo "$each FAILED; the failing input is in $work/artifacts" >&2
    fi
  done
  exit "$failed"
fi

if [ ! -f "$build/fuzz-targets/$target" ]; then
  echo "no fuzz target $target (see $build/fuzz-targets)" >&2
  exit 2
fi
describe "$target"
cmake --build "$build" --parallel "$(nproc)" --target "$target"
kept=$home/corpus/$target
crashes=$home/crashes/$target
work=$build/fuzz-runs/$target
mkdir -p "$kept" "$work/corpus" "$work/artifacts"
rm -f "$work/artifacts"/*

status=0
"$binary" -max_total_time="$seconds" "${options[@]}" -artifact_prefix="$work/artifacts/" \
  -print_final_stats=1 "$@" "$work/corpus" "$kept" "$seeds" 2>&1 | tee "$work/log" || status=$?

# Minimise: the kept corpus becomes the smallest set of the kept and the
# new inputs that covers every edge they cover. Hit counts are left out of
# the choice (-use_counters=0), which keeps the corpus in git a few hundred
# small files rather than thousands; the run's own corpus keeps them all.
rm -rf "$work/merged"
mkdir -p "$work/merged"
"$binary" -merge=1 -use_counters=0 "$@" "$work/merged" "$kept" "$work/corpus" >"$work/merge.log" 2>&1
rm -rf "$kept"
mv "$work/merged" "$kept"

found=0
for artifact in "$work/artifacts"/*; do
  [ -f "$artifact" ] || continue
  mkdir -p "$crashes"
  cp "$artifact" "$crashes/"
  found=$((found + 1))
  echo "kept failing input: ${crashes#"$root/"}/$(basename "$artifact")"
done

executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n 1)
coverage=$(grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$work/log" | tail -n 1)
echo "$target: ${executions:-0} executions in ${seconds} s, ${coverage:-cov: 0 ft: 0}," \
  "$found failing inputs, $(find "$kept" -type f | wc -l) inputs in the kept corpus"
exit "$status"
