#!/usr/bin/env bash
# Builds symtext and runs the whole test suite: the layout of the C++
# sources as clang-format makes it, the sample as the README's
# first command shows it, the release build's tests, the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, a short fuzzing run over
# the committed corpus, the Windows build's tests under wine, the aarch64 and
# s390x builds' tests under qemu-user, the packages as a user gets them, and
# a second build of the packages that must give the same bytes. Installs
# first whatever of that the machine lacks, and stops at once, naming it, if
# something is still missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

echo "== tools the suite needs"
"$root/tools/install-deps.sh"

echo "== the C++ sources as clang-format lays them out"
(cd "$root" && clang-format --dry-run -Werror src/*/*.h src/*/*.cpp tests/*.h tests/*.cpp tests/*/*.h tests/*/*.cpp)

echo "== the sample, as tools/run-sample.sh shows it"
"$root/tools/run-sample.sh" >/dev/null
for stream in dump:OutPut.txt console:console.txt stderr:note.txt; do
  cmp "$root/examples/sample.${stream%%:*}" "$root/build-program/sample/${stream#*:}"
done

echo "== release build and tests"
cmake -S "$root" --preset release
cmake --build "$root/build" -j "$jobs"
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$root" --preset asan
cmake --build "$root/build-asan" -j "$jobs"
ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs"

echo "== fuzzing for ${SYMTEXT_FUZZ_SECONDS:=60} seconds"
"$root/tools/fuzz.sh" "$SYMTEXT_FUZZ_SECONDS"

echo "== Windows build and its tests under wine"
"$root/tools/windows.sh"

"$root/tools/cross.sh"

echo "== packages"
"$root/tools/package.sh"
python3 "$root/tests/package_test.py" --dist "$root/dist" --source "$root"

echo "== the packages built again elsewhere give the same bytes"
"$root/tools/reproduce.sh"
