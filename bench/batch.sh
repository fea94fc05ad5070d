#!/usr/bin/env bash
# Batch mode against its peers, on the same generated files, one core, output
# to /dev/null: ns a line, and each time as a multiple of cat's.
#
#   spanlet -n -f FILE     pairs of dates, one pair a line (also with -j 2 and -j 0)
#   cat FILE               the cost of reading the file at all
#   parallel --pipepart    GNU parallel splitting the file over two spanlets (where installed)
#   ddiff REF < FILE       dateutils, one date a line (where installed), on
#                          dates of 1601-4095, the years it reads: on others
#                          it times its error path
#   date -f FILE           GNU date, one date a line, with TZ=UTC: with TZ
#                          unset it looks at /etc/localtime for every date
#
# Then spanlet alone over 1,000 to 10 million lines (cost a line, peak memory)
# and over years near 1400, 2000 and 9800 (cost a line).
#
#   bench/batch.sh [PATH-TO-SPANLET] [LINES]   (defaults: build/bench/spanlet, 10000000)
set -euo pipefail
cd "$(dirname "$0")/.."
spanlet=${1:-build/bench/spanlet}
lines=${2:-10000000}
[ -x "$spanlet" ] || { echo "no $spanlet: cmake --preset bench && cmake --build --preset bench" >&2; exit 1; }
command -v python3 >/dev/null || { echo "missing tool: python3" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# make LINES KIND FIRST-YEAR LAST-YEAR > FILE: random dates, a pair a line
# (KIND canonical: YYYY-MM-DD<TAB>YYYY-MM-DD; mixed: other numeric spellings
# too; words: month names and what programs print) or one date a line (KIND
# single).
make_lines() {
  python3 - "$@" <<'PY'
import datetime, random, sys
count, kind, first, last = int(sys.argv[1]), sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
rng = random.Random(7)
low, high = datetime.date(first, 1, 1).toordinal(), datetime.date(last, 12, 31).toordinal()
MONTHS = "Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec".split()
DAYS = "Mon Tue Wed Thu Fri Sat Sun".split()
def spell(d, style):
    return [d.isoformat(), f"{d.month}/{d.day}/{d.year}", f"{d.month:02}.{d.day:02}.{d.year}",
            f"{d.year}{d.month:02}{d.day:02}", f"{d.year}/{d.month}/{d.day}"][style]
def words(d, style):
    m, w = MONTHS[d.month - 1], DAYS[d.weekday()]
    return [f"{d.day} {m} {d.year}", f"{m} {d.day}, {d.year}", f"{w} {m} {d.day:2} 12:34:56 UTC {d.year}",
            f"{w}, {d.day:02} {m} {d.year} 12:34:56 +0000", f"{d.isoformat()}T12:34:56Z",
            f"{d.day:02}-{m.upper()}-{d.year}"][style]
pool = []
for i in range(min(count, 100000)):
    a, b = (datetime.date.fromordinal(rng.randint(low, high)) for _ in range(2))
    if kind == "single":
        pool.append(a.isoformat())
    elif kind == "canonical":
        pool.append(a.isoformat() + "\t" + b.isoformat())
    elif kind == "words":
        pool.append(words(a, rng.randrange(6)) + "\t" + words(b, rng.randrange(6)))
    else:
        pool.append(spell(a, rng.randrange(5)) + "\t" + spell(b, rng.randrange(5)))
block = "\n".join(pool) + "\n"
out = sys.stdout
for _ in range(count // len(pool)):
    out.write(block)
out.write("\n".join(pool[: count % len(pool)]) + ("\n" if count % len(pool) else ""))
PY
}

# seconds COMMAND...: the best of three runs, in seconds.
seconds() {
  python3 - "$@" <<'PY'
import subprocess, sys, time
best = None
for _ in range(3):
    start = time.perf_counter()
    subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    elapsed = time.perf_counter() - start
    best = elapsed if best is None else min(best, elapsed)
print(best)
PY
}

# peak_kib COMMAND...: the command's peak resident memory, KiB (GNU time).
peak_kib() {
  if [ -x /usr/bin/time ]; then
    /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1
  else
    echo "n/a (no /usr/bin/time)"
  fi
}

per_line() { python3 -c "print(f'{$1 * 1e9 / $2:8.1f}')"; }

echo "generating $lines lines of each kind"
make_lines "$lines" canonical 1400 9999 >"$work/canonical.txt"
make_lines "$lines" mixed 1400 9999 >"$work/mixed.txt"
make_lines "$lines" words 1400 9999 >"$work/words.txt"
make_lines "$lines" single 1601 4095 >"$work/single.txt"
sed 's/$/\t2000-01-01/' "$work/single.txt" >"$work/single-pairs.txt"
make_lines 1000 single 1400 9999 >"$work/holidays.txt"
# Refused lines: 30 February, said on standard error every time.
python3 -c "import sys; sys.stdout.write('2010-02-30\t2010-01-01\n' * $lines)" >"$work/refused.txt"

ddiff=$(command -v ddiff || command -v dateutils.ddiff || true)
echo
printf '%-34s %10s %10s\n' "command ($lines lines)" "ns/line" "x cat"
report() {  # NAME FILE COMMAND...
  local name=$1 file=$2 t base
  shift 2
  t=$(seconds "$@")
  base=$(seconds cat "$file")
  printf '%-34s %10s %10.2f\n' "$name" "$(per_line "$t" "$lines")" "$(python3 -c "print($t / $base)")"
}
report "cat, pairs" "$work/canonical.txt" cat "$work/canonical.txt"
report "spanlet -n -f, YYYY-MM-DD pairs" "$work/canonical.txt" "$spanlet" -n -f "$work/canonical.txt"
report "spanlet -f, YYYY-MM-DD pairs" "$work/canonical.txt" "$spanlet" -f "$work/canonical.txt"
report "spanlet -n -f -j 2, YYYY-MM-DD pairs" "$work/canonical.txt" "$spanlet" -n -j 2 -f "$work/canonical.txt"
report "spanlet -n -f -j 0, YYYY-MM-DD pairs" "$work/canonical.txt" "$spanlet" -n -j 0 -f "$work/canonical.txt"
report "cat | spanlet -n -f - -j 2" "$work/canonical.txt" sh -c "cat '$work/canonical.txt' | '$spanlet' -n -j 2 -f -"
parallel=$(command -v parallel || true)
if [ -n "$parallel" ]; then
  report "parallel --pipepart -k -j2 spanlet" "$work/canonical.txt" "$parallel" --pipepart -a "$work/canonical.txt" \
    -k -j2 --block 10M "$spanlet" -n -f -
fi
report "spanlet -n -f, mixed spellings" "$work/mixed.txt" "$spanlet" -n -f "$work/mixed.txt"
report "spanlet -n -f, month names, program output" "$work/words.txt" "$spanlet" -n -f "$work/words.txt"
report "spanlet -n -f -u ymd, YYYY-MM-DD" "$work/canonical.txt" "$spanlet" -n -u ymd -f "$work/canonical.txt"
report "spanlet -n -f -b, 1000 holidays" "$work/canonical.txt" "$spanlet" -n -b --holidays "$work/holidays.txt" \
  -f "$work/canonical.txt"
report "spanlet -n -f, refused, errors to file" "$work/refused.txt" sh -c "'$spanlet' -n -f '$work/refused.txt' 2>'$work/errors.txt'"
if [ -n "$ddiff" ]; then
  report "ddiff REF < FILE, single dates" "$work/single.txt" sh -c "'$ddiff' 2000-01-01 < '$work/single.txt'"
fi
report "spanlet -n -f, the same dates and REF" "$work/single.txt" "$spanlet" -n -f "$work/single-pairs.txt"
report "date -f, single dates (TZ=UTC)" "$work/single.txt" env TZ=UTC date -f "$work/single.txt" +%s

echo
echo "spanlet -n -f: cost a line and peak memory against the number of lines"
printf '%12s %12s %10s %12s\n' lines "total ms" ns/line "peak KiB"
for n in 1000 10000 100000 1000000 10000000; do
  [ "$n" -le "$lines" ] || break
  head -n "$n" "$work/canonical.txt" >"$work/part.txt"
  t=$(seconds "$spanlet" -n -f "$work/part.txt")
  printf '%12d %12.2f %10s %12s\n' "$n" "$(python3 -c "print($t * 1e3)")" "$(per_line "$t" "$n")" \
    "$(peak_kib "$spanlet" -n -f "$work/part.txt")"
done

echo
echo "spanlet -n -f: cost a line against the years ($((lines / 10)) lines each)"
for first in 1400 2000 9800; do
  make_lines $((lines / 10)) canonical "$first" $((first + 99)) >"$work/years.txt"
  printf '  years %d-%d %10s ns/line\n' "$first" $((first + 99)) \
    "$(per_line "$(seconds "$spanlet" -n -f "$work/years.txt")" $((lines / 10)))"
done

# CSV: records of five fields (an id, a quoted name with a comma, two dates,
# an amount), dates of 1970-2099 that every tool reads; spanlet on the whole
# file, spanlet on the two date columns alone, and Miller (where installed) on
# the first 200,000 records.
echo
echo "CSV mode: $lines records of five fields"
python3 - "$lines" >"$work/contracts.csv" <<'PY'
import datetime, random, sys
count = int(sys.argv[1])
rng = random.Random(7)
low, high = datetime.date(1970, 1, 1).toordinal(), datetime.date(2099, 12, 31).toordinal()
names = ["Smith, John", "Doe, Jane", "Roe, Richard", "Bloggs, Joe"]
pool = []
for i in range(min(count, 100000)):
    a, b = (datetime.date.fromordinal(rng.randint(low, high)).isoformat() for _ in range(2))
    pool.append(f'{i},"{rng.choice(names)}",{a},{b},{rng.randint(0, 99999) / 100:.2f}')
out = sys.stdout
out.write("id,name,start,end,amount\n")
block = "\n".join(pool) + "\n"
for _ in range(count // len(pool)):
    out.write(block)
out.write("\n".join(pool[: count % len(pool)]) + ("\n" if count % len(pool) else ""))
PY
tail -n +2 "$work/contracts.csv" | cut -d, -f4,5 | tr , '\t' >"$work/columns.txt"
head -n 200001 "$work/contracts.csv" >"$work/contracts-200k.csv"
printf '%-44s %10s %12s\n' "command" "ns/record" "peak KiB"
csv_report() {  # NAME RECORDS COMMAND...
  local name=$1 records=$2 t
  shift 2
  t=$(seconds "$@")
  printf '%-44s %10s %12s\n' "$name" "$(per_line "$t" "$records")" "$(peak_kib "$@")"
}
csv_report "spanlet --csv --header --columns=start,end" "$lines" \
  "$spanlet" --csv --header --columns=start,end -f "$work/contracts.csv"
csv_report "spanlet -n -f, the two columns alone" "$lines" "$spanlet" -n -f "$work/columns.txt"
mlr=$(command -v mlr || true)
if [ -n "$mlr" ]; then
  records=$((lines < 200000 ? lines : 200000))
  csv_report "spanlet --csv, first $records records" "$records" \
    "$spanlet" --csv --header --columns=start,end -f "$work/contracts-200k.csv"
  csv_report "mlr put strptime, first $records records" "$records" "$mlr" --icsv --ocsv put \
    '$days = int((strptime($start, "%Y-%m-%d") - strptime($end, "%Y-%m-%d")) / 86400)' "$work/contracts-200k.csv"
fi
