#!/usr/bin/env bash
# Speed check for CI: fails when spanlet's batch mode has become markedly
# slower against cat than the README says.
#
#   bench/speed_check.sh PROGRAM [LINES]   (LINES default 5000000)
#
# Makes a file of LINES canonical lines (YYYY-MM-DD<TAB>YYYY-MM-DD, random
# dates of 1400-9999), then times `PROGRAM -n -f FILE >/dev/null` and
# `cat FILE >/dev/null` in turn, after a warm-up run of each, and takes the
# best of the runs of each. It fails when spanlet/cat is more than 1.5 times
# the ratio stated in README.md, on the one line of its Performance section
# that reads "speed check: `spanlet -n -f` is at most R times `cat`".
#
# What is timed is the CPU time of each run (user + system, from wait4), not
# its wall time: both programs run on one thread, so on an idle machine the two
# are the same (the README's table is wall time), but on a loaded machine a
# run's wall time also counts the time it waited for a processor, which
# another job decides, while its CPU time is only the work it did. Best of
# several, the two programs taking turns so that a spell of load falls on
# both, and, when the first round is over the limit, a second round of twice
# as many runs before failing: a slow spell makes no failure, a program twice
# as slow fails both rounds.
set -euo pipefail
spanlet=${1:?usage: bench/speed_check.sh PROGRAM [LINES]}
lines=${2:-5000000}
readme="$(dirname "$0")/../README.md"
[ -x "$spanlet" ] || { echo "speed check: no program $spanlet" >&2; exit 1; }
command -v python3 >/dev/null || { echo "missing tool: python3" >&2; exit 1; }

stated=$(sed -n 's/^speed check: `spanlet -n -f` is at most \([0-9][0-9.]*\) times `cat`.*$/\1/p' "$readme")
case $stated in
  '' | *$'\n'*)
    echo "speed check: $readme needs one line \"speed check: \`spanlet -n -f\` is at most R times \`cat\`\"" >&2
    exit 1 ;;
esac

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$spanlet" "$lines" "$stated" "$work/pairs.txt" <<'PY'
import datetime, os, random, sys, time

spanlet, count, stated, path = sys.argv[1], int(sys.argv[2]), float(sys.argv[3]), sys.argv[4]
limit = 1.5 * stated

# The file: a pool of 100,000 random pairs, repeated.
rng = random.Random(20261210)
low, high = datetime.date(1400, 1, 1).toordinal(), datetime.date(9999, 12, 31).toordinal()
pool = []
for _ in range(min(count, 100000)):
    a, b = (datetime.date.fromordinal(rng.randint(low, high)) for _ in range(2))
    pool.append((a, b))
block = "".join(f"{a.isoformat()}\t{b.isoformat()}\n" for a, b in pool).encode()
with open(path, "wb") as out:
    for _ in range(count // len(pool)):
        out.write(block)
    out.write("".join(f"{a.isoformat()}\t{b.isoformat()}\n" for a, b in pool[: count % len(pool)]).encode())

spanlet_argv = [spanlet, "-n", "-f", path]
cat_argv = ["cat", path]

def run(argv, stdout_fd):
    """Runs argv with stdout to stdout_fd; returns (cpu seconds, wall seconds)."""
    actions = [(os.POSIX_SPAWN_DUP2, stdout_fd, 1)]
    start = time.perf_counter()
    pid = os.posix_spawnp(argv[0], argv, os.environ, file_actions=actions)
    _, status, usage = os.wait4(pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"speed check: {' '.join(argv)} failed (status {os.waitstatus_to_exitcode(status)})")
    return usage.ru_utime + usage.ru_stime, wall

# Warm-up: the file into the page cache, the processor out of its idle state;
# and spanlet's answers checked, so that a program that does nothing cannot
# pass for a fast one.
read_fd, write_fd = os.pipe()
pid = os.posix_spawnp(spanlet, spanlet_argv, os.environ, file_actions=[(os.POSIX_SPAWN_DUP2, write_fd, 1)])
os.close(write_fd)
with os.fdopen(read_fd, "rb") as answers:
    head = [answers.readline() for _ in range(len(pool))]
    rest = sum(chunk.count(b"\n") for chunk in iter(lambda: answers.read(1 << 20), b""))
_, status, _ = os.wait4(pid, 0)
expected = [f"{(a - b).days}\n".encode() for a, b in pool]
if os.waitstatus_to_exitcode(status) != 0 or head != expected or len(head) + rest != count:
    sys.exit(f"speed check: {spanlet} -n -f gave wrong answers, or the wrong number of lines")

null = os.open(os.devnull, os.O_WRONLY)
run(cat_argv, null)

best = {"spanlet": [float("inf"), float("inf")], "cat": [float("inf"), float("inf")]}
def round_of(runs):
    for _ in range(runs):
        for name, argv in (("cat", cat_argv), ("spanlet", spanlet_argv)):
            cpu, wall = run(argv, null)
            best[name] = [min(best[name][0], cpu), min(best[name][1], wall)]
    return best["spanlet"][0] / best["cat"][0]

def report(ratio):
    (s_cpu, s_wall), (c_cpu, c_wall) = best["spanlet"], best["cat"]
    print(f"{count} lines; best CPU time (user+sys): spanlet -n -f {s_cpu * 1e3:.1f} ms "
          f"({s_cpu * 1e9 / count:.1f} ns a line), cat {c_cpu * 1e3:.1f} ms: {ratio:.2f} times cat")
    print(f"  (best wall time, not judged: spanlet {s_wall * 1e3:.1f} ms, cat {c_wall * 1e3:.1f} ms: "
          f"{s_wall / c_wall:.2f} times cat)")

ratio = round_of(15)
report(ratio)
if ratio > limit:
    print(f"over the limit of {limit:.2f} (1.5 x the README's {stated:g}); a second round before judging")
    ratio = round_of(30)
    report(ratio)
if ratio > limit:
    sys.exit(f"speed check FAILED: spanlet -n -f is {ratio:.2f} times cat, above {limit:.2f} "
             f"(1.5 x the {stated:g} that README.md states)")
print(f"speed check passed: {ratio:.2f} times cat, at most {limit:.2f} (1.5 x the README's {stated:g})")
PY
