#!/usr/bin/env bash
# Fuzzes the whole dump with libFuzzer under ASan and UBSan: each input is
# dumped by the program's code with the shipped buffer sizes and with small
# ones, and by the reference dump, and the three must agree.
#   tools/fuzz.sh SECONDS [JOBS]
# The corpus starts from tests/fuzz/corpus, the bundled sample, every
# fixture of the process tests and files from the tests' generator (long
# names, long bodies, lists that run past their item). New inputs stay in build-fuzz/corpus; a crash
# is written to build-fuzz/crashes and ends the run with status 1. To keep
# the new inputs, merge them into the committed corpus:
#   build-fuzz/dump_fuzzer -merge=1 tests/fuzz/corpus build-fuzz/corpus
# CXX names the compiler, clang++ unless it is set (CXX=clang++-16, say).
set -euo pipefail
seconds=${1:?usage: tools/fuzz.sh SECONDS [JOBS]}
jobs=${2:-1}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"

# A build folder keeps the compiler it was first configured with: one made
# with another compiler is configured afresh.
compiler=$(command -v "${CXX:-clang++}") || { echo "tools/fuzz.sh: no compiler ${CXX:-clang++} here" >&2; exit 1; }
fresh=()
[ "$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null)" = "$compiler" ] || fresh=(--fresh)
cmake -S "$root" --preset fuzz "${fresh[@]}" -DCMAKE_CXX_COMPILER="$compiler" >/dev/null
cmake --build "$build" --target dump_fuzzer dump_fuzzer_planted_fault symtext_reference_tool -j "$(nproc)" >/dev/null

mkdir -p "$build/corpus" "$build/seeds" "$build/crashes"
cp "$root/tests/fuzz/corpus/"* "$build/corpus/" 2>/dev/null || true
cp "$root/examples/sample.sym" "$build/seeds/"
reference="$build/tests/reference/symtext_reference"
# Every fixture of the process tests and their generated files of up to 256 KiB.
python3 "$root/tests/process_test.py" --write-seeds "$build/seeds" --reference "$reference" \
  --examples "$root/examples" >/dev/null

cd "$build"
# The fuzzing can only fail if a wrong dump ends it with a kept input: the
# build whose every dump is wrong must do so on the sample.
rm -rf planted && mkdir -p planted/corpus && cp seeds/sample.sym planted/corpus/
if ./dump_fuzzer_planted_fault -runs=0 -artifact_prefix=planted/ planted/corpus >planted/log 2>&1 ||
  ! grep -q '^shipped sizes: ' planted/log || ! ls planted/crash-* >/dev/null 2>&1; then
  echo "tools/fuzz.sh: a wrong dump does not fail the fuzzing; see $build/planted/log" >&2
  exit 1
fi

fork=()
[ "$jobs" -gt 1 ] && fork=(-fork="$jobs")
set +e
./dump_fuzzer "${fork[@]}" -max_total_time="$seconds" -max_len=262144 -timeout=10 \
  -print_final_stats=1 -artifact_prefix="$build/crashes/" corpus seeds >fuzz.log 2>&1
status=$?
set -e
grep -E '^(#[0-9]+ +DONE|Done|stat::|==[0-9]+==|SUMMARY|INFO: -fork)' fuzz.log || true
grep -E '^#[0-9]+: cov' fuzz.log | tail -1 || true # the last count of a run with JOBS > 1
if [ "$status" -ne 0 ] || ls "$build/crashes/"* >/dev/null 2>&1; then
  echo "tools/fuzz.sh: the fuzzer failed (status $status); see $build/fuzz.log and the inputs in $build/crashes:" >&2
  ls "$build/crashes/" >&2
  exit 1
fi
