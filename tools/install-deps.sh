#!/usr/bin/env bash
# Installs, with apt-get, what the whole test suite needs and this machine
# lacks, then checks that everything is there and names what is not: the
# compilers, GoogleTest, clang's fuzzer runtime, the mingw-w64 cross
# compilers and wine, the Linux cross compilers for aarch64, s390x and i686
# with qemu-user, and the tools that make and check the packages. Does nothing
# when everything is there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

i386=no
python3 "$root/tools/can_run_i386.py" 2>/dev/null && i386=yes

# Each requirement: a command on PATH, one of wine's tools (which
# tools/wine.sh finds), or a path (which may be a pattern), and the Debian
# package that provides it. The scripts call exactly these.
requirements() {
  need cmake cmake
  need ctest cmake
  need g++ g++
  need python3 python3
  need timeout coreutils
  need clang++ clang
  need clang-format clang-format
  need /usr/include/gtest/gtest.h libgtest-dev
  need /usr/src/googletest/googletest/CMakeLists.txt googletest
  need '/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a' libclang-rt-dev
  need i686-w64-mingw32-g++-posix g++-mingw-w64-i686-posix
  need i686-w64-mingw32-objdump binutils-mingw-w64-i686
  need x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix
  need x86_64-w64-mingw32-objdump binutils-mingw-w64-x86-64
  need wine64 wine64
  need wineserver wine64
  if [ "$i386" = yes ]; then
    want wine wine32:i386
  fi
  need aarch64-linux-gnu-g++ g++-aarch64-linux-gnu
  need s390x-linux-gnu-g++ g++-s390x-linux-gnu
  need i686-linux-gnu-g++ g++-i686-linux-gnu
  need qemu-aarch64 qemu-user
  need qemu-s390x qemu-user
  need qemu-i386 qemu-user
  # The aarch64 build runs with Debian's arm64 libraries, from which the arm64
  # package's Depends are read too.
  need /usr/lib/aarch64-linux-gnu/libc.so.6 libc6:arm64
  need /usr/lib/aarch64-linux-gnu/libstdc++.so.6 libstdc++6:arm64
  need gzip gzip
  need groff groff-base
  need dpkg-shlibdeps dpkg-dev
  need dpkg-parsechangelog dpkg-dev
  need readelf binutils
  need dpkg-deb dpkg
  need man man-db
  need mandoc mandoc
  need lintian lintian
  need diffoscope diffoscope-minimal
}

missing=()  # what is not there
packages=() # the packages that bring it
wanted=()   # packages the suite does without: wine32 (the 64-bit Windows build is tested instead)
there() { # command-or-path
  if [[ $1 == /* ]]; then
    compgen -G "$1" >/dev/null
  elif [[ $1 == wine* ]]; then
    "$root/tools/wine.sh" which "$1" >/dev/null
  else
    command -v "$1" >/dev/null 2>&1
  fi
}
need() { # command-or-path package
  there "$1" && return
  missing+=("$1")
  [[ " ${packages[*]} " == *" $2 "* ]] || packages+=("$2")
}
want() { # command-or-path package
  there "$1" || wanted+=("$2")
}

requirements
[ ${#missing[@]} -eq 0 ] && [ ${#wanted[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  for arch in $(printf '%s\n' "${packages[@]}" "${wanted[@]}" | sed -n 's/.*:\([a-z0-9]*\)$/\1/p' | sort -u); do
    dpkg --print-foreign-architectures | grep -qx "$arch" || dpkg --add-architecture "$arch"
  done
  # A mirror in the middle of a sync fails one index now and then; the lists
  # that did arrive still serve, and what cannot be had is named below.
  for try in 1 2 3; do
    apt-get update -qq && break
    [ "$try" -lt 3 ] && sleep 10
    echo "NOTE: apt-get update failed (try $try of 3); going on with the lists there are." >&2
  done
  install() { DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" >/dev/null; }
  [ ${#packages[@]} -eq 0 ] || install "${packages[@]}"
  # A foreign architecture's packages must match the machine's own versions,
  # which a mirror can leave them short of for a while.
  if [ ${#wanted[@]} -gt 0 ] && ! install "${wanted[@]}"; then
    echo "NOTE: ${wanted[*]} could not be installed; the 64-bit Windows build is tested instead." >&2
  fi
  missing=()
  packages=()
  wanted=()
  requirements
  [ ${#missing[@]} -eq 0 ] && exit 0
fi

echo "symtext's tests need what this machine lacks:" >&2
printf '  %s\n' "${missing[@]}" >&2
echo "from the packages: ${packages[*]}" >&2
exit 1
