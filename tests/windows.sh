#!/usr/bin/env bash
# Cross-builds spanlet for 32-bit and 64-bit Windows with MinGW-w64 (and packs
# the zip), then runs the end-to-end tests against the 64-bit build under
# Wine. The test runner itself is the native one, from the dev build.
set -euo pipefail
cd "$(dirname "$0")/.."

packaging/windows-zip.sh  # builds both programs, and packs them
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$(nproc)" --target spanlet_cli_tests

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
[ -x "$wine" ] || { echo "missing tool: $wine (Debian package wine64)" >&2; exit 1; }
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all
trap '"$wineserver" -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT

# One server for the whole run; the first run creates the prefix and starts
# Wine's background processes away from the tests' pipes.
"$wineserver" -p </dev/null >/dev/null 2>&1
"$wine" build/windows-x64/spanlet.exe --version </dev/null >/dev/null 2>&1

build/dev/tests/spanlet_cli_tests build/windows-x64/spanlet.exe --launcher="$wine" --windows
