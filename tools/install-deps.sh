#!/usr/bin/env bash
# Installs, with apt-get, what the whole test suite needs and this machine
# lacks: the compilers, GoogleTest, clang's fuzzer runtime, the mingw-w64
# cross compilers and wine. Does nothing when everything is there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
need=()
have() { command -v "$1" >/dev/null 2>&1; }
have cmake || need+=(cmake)
have g++ || need+=(g++)
have python3 || need+=(python3)
have clang++ || need+=(clang)
[ -e /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 ||
  need+=(libclang-rt-dev)
have i686-w64-mingw32-g++ || need+=(g++-mingw-w64-i686)
have x86_64-w64-mingw32-g++ || need+=(g++-mingw-w64-x86-64)
[ -x /usr/lib/wine/wine64 ] || need+=(wine64)
i386=no
if python3 "$root/tools/can_run_i386.py"; then
  i386=yes
  [ -x /usr/lib/wine/wine ] || need+=(wine32:i386)
fi
[ ${#need[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "symtext's tests need these packages: ${need[*]}" >&2
  exit 1
fi
if [ "$i386" = yes ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
