#!/usr/bin/env bash
# Cross-builds symtext and its tests with Debian's cross compilers and runs
# the unit and process-level tests under qemu-user: for Linux on 64-bit ARM
# (aarch64: little-endian and without SSE2, so the portable paths run), on
# IBM Z (s390x: big-endian, so a read that leans on the host's byte order
# shows) and on 32-bit x86 (i686: a size_t and pointers of 32 bits, as on the
# program's own platform, so an offset or a room that wraps there shows; it
# runs on any machine, where wine may not run the 32-bit Windows build). The
# process tests hold every dump byte for byte, so each must give the bytes
# it gives on x86-64.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

for target in aarch64 s390x i686; do
  qemu=qemu-$target
  [ "$target" != i686 ] || qemu=qemu-i386
  echo "== Linux on $target: build, and its tests under $qemu"
  cmake -S "$root" --preset "$target" >/dev/null
  cmake --build "$root/build-$target" -j "$jobs"
  ctest --test-dir "$root/build-$target" --output-on-failure -j "$jobs"
done
