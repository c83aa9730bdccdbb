#!/usr/bin/env bash
# Builds symtext.exe for 32-bit Windows with mingw-w64 (static, warnings as
# errors, no DLL beyond the system's) and runs its unit and process-level tests
# under wine. Where this machine's kernel cannot start 32-bit programs, or
# wine32 could not be installed, the same tests run on the 64-bit Windows build
# (tools/cross.sh's i686 build then is the one with a 32-bit size_t that runs).
# One line, first and last, says which ran and, for the 64-bit one, why.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
wine="$root/tools/wine.sh"

build_windows() { # preset triple; builds in build-PRESET
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

test_windows() { # preset bits; the tests run through tools/wine.sh, the preset's emulator
  local folder="$root/build-$1"
  export WINEPREFIX="$folder/wineprefix"
  # One wineserver kept up for all the runs, and a first run that finishes
  # setting the new prefix up before anything is timed.
  trap '"$wine" stop' EXIT
  "$wine" start "$2" "$folder/symtext.exe"
  # wine now and then fails to start a program: the run ends with status 1,
  # prints nothing of symtext's (at most a line of wine's own, such as
  # "err:virtual:virtual_alloc_first_teb ... failed to map the shared user
  # data") and leaves the last run's OutPut.txt as it was (seen a few times
  # in some thousands of runs, in different tests, each passing on the next
  # try; symtext itself never fails without a message). A test that fails is
  # run once more; one that fails twice fails the suite.
  ctest --test-dir "$folder" --output-on-failure --repeat until-pass:2
  "$wine" stop
  trap - EXIT
}

echo "== 32-bit Windows build"
build_windows win32 i686-w64-mingw32
if "$wine" loader 32 >/dev/null; then
  ran="the 32-bit Windows build's tests under wine32"
  echo "== $ran"
  test_windows win32 32
else
  if ! python3 "$root/tools/can_run_i386.py"; then
    why="this machine's kernel cannot start 32-bit programs, which wine32 needs"
  else
    why="wine32 is not installed (tools/install-deps.sh installs it where apt can, and says so where it cannot)"
  fi
  ran="the 64-bit Windows build's tests under wine64, not the 32-bit build's under wine32: $why"
  echo "== $ran"
  build_windows win64 x86_64-w64-mingw32
  test_windows win64 64
fi
echo "Windows: ran $ran"
