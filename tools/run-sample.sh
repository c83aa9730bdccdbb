#!/usr/bin/env bash
# Builds symtext and dumps the bundled sample: the dump is shown, then the
# opaque kinds that symtext listed on standard output.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build" --target symtext -j "$(nproc)" >/dev/null
mkdir -p "$root/build/sample"
cd "$root/build/sample"
"$root/build/symtext" "$root/examples/sample.sym" >console.txt
cat OutPut.txt
echo "--- standard output: $(cat console.txt)"
