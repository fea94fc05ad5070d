#!/usr/bin/env bash
# Whole-process cost of one run of spanlet against /bin/true (and dateutils'
# ddiff where installed): callgrind instruction counts, which repeat exactly,
# and, where hyperfine is installed, the median wall time of many runs.
#
#   bench/startup.sh [PATH-TO-SPANLET]     (default: build/bench/spanlet)
set -euo pipefail
cd "$(dirname "$0")/.."
spanlet=${1:-build/bench/spanlet}
[ -x "$spanlet" ] || { echo "no $spanlet: cmake --preset bench && cmake --build --preset bench" >&2; exit 1; }

names=(true spanlet)
commands=("/bin/true" "$spanlet 2010-08-10 2010-01-01")
ddiff=$(command -v ddiff || command -v dateutils.ddiff || true)
if [ -n "$ddiff" ]; then
  names+=(ddiff)
  commands+=("$ddiff 2010-08-10 2010-01-01")
fi

instructions() {
  local out
  out=$(mktemp)
  # shellcheck disable=SC2086  # the command is words on purpose
  valgrind --tool=callgrind --callgrind-out-file="$out" $1 >/dev/null 2>"$out.log"
  sed -n 's/^summary: //p' "$out"
  rm -f "$out" "$out.log"
}

echo "instructions (callgrind)"
base=
for i in "${!names[@]}"; do
  count=$(instructions "${commands[$i]}")
  base=${base:-$count}
  printf '  %-8s %10d  %5.2fx /bin/true\n' "${names[$i]}" "$count" "$(awk -v c="$count" -v b="$base" 'BEGIN { print c / b }')"
done

if command -v hyperfine >/dev/null; then
  echo "wall time (hyperfine, median of many runs)"
  json=$(mktemp)
  hyperfine --shell=none --warmup 50 --min-runs 1000 --export-json "$json" \
    "${commands[@]}" >/dev/null 2>&1
  python3 - "$json" "${names[@]}" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
base = results[0]["median"]
for name, r in zip(sys.argv[2:], results):
    print(f"  {name:<8} {r['median'] * 1e6:8.1f} us  {r['median'] / base:5.2f}x /bin/true")
PY
  rm -f "$json"
fi
