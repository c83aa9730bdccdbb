#!/usr/bin/env bash
# Builds the program alone (no tests, so a compiler and CMake are all it
# needs) and dumps the bundled sample: the dump is shown, then the opaque
# kinds that symtext listed on standard output, then its note on standard
# error: the sample ends inside an item's header.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-program
cmake -S "$root" --preset program >/dev/null
cmake --build "$build" --target symtext -j "$(nproc)" >/dev/null
mkdir -p "$build/sample"
cd "$build/sample"
cp "$root/examples/sample.sym" .
"$build/symtext" sample.sym >console.txt 2>note.txt
cat OutPut.txt
echo "--- standard output: $(cat console.txt)"
echo "--- standard error: $(cat note.txt)"
