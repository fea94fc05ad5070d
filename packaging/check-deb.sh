#!/usr/bin/env bash
# Builds the Debian package (cmake --workflow --preset package), unpacks it
# into a throwaway root, runs the installed program on the README's example
# and runs lintian on the package, which must report no errors.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --workflow --preset package >/dev/null
debs=(build/package/packages/spanlet_*.deb)
deb=${debs[0]}
echo "package: $deb"
dpkg-deb --info "$deb" | sed -n 's/^ \(Package\|Version\|Architecture\|Depends\):/  \1:/p'

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
expected=$(printf '\n2010-08-10\t2010-01-01\t221')
actual=$("$root/usr/bin/spanlet" 2010-08-10 2010-01-01)
if [ "$actual" != "$expected" ]; then
  echo "the installed spanlet printed $(printf '%q' "$actual"), not $(printf '%q' "$expected")" >&2
  exit 1
fi
for file in usr/share/man/man1/spanlet.1.gz usr/share/doc/spanlet/copyright \
            usr/share/doc/spanlet/changelog.Debian.gz; do
  [ -f "$root/$file" ] || { echo "the package lacks /$file" >&2; exit 1; }
done
echo "installed program prints the README example"

# lintian refuses to judge as root unless told it may; its E: lines fail.
report=$(lintian --allow-root --info "$deb" 2>&1 || true)
printf '%s\n' "$report" | grep -E '^[EWI]:' || echo "lintian: no tags"
if printf '%s\n' "$report" | grep -q '^E:'; then
  echo "lintian reports errors" >&2
  exit 1
fi
