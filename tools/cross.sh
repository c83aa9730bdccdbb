#!/usr/bin/env bash
# Cross-builds symtext and its tests with Debian's cross compilers and runs
# the unit and process-level tests under qemu-user: for Linux on 64-bit ARM
# (aarch64: little-endian and without SSE2, so the portable paths run) and
# on IBM Z (s390x: big-endian, so a read that leans on the host's byte order
# shows). The process tests hold every dump byte for byte, so both must give
# the bytes they give on x86-64.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

for target in aarch64 s390x; do
  echo "== Linux on $target: build, and its tests under qemu-$target"
  cmake -S "$root" --preset "$target" >/dev/null
  cmake --build "$root/build-$target" -j "$jobs"
  ctest --test-dir "$root/build-$target" --output-on-failure -j "$jobs"
done
