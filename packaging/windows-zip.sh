#!/usr/bin/env bash
# Builds the 32-bit and 64-bit Windows programs (MinGW-w64 cross builds) and
# packs them, with the README and the licence, into
# build/packages/spanlet-VERSION-windows.zip:
#   spanlet-VERSION-windows/{win32,win64}/spanlet.exe, README.md, LICENSE
set -euo pipefail
cd "$(dirname "$0")/.."

for preset in windows-x86 windows-x64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
done

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows-x64/CMakeCache.txt)
name=spanlet-$version-windows
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/$name/win32" "$stage/$name/win64"
cp build/windows-x86/spanlet.exe "$stage/$name/win32/"
cp build/windows-x64/spanlet.exe "$stage/$name/win64/"
cp README.md LICENSE "$stage/$name/"

mkdir -p build/packages
zip=$PWD/build/packages/$name.zip
rm -f "$zip"
(cd "$stage" && cmake -E tar cf "$zip" --format=zip "$name")
echo "$zip"
