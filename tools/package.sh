#!/usr/bin/env bash
# Builds symtext's packages into dist/, each from a build folder of its own
# made afresh: symtext_<version>_<arch>.deb, the Debian package of the Linux
# build, and symtext-<version>-win32.zip, the static 32-bit Windows program
# with its README and manual. tests/package_test.py checks them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
dist="$root/dist"
rm -rf "$dist" "$root/build-package" "$root/build-package-win32"
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

echo "== Debian package"
package "$root/build-package"
echo "== Windows zip"
package "$root/build-package-win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
ls -l "$dist"
