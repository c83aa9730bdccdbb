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

package() { # preset, which builds in build-PRESET
  local folder="$root/build-$1"
  cmake -S "$root" --preset "$1" >/dev/null
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
package package
echo "== Debian package, arm64"
package package-arm64
echo "== Windows zip"
package package-win32
ls -l "$dist"
