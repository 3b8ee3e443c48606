#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz) with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/ and runs each for SECONDS (default 60) from a
# scratch copy of its seed corpus (tests/fuzz/corpus/<target>), so the repository is left as
# it is. Exits non-zero when any target finds something: its output and the input that broke
# it (crash-*, timeout-*, leak-*, oom-*) stay in the scratch folder, whose path is printed.
# A finding becomes a seed of the target's corpus and a unit test of the normal suite.
#   HEXCAVATOR_FUZZ_BUILD   the build folder (default build-fuzz in the worktree)
#   HEXCAVATOR_FUZZ_TARGETS the targets to run, blank-separated (default: every one)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=$(realpath -m "${HEXCAVATOR_FUZZ_BUILD:-build-fuzz}")
./scripts/setup.sh clang-14 libclang-rt-14-dev libfuzzer-14-dev
targets=${HEXCAVATOR_FUZZ_TARGETS:-$(cd tests/fuzz && ls ./*.cpp | sed 's|^\./||; s|\.cpp$||')}

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DHEXCAVATOR_FUZZ=ON -DHEXCAVATOR_SANITIZE=ON "${launcher[@]}" >/dev/null
cmake --build "$build" --target $(for t in $targets; do echo "fuzz_$t"; done)

# Scratch on a memory file system where there is one: the targets write and sync small files
# at every run.
base=/tmp
[ -d /dev/shm ] && [ -w /dev/shm ] && base=/dev/shm
scratch=$(mktemp -d "$base/hexcavator-fuzz.XXXXXX")
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
failed=()
for t in $targets; do
  work="$scratch/$t"
  mkdir -p "$work/corpus" "$work/tmp"
  cp -r "tests/fuzz/corpus/$t/." "$work/corpus/" 2>/dev/null || true
  if (cd "$work" && TMPDIR="$work/tmp" "$build/tests/fuzz/fuzz_$t" -max_total_time="$seconds" \
        -timeout=10 -rss_limit_mb=2048 -max_len=4096 -print_final_stats=1 corpus >log.txt 2>&1); then
    stats=$(grep -o 'exec/s: [0-9]*' "$work/log.txt" | tail -1 || true)
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/log.txt" | grep -o '[0-9]*$' || true)
    echo "fuzz $t: clean, ${runs:-?} runs, ${stats:-exec/s: ?}"
  else
    echo "fuzz $t: FOUND SOMETHING (see $work/log.txt):"
    grep -E 'ERROR|check failed|runtime error|SUMMARY|Test unit written' "$work/log.txt" | head -10 || true
    failed+=("$t")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in ${failed[*]}; inputs and logs in $scratch"
  exit 1
fi
rm -rf "$scratch"
