#!/usr/bin/env bash
# Builds symtext's packages into dist/, each from a build folder of its own
# made afresh: symtext_<version>_amd64.deb and symtext_<version>_arm64.deb,
# the Debian packages of the Linux build for x86-64 and (cross-compiled) for
# 64-bit ARM, and symtext-<version>-win32.zip, the static 32-bit Windows
# program with its README, licence and manual. tests/package_test.py checks
# them; tools/reproduce.sh builds them again elsewhere and compares.
set -euo pipefail
# Files and folders in the packages get the modes a package should have,
# whatever umask the caller has: cpack takes some of them from the files it
# stages. dpkg-buildpackage sets the same umask.
umask 022
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
dist="$root/dist"
rm -rf "$dist" "$root/build-package" "$root/build-package-arm64" "$root/build-package-win32"
mkdir -p "$dist"

package() { # build-folder [cmake options]
  local folder=$1
  shift
  cmake -S "$root" -B "$folder" -DCMAKE_BUILD_TYPE=Release -DSYMTEXT_BUILD_TESTS=OFF \
    -DSYMTEXT_WERROR=ON "$@" >/dev/null
  cmake --build "$folder" -j "$jobs"
  (cd "$folder" && cpack -B "$folder/cpack")
  shopt -s nullglob
  local made=("$folder"/cpack/*.deb "$folder"/cpack/*.zip)
  shopt -u nullglob
  if [ ${#made[@]} -ne 1 ]; then
    echo "cpack should have made one package in $folder/cpack, and made ${#made[@]}" >&2
    exit 1
  fi
  cp "${made[@]}" "$dist/"
}

echo "== Debian package, amd64"
package "$root/build-package"
echo "== Debian package, arm64"
package "$root/build-package-arm64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/linux-aarch64.cmake"
echo "== Windows zip"
package "$root/build-package-win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
ls -l "$dist"
