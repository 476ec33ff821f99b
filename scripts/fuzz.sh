#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang (libFuzzer, AddressSanitizer, UndefinedBehavior-
# Sanitizer) into build-fuzz/ and runs each for a bounded time from its seeds. Fails on any
# crash, leak, hang or sanitizer report; the input that caused it is left in
# build-fuzz/artifacts/ and the fuzzer's output in build-fuzz/logs/. Prints, per target, the
# executions done in the time it had.
#
#   scripts/fuzz.sh [SECONDS_PER_TARGET [TARGET...]]     (default 8 seconds, every target)
#
# The seeds in fuzz/corpus/ are only read; what a run learns goes to build-fuzz/corpus/, so the
# next run on this machine starts from there.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh

seconds=${1:-8}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(ini table_file table_json registry dxf host_script)

# The largest input each target is given: enough for every seed (longer seeds are cut), small
# enough that mutations stay quick.
declare -A max_len=([ini]=8192 [table_file]=8192 [table_json]=8192 [registry]=4096
                    [dxf]=32768 [host_script]=1024)

out=build-fuzz
if [ ! -f "$out/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$out" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" \
    -DVEXTABLE_FUZZ=ON -DVEXTABLE_BUILD_TESTS=OFF -DVEXTABLE_BUILD_BENCH=OFF > /dev/null
fi
cmake --build "$out" --target vextable_fuzzers -j2

# Scratch files of the targets on a memory file system where there is one: the readers'
# atomic saves flush every file to disk.
scratch_root=/tmp
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch_root=/dev/shm
mkdir -p "$out/artifacts" "$out/logs"
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=0:symbolize=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

failed=()
total_runs=0
start=$SECONDS
for t in "${targets[@]}"; do
  corpus="$root/$out/corpus/$t"
  log="$root/$out/logs/$t.log"
  mkdir -p "$corpus"
  # A unit that runs 20 s is a hang even on a machine busy with other builds.
  args=(-max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len="${max_len[$t]:-4096}"
        -print_final_stats=1 -artifact_prefix="$root/$out/artifacts/$t-")
  [ -f "fuzz/dict/$t.dict" ] && args+=(-dict="$root/fuzz/dict/$t.dict")
  scratch=$(mktemp -d "$scratch_root/vextable-fuzz-$t.XXXXXX")
  # Paths are absolute: a target may change its current folder (the host's commands save there).
  status=0
  TMPDIR="$scratch" "$root/$out/fuzz/fuzz_$t" "${args[@]}" "$corpus" "$root/fuzz/corpus/$t" \
    > "$log" 2>&1 || status=$?
  rm -rf "$scratch"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  units=$(wc -l < <(find "$corpus" -type f))
  if [ "$status" -ne 0 ]; then
    failed+=("$t")
    echo "fuzz $t: FAILED (exit $status) after ${runs:-?} executions; see $log"
    grep -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error)' "$log" | head -5 || true
  else
    echo "fuzz $t: ${runs:-0} executions in ${seconds} s, corpus of $units inputs"
  fi
  total_runs=$((total_runs + ${runs:-0}))
done
echo "fuzz: ${total_runs} executions in $((SECONDS - start)) s over ${#targets[@]} targets"
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: faults found by: ${failed[*]}" >&2
  exit 1
fi
