#!/usr/bin/env bash
# Builds the fuzz targets and runs each for SECONDS (default 60) from the seed
# corpus in fuzz/corpus. New inputs go to a scratch folder, not the repository.
# A finding stops the run with a failure and leaves the crashing input in the
# scratch folder.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

scratch=$(mktemp -d)
for target in date_text_fuzz calendar_fuzz periods_fuzz line_stream_fuzz common_lines_fuzz parallel_stream_fuzz csv_fuzz; do
  corpus=fuzz/corpus/${target%_fuzz}
  mkdir -p "$scratch/$target"
  echo "-- $target for ${seconds}s"
  if ! build/fuzz/fuzz/$target -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
       -artifact_prefix="$scratch/$target/" "$scratch/$target" "$corpus" >"$scratch/$target.log" 2>&1; then
    tail -n 40 "$scratch/$target.log"
    echo "$target found a fault; inputs and log in $scratch"
    exit 1
  fi
  grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' "$scratch/$target.log"
done
rm -rf "$scratch"
