#!/usr/bin/env bash
# Checks that the packages in dist/ (made by tools/package.sh) are the ones
# their sources give: builds them again from a copy of the sources in
# another folder, later, with another umask and another time zone, and
# compares the two byte for byte. On a difference, diffoscope shows what
# differs, and the check fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if ! compgen -G "$root/dist/*" >/dev/null; then
  echo "dist/ is empty: run tools/package.sh first" >&2
  exit 1
fi
second=$(mktemp -d /tmp/symtext-rebuild.XXXXXX)
trap 'rm -rf "$second"' EXIT

# The sources as git tracks them, with what is changed and not yet
# committed, copied as a user with umask 077 would have them.
(
  umask 077
  cd "$root"
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
    xargs -0 cp --parents -t "$second"
  TZ=NZST-12NZDT "$second/tools/package.sh" >"$second/package.log" 2>&1 ||
    { cat "$second/package.log" >&2; exit 1; }
)

status=0
for package in "$root"/dist/*; do
  name=$(basename "$package")
  if cmp -s "$package" "$second/dist/$name"; then
    echo "same bytes: $name ($(stat -c %s "$package") bytes, sha256 $(sha256sum <"$package" | cut -c1-64))"
  else
    echo "DIFFERENT: $name, built in $root and in $second" >&2
    diffoscope --no-progress "$package" "$second/dist/$name" | head -n 200 >&2 || true
    status=1
  fi
done
exit $status
