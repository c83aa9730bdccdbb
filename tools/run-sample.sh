#!/usr/bin/env bash
# Builds symtext and dumps the bundled sample: the dump is shown, then the
# opaque kinds that symtext listed on standard output, then its note on
# standard error: the sample ends inside an item's header.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" --preset release >/dev/null
cmake --build "$root/build" --target symtext -j "$(nproc)" >/dev/null
mkdir -p "$root/build/sample"
cd "$root/build/sample"
cp "$root/examples/sample.sym" .
"$root/build/symtext" sample.sym >console.txt 2>note.txt
cat OutPut.txt
echo "--- standard output: $(cat console.txt)"
echo "--- standard error: $(cat note.txt)"
