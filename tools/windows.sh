#!/usr/bin/env bash
# Builds symtext.exe for 32-bit Windows with mingw-w64 (static, warnings as
# errors, no DLL beyond the system's) and runs its unit and process-level tests
# under wine. Where this machine's kernel cannot start 32-bit programs, or
# wine32 could not be installed, the same tests run on the 64-bit Windows build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
export WINEDEBUG=-all
# Debian's wine32 and wine64 bring their loaders and this wineserver (from
# libwine), not the wine and wineserver commands on PATH.
wineserver=/usr/lib/wine/wineserver

build_windows() { # preset triple; builds in build-PRESET, whose toolchain names the wine that runs the tests
  local folder="$root/build-$1" dlls
  cmake -S "$root" --preset "$1" >/dev/null
  cmake --build "$folder" -j "$jobs"
  dlls=$("$2-objdump" -p "$folder/symtext.exe" | awk '/DLL Name/ {print $3}' | sort | tr '\n' ' ')
  echo "$folder/symtext.exe imports: $dlls"
  if [ "$dlls" != "KERNEL32.dll msvcrt.dll " ]; then
    echo "symtext.exe must need no DLL beyond the system's" >&2
    exit 1
  fi
}

test_windows() { # build-folder emulator
  export WINEPREFIX="$1/wineprefix"
  "$2" wineboot --init >/dev/null 2>&1 || true # it may report the new prefix as a failure
  "$wineserver" -w # let the server that wineboot started end,
  "$wineserver" -p # then keep one up for all the runs, not one per run
  trap '"$wineserver" -k 2>/dev/null || true' EXIT
  # The first program a new prefix starts finishes setting the prefix up,
  # which can take long; let that happen before anything is timed.
  timeout 300 "$2" "$1/symtext.exe" >/dev/null 2>&1 || true
  # wine now and then fails to start a program: the run ends with status 1,
  # prints nothing and leaves the last run's OutPut.txt as it was (seen twice
  # in some thousands of runs, in different tests, each passing on the next
  # try; symtext itself never fails without a message). A test that fails is
  # run once more; one that fails twice fails the suite.
  ctest --test-dir "$1" --output-on-failure --repeat until-pass:2
  "$wineserver" -k 2>/dev/null || true
  trap - EXIT
}

echo "== 32-bit Windows build"
build_windows win32 i686-w64-mingw32
if python3 "$root/tools/can_run_i386.py" && [ -x /usr/lib/wine/wine ]; then
  echo "== tests of the 32-bit build under wine"
  test_windows "$root/build-win32" /usr/lib/wine/wine
else
  echo "NOTE: wine cannot run the 32-bit symtext.exe here (the kernel cannot start 32-bit"
  echo "programs, or wine32 is not installed). The same tests run on the 64-bit Windows build."
  echo "== 64-bit Windows build and its tests under wine64"
  build_windows win64 x86_64-w64-mingw32
  test_windows "$root/build-win64" /usr/lib/wine/wine64
fi
