#!/usr/bin/env python3
"""--jobs end to end, and an oracle for what the workers answer: `-j 1`,
`-j 2` and `-j 0` must write the same standard output and standard error and
end with the same status, from a regular file and from a pipe, on inputs of
several 1 MiB parts:

- `@SECONDS` instants under time zones with summer time, whose answers are
  also checked against Python's own local date of the instant (zoneinfo) and
  day count (date ordinals);
- `today`, `yesterday` and `tomorrow` under `faketime` with a clock that runs
  so fast that a run lasts several days: every row of a run must name the
  same day, and every run the same one;
- every option set (units, working days with holidays, --inclusive,
  --day-first, a delimiter, -n, a line limit) over mixed lines: refused
  dates, wrong field counts, NUL bytes, CR LF, blank lines, a byte order mark,
  so that messages with line numbers come from every part;
- a line of 100 MB under an address-space limit that makes `-j 1` run out of
  memory: what is written before `spanlet: out of memory` must be the same.

    jobs_oracle.py SPANLET [EMULATOR]

Every case that fails is printed with its options and the first line that
differs; the exit status is 1 when any case failed.
"""
import datetime
import os
import random
import resource
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import zoneinfo

SPANLET = sys.argv[1]
EMULATOR = [a for a in sys.argv[2:3] if a]
JOBS = ("1", "2", "0")
PART = 1 << 20
SIZE = 2 * PART + PART // 4  # an input of three parts, its last a small one
# A regular file is shared among two workers only from six parts a worker:
# the cases that must see the workers read a file are this large.
SHARED = 12 * PART + PART // 4
TIMEOUT = 300  # seconds for one run: a run that hangs is a failure, not a stuck test

rng = random.Random(20261211)
UTC = datetime.timezone.utc
EPOCH = datetime.datetime(1970, 1, 1, tzinfo=UTC)
FIRST = datetime.date(1400, 1, 1).toordinal()
LAST = datetime.date(9999, 12, 31).toordinal()
MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
WEEKDAYS = ["Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"]

failed_cases = []
passed_cases = []
skipped_cases = []


# --- running spanlet ------------------------------------------------------

class Run:
    def __init__(self, label, out, err, rc, wall):
        self.label, self.out, self.err, self.rc, self.wall = label, out, err, rc, wall


def environment(tz):
    env = dict(os.environ)
    env["TZ"] = tz
    env["LC_ALL"] = "C"
    # Under faketime, libfaketime is preloaded before an AddressSanitizer
    # runtime, which ASan refuses unless told not to check.
    env["ASAN_OPTIONS"] = ":".join(o for o in (env.get("ASAN_OPTIONS"), "verify_asan_link_order=0") if o)
    return env


def run(label, args, *, path=None, data=None, tz="UTC", prefix=(), preexec=None, paced=None):
    """spanlet ARGS -f PATH (a regular file), or -f - with DATA through a pipe;
    PACED = (chunk, pause) writes the pipe a chunk at a time with pauses."""
    command = list(prefix) + EMULATOR + [SPANLET] + list(args) + ["-f", path if path else "-"]
    start = time.monotonic()
    try:
        if paced is None:
            done = subprocess.run(command, input=data, stdin=None if data is not None else subprocess.DEVNULL,
                                  capture_output=True, env=environment(tz), preexec_fn=preexec, timeout=TIMEOUT)
            return Run(label, done.stdout, done.stderr, done.returncode, time.monotonic() - start)
        return paced_run(label, command, data, paced, tz, start)
    except subprocess.TimeoutExpired:
        return Run(label, b"", b"(timed out after %d s)\n" % TIMEOUT, "timeout", time.monotonic() - start)


def paced_run(label, command, data, paced, tz, start):
    chunk, pause = paced
    child = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                             env=environment(tz))
    streams = {}

    def drain(name, stream):
        streams[name] = stream.read()

    readers = [threading.Thread(target=drain, args=(n, s)) for n, s in (("out", child.stdout), ("err", child.stderr))]
    for reader in readers:
        reader.start()
    try:
        for at in range(0, len(data), chunk):
            child.stdin.write(data[at:at + chunk])
            child.stdin.flush()
            time.sleep(pause)
    except BrokenPipeError:
        pass
    finally:
        try:
            child.stdin.close()
        except BrokenPipeError:
            pass
    try:
        rc = child.wait(timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        child.kill()
        rc = "timeout"
    for reader in readers:
        reader.join()
    return Run(label, streams["out"], streams["err"], rc, time.monotonic() - start)


def jobs_runs(args, *, path=None, data=None, tz="UTC", **kw):
    """The three runs -j 1, -j 2, -j 0 of one source."""
    return [run(f"-j {j}", ["-j", j] + list(args), path=path, data=data, tz=tz, **kw) for j in JOBS]


# --- comparing ------------------------------------------------------------

def show(line):
    text = repr(line[:150])
    return text + (f" (+{len(line) - 150} bytes)" if len(line) > 150 else "")


def first_difference(a, b, name_a, name_b):
    """Where two outputs first differ: the first line that differs, and both
    versions of it."""
    la, lb = a.split(b"\n"), b.split(b"\n")
    for i, (x, y) in enumerate(zip(la, lb)):
        if x != y:
            return f"line {i + 1}: {name_a} has {show(x)}, {name_b} has {show(y)}"
    # One is the other and more (split always gives at least one item).
    n = min(len(la), len(lb))
    (longer, more), less = ((la, name_a), name_b) if len(la) > len(lb) else ((lb, name_b), name_a)
    return f"line {n}: {less} ends there, {more} goes on with {show(longer[n - 1])}"


def differences(runs, compare_stdout=True):
    """What each run does differently from the first (-j 1)."""
    base, problems = runs[0], []
    for r in runs:
        report_at = r.err.find(b"Sanitizer")
        if report_at >= 0:  # a race or a memory fault found by a sanitizer build
            line = r.err[r.err.rfind(b"\n", 0, report_at) + 1:].split(b"\n", 1)[0]
            problems.append(f"{r.label}: a sanitizer reported {show(line)}")
    for other in runs[1:]:
        if compare_stdout and other.out != base.out:
            problems.append(f"{other.label} against {base.label}: stdout differs at "
                            f"{first_difference(base.out, other.out, base.label, other.label)}"
                            f" ({len(base.out)} / {len(other.out)} bytes)")
        if other.err != base.err:
            problems.append(f"{other.label} against {base.label}: stderr differs at "
                            f"{first_difference(base.err, other.err, base.label, other.label)}")
        if other.rc != base.rc:
            problems.append(f"{other.label} against {base.label}: exit status {base.rc} / {other.rc}")
    return problems


def command_text(args, source):
    return " ".join(["spanlet -j N"] + [shown(a) for a in args] +
                    (["-f FILE"] if source == "file" else ["-f - (a pipe)"]))


def shown(arg):
    """An argument as the report shows it: a scratch file by its name alone."""
    option, equals, value = arg.rpartition("=")
    if os.path.isabs(value):
        return option + equals + os.path.basename(value)
    return repr(arg) if " " in arg or not arg else arg


def report(name, args, source, problems, note=""):
    title = f"{name}: {command_text(args, source)}"
    if problems:
        print(f"FAIL {title}{note}")
        for p in problems:
            print(f"     {p}")
        failed_cases.append(f"{name} ({source})")
    else:
        print(f"ok   {title}{note}")
        passed_cases.append(f"{name} ({source})")
    sys.stdout.flush()


def skip(name, why):
    print(f"SKIP {name}: {why}")
    skipped_cases.append(name)
    sys.stdout.flush()


# --- @SECONDS under time zones with summer time ---------------------------

def local_date(seconds, zone):
    return (EPOCH + datetime.timedelta(seconds=seconds)).astimezone(zone).date()


def instants_input(tz, size):
    """Lines of an instant and a date, either way round, and the days Python
    gives for every 20th line and for every instant near a local midnight."""
    zone = zoneinfo.ZoneInfo(tz)
    # A day inside the ends, so that no local date leaves 1400-9999.
    low = int((datetime.datetime(1400, 1, 3, tzinfo=UTC) - EPOCH).total_seconds())
    high = int((datetime.datetime(9999, 12, 29, tzinfo=UTC) - EPOCH).total_seconds())
    lines, expected = [], {}
    length = 0
    while length < size:
        near_midnight = rng.random() < 0.1
        if near_midnight:
            # Local midnight of a random day (in summer for about half), a few seconds either side.
            year = rng.choice([rng.randint(1401, 9998), rng.randint(1900, 2100)])
            month = rng.choice([rng.randint(1, 12), rng.randint(4, 9)])
            day = rng.randint(1, 28)
            midnight = datetime.datetime(year, month, day, tzinfo=zone)
            seconds = int((midnight.astimezone(UTC) - EPOCH).total_seconds()) + rng.randint(-3, 3)
        elif rng.random() < 0.5:
            seconds = rng.randint(low, -1)
        else:
            seconds = rng.randint(0, high)
        other = datetime.date.fromordinal(rng.randint(FIRST + 2, LAST - 2))
        instant_first = rng.random() < 0.5
        a, b = (f"@{seconds}", other.isoformat()) if instant_first else (other.isoformat(), f"@{seconds}")
        if near_midnight or len(lines) % 20 == 0:
            here = local_date(seconds, zone)
            expected[len(lines)] = (here - other).days if instant_first else (other - here).days
        line = f"{a}\t{b}\n"
        lines.append(line)
        length += len(line)
    return "".join(lines).encode(), expected


def oracle_problems(result, expected, number_only):
    rows = result.out.split(b"\n")
    problems = []
    for index, days in expected.items():
        row = rows[index] if index < len(rows) else b"(no row)"
        got = row if number_only else row.rsplit(b"\t", 1)[-1]
        if got != str(days).encode():
            problems.append(f"{result.label}: line {index + 1}: {show(row)}, but Python's zoneinfo and "
                            f"date ordinals give {days}")
            if len(problems) >= 3:
                problems.append(f"{result.label}: ...")
                break
    return problems


def instants_cases(workdir):
    for tz, args, size in (("America/New_York", [], SHARED), ("Europe/Berlin", ["-n"], SIZE)):
        data, expected = instants_input(tz, size)
        path = os.path.join(workdir, f"instants-{tz.replace('/', '-')}.txt")
        with open(path, "wb") as f:
            f.write(data)
        for source in ("file", "pipe"):
            runs = jobs_runs(args, path=path if source == "file" else None,
                             data=data if source == "pipe" else None, tz=tz)
            problems = differences(runs)
            for r in runs:
                problems += oracle_problems(r, expected, "-n" in args)
            report(f"@SECONDS, TZ={tz}", args, source, problems,
                   f" ({len(expected)} answers checked against zoneinfo)")


# --- today under a fast clock ---------------------------------------------

FAKE_START = datetime.datetime(2026, 12, 11, 23, 59, 59)
TODAY_BASE = datetime.date(2000, 1, 1)
TODAY_WORDS = {b"today": 0, b"yesterday": -1, b"tomorrow": 1}


def clock_reading(faketime, workdir):
    """When does the program read the clock? Under a clock that runs a day a
    millisecond, the day it names says how many milliseconds after its start
    it read it. A fake day is made five times the longest of these (3 ms at
    least), so that a program that reads the clock once reads it in the
    first fake day after midnight, and a run of a few MB lasts several fake
    days. The length of a fake day in seconds, or why the case cannot run."""
    probe = os.path.join(workdir, "today-probe.txt")
    with open(probe, "wb") as f:
        f.write(b"today\t2000-01-01\n")
    start_days = (FAKE_START.date() - TODAY_BASE).days
    first_read = 0
    for j in JOBS * 2:
        r = run(f"-j {j}", ["-n", "-j", j], path=probe,
                prefix=[faketime, "-f", f"@{FAKE_START:%Y-%m-%d %H:%M:%S} x86400000"])
        try:
            days_on = int(r.out) - start_days
        except ValueError:
            return None, f"spanlet -n -j {j} -f FILE under faketime wrote {show(r.out)}, {show(r.err)}"
        if not 0 <= days_on <= 10000:
            return None, (f"faketime had no effect (today read as 2000-01-01 + {int(r.out)} days, the fake start "
                          f"is + {start_days}; an emulator or a statically linked build?)")
        first_read = max(first_read, days_on)
    return max(5 * first_read / 1000, 0.003), None


def today_runs(faketime, day, path, data, kinds, source):
    """The three runs of one source under a clock that runs a fake day in
    DAY seconds; their problems, whether each run named one day alone, and
    what the report says of the clock."""
    rate = max(1, int(86400 / day))
    spec = f"@{FAKE_START:%Y-%m-%d %H:%M:%S} x{rate}"
    # From a pipe, the input comes in pieces a third of a fake day apart.
    runs = jobs_runs(["-n"], path=path if source == "file" else None, data=data if source == "pipe" else None,
                     prefix=[faketime, "-f", spec], paced=None if source == "file" else (256 << 10, day / 3))
    problems = differences(runs, compare_stdout=False)
    sets = []
    for r in runs:
        rows = r.out.split(b"\n")
        seen, first_other = set(), None
        for i, kind in enumerate(kinds):
            row = rows[i] if i < len(rows) else b""
            try:
                value = int(row) - TODAY_WORDS[kind]
            except ValueError:
                problems.append(f"{r.label}: line {i + 1} ({kind.decode()}): {show(row)} is not a number")
                break
            if seen and value not in seen and first_other is None:
                first_other = (i, row, kind)
            seen.add(value)
        sets.append(seen)
        if first_other is not None:
            i, row, kind = first_other
            problems.append(f"{r.label}: `today` named {len(seen)} days in one run, {fmt_days(seen)}; "
                            f"the first row of another day is line {i + 1}: {show(row)} for {kind.decode()}, "
                            f"after {show(rows[0])} for {kinds[0].decode()} on line 1")
    one_day_each = not problems
    for r, seen in zip(runs[1:], sets[1:]):
        if seen != sets[0]:
            problems.append(f"{r.label} against {runs[0].label}: today is {fmt_days(seen)} "
                            f"against {fmt_days(sets[0])}")
    spans = ", ".join(f"{r.label} {r.wall / day:.1f}" for r in runs)
    return problems, one_day_each, sets, f"faketime -f '{spec}': the runs lasted {spans} fake days"


def today_cases(workdir):
    name = "today under a fast clock"
    faketime = shutil.which("faketime")
    if faketime is None:
        skip(name, "the command faketime is missing (Debian package faketime); CI installs it")
        return
    day, why = clock_reading(faketime, workdir)
    if day is None:
        skip(name, why)
        return
    lines = [rng.choice(list(TODAY_WORDS)) + b"\t2000-01-01\n" for _ in range(SHARED // 17)]
    kinds = [line.split(b"\t", 1)[0] for line in lines]
    data = b"".join(lines)
    path = os.path.join(workdir, "today.txt")
    with open(path, "wb") as f:
        f.write(data)
    start_days = (FAKE_START.date() - TODAY_BASE).days
    for source in ("file", "pipe"):
        problems, one_day_each, sets, clock = today_runs(faketime, day, path, data, kinds, source)
        if any(all(abs(t - start_days) > 30 for t in seen) for seen in sets if seen):
            skip(f"{name} ({source})", f"faketime had no effect on a run ({clock}; today read as "
                 f"{'; '.join(fmt_days(seen) for seen in sets)})")
            continue
        retried = ""
        if problems and one_day_each:
            # Each run named one day, but not all the same one: a run that
            # started late on a loaded machine reads its clock a fake day
            # later. Once more, with the clock measured again.
            retried = f"; a first try, {clock}, gave {' / '.join(fmt_days(seen) for seen in sets)}"
            day, why = clock_reading(faketime, workdir)
            if day is None:
                skip(f"{name} ({source})", why)
                continue
            problems, one_day_each, sets, clock = today_runs(faketime, day, path, data, kinds, source)
        report(name, ["-n"], source, problems, f" ({clock}{retried})")


def fmt_days(days):
    return "{" + ", ".join(str(TODAY_BASE + datetime.timedelta(days=t)) for t in sorted(days)) + "}"


# --- every option set over mixed lines ------------------------------------

REFUSED_TEXTS = ["2010-02-30", "1399-12-31", "abc", "12:30:45", "10.1.1.1", "24.12.2026", "2021-W53-1",
                 "Fri, 10 Aug 2010", "Dec 10 02:42", "2010-08-1O", "0099-12-31", "2026-W50", "2026-367",
                 "\u00e92010-01-01", "x\x01y\x1bz", "2010-13-01", "q" * 300]


def a_date():
    return datetime.date.fromordinal(rng.randint(FIRST, LAST))


def spelled(d):
    """A date in one of the spellings spanlet reads (or, read day first or with
    its two-digit year, may read otherwise or refuse)."""
    kind = rng.randrange(14)
    if kind < 4:
        return d.isoformat()
    if kind == 4:
        return f"{d.month}/{d.day}/{d.year}"
    if kind == 5:
        return f"{d.day:02}.{d.month:02}.{d.year}"
    if kind == 6:
        return f"{d.year:04}{d.month:02}{d.day:02}"
    if kind == 7:
        return f"{d.day} {MONTHS[d.month - 1]} {d.year}"
    if kind == 8:
        return f"{MONTHS[d.month - 1]} {d.day}, {d.year}"
    if kind == 9:
        year, week, weekday = d.isocalendar()
        return f"{year}-W{week:02}-{weekday}"
    if kind == 10:
        return f"{d.year}-{d.timetuple().tm_yday:03}"
    if kind == 11:
        return f"{d.month:02}/{d.day:02}/{d.year % 100:02}"
    if kind == 12:
        return f"{d.isoformat()}T{rng.randint(0, 23):02}:{rng.randint(0, 59):02}:{rng.randint(0, 59):02}"
    return f"{WEEKDAYS[d.weekday()]}, {d.day:02} {MONTHS[d.month - 1]} {d.year} 02:56:35 +0000"


def mixed_input(size, delimiter):
    """Mostly good pairs (most of them the common YYYY-MM-DD line, the others
    in every spelling), among them refused dates, lines of one or three
    fields, empty and blank lines, NUL bytes, CR LF, long lines (a date and a
    long time text, for --line-limit), texts with the other separator in
    them; a byte order mark first, and no line feed after the last line."""
    other = "\t" if delimiter == "," else ","

    # With -d ",", no comma inside the texts but where the line says so.
    def spelled_date():
        return spelled(a_date()).replace(",", "") if delimiter == "," else spelled(a_date())

    def refused_text():
        return rng.choice(REFUSED_TEXTS).replace(",", "") if delimiter == "," else rng.choice(REFUSED_TEXTS)

    lines, length = [], 0
    while length < size:
        roll = rng.random()
        if roll < 0.85:
            # The common line, which is answered eight at a time.
            line = f"{a_date().isoformat()}{delimiter}{a_date().isoformat()}"
        elif roll < 0.95:
            a, b = spelled_date(), spelled_date()
            if delimiter == "\t" and rng.random() < 0.05 and " " not in a + b:
                line = f"  {a}   {b} "  # split at blanks: no tab in the line
            else:
                line = f"{a}{delimiter}{b}"
        elif roll < 0.965:
            texts = [refused_text(), rng.choice([refused_text(), spelled_date()])]
            rng.shuffle(texts)
            line = delimiter.join(texts)
        elif roll < 0.97:
            line = spelled_date()
        elif roll < 0.975:
            line = delimiter.join(spelled_date() for _ in range(3))
        elif roll < 0.98:
            line = ""
        elif roll < 0.983:
            line = "   "
        elif roll < 0.986:
            line = f"{a_date().isoformat()}\0{delimiter}{a_date().isoformat()}"
        elif roll < 0.99:
            line = f"{a_date().isoformat()}{other}x{delimiter}{a_date().isoformat()}"
        elif roll < 0.995:
            line = f"{a_date().isoformat()}T12:34 {'w' * rng.randint(300, 700)}{delimiter}{a_date().isoformat()}"
        else:
            line = f"{spelled_date()}{delimiter}{refused_text()}"
        line += "\r\n" if rng.random() < 0.1 else "\n"
        lines.append(line)
        length += len(line)
    return b"\xef\xbb\xbf" + "".join(lines).encode().rstrip(b"\r\n")


def holidays_file(path):
    with open(path, "w") as f:
        f.write("# holidays for the working-day cases\n\n")
        for _ in range(300):
            d = datetime.date.fromordinal(rng.randint(datetime.date(1990, 1, 1).toordinal(),
                                                      datetime.date(2040, 12, 31).toordinal()))
            f.write(rng.choice([f"{d.isoformat()}\tholiday\n", f"{d.isoformat()}  # a comment\n",
                                f"{d.day} {MONTHS[d.month - 1]} {d.year}\n"]))


def option_cases(workdir):
    tabs = mixed_input(SIZE, "\t")
    commas = mixed_input(SIZE, ",")
    holidays = os.path.join(workdir, "holidays.txt")
    holidays_file(holidays)
    inputs = {}
    for name, data in (("tabs", tabs), ("commas", commas)):
        path = os.path.join(workdir, f"mixed-{name}.txt")
        with open(path, "wb") as f:
            f.write(data)
        inputs[name] = (path, data)
    # Each set once from a file and once through a pipe; options are
    # combined so that the runs stay few (the test also runs under
    # ThreadSanitizer, at about a twentieth of the speed).
    option_sets = [
        ([], "tabs"),
        (["-n"], "tabs"),
        (["-u", "ymd", "--inclusive"], "tabs"),
        (["-u", "w", "-n", "--day-first"], "tabs"),
        (["-b", "--holidays", holidays], "tabs"),
        (["-b", "--weekend=fri,sat", f"--holidays={holidays}", "--inclusive", "-n"], "tabs"),
        (["-d", ","], "commas"),
        (["-d", ",", "-n", "--day-first", "-u", "md"], "commas"),
        (["--line-limit=256"], "tabs"),
    ]
    for args, which in option_sets:
        path, data = inputs[which]
        for source in ("file", "pipe"):
            runs = jobs_runs(args, path=path if source == "file" else None, data=data if source == "pipe" else None)
            problems = differences(runs)
            messages = runs[0].err.count(b"\n")
            if messages < 100 and not problems:
                problems.append(f"-j 1 wrote only {messages} messages: the mixed input is not what it should be")
            report("mixed lines", args, source, problems, f" ({messages} messages, exit {runs[0].rc})")


# --- out of memory --------------------------------------------------------

def limited(mib):
    def limit():
        resource.setrlimit(resource.RLIMIT_AS, (mib << 20, mib << 20))
    return limit


def memory_cases(workdir):
    name = "out of memory"
    normal = b"2010-08-10\t2010-01-01\n"
    refused = b"2010-02-30\t2010-01-01\n"
    after = (normal * 499 + refused) * 150  # 3.3 MB: parts after the long line
    before = (normal * 499 + refused) * 100  # 2.2 MB: parts before it
    long_line = b"2010-01-01\t" + b"x" * 100_000_000 + b"\n"
    args = ["-n", "--line-limit=1G"]
    for where, data in (("first", long_line + after), ("after 2 MB", before + long_line + after)):
        path = os.path.join(workdir, "long-line.txt")
        with open(path, "wb") as f:
            f.write(data)
        for source in ("file", "pipe"):
            feed = dict(path=path) if source == "file" else dict(data=data)
            # The largest limit under which -j 1 runs out of memory.
            found, limits = None, (176, 160, 128, 96, 64)
            for mib in limits:
                one = run("-j 1", ["-j", "1"] + args, preexec=limited(mib), **feed)
                if mib == limits[0]:
                    said = one.err.split(b"\n")[0]
                    first = f"under {mib} MiB it ended with exit {one.rc}, {show(said)}"
                if one.err.endswith(b"spanlet: out of memory\n"):
                    found = mib
                    break
            case = f"{name}, a 100 MB line {where}"
            if found is None:
                skip(f"{case} ({source})", f"no address-space limit of {limits[0]} to {limits[-1]} MiB made "
                     f"-j 1 run out of memory (a sanitizer build or an emulator, which need more to start?): "
                     f"{first}")
                continue
            runs = [one] + [run(f"-j {j}", ["-j", j] + args, preexec=limited(found), **feed) for j in JOBS[1:]]
            rows = runs[0].out.count(b"\n")
            report(case, args, source, differences(runs),
                   f" (RLIMIT_AS {found} MiB; -j 1 wrote {rows} rows, then ran out of memory)")
        os.unlink(path)


def main():
    with tempfile.TemporaryDirectory() as workdir:
        for section in (instants_cases, today_cases, option_cases, memory_cases):
            start = time.monotonic()
            section(workdir)
            print(f"     ({section.__name__}: {time.monotonic() - start:.1f} s)")
    print()
    print(f"jobs oracle: {len(passed_cases)} cases agree, {len(failed_cases)} differ, {len(skipped_cases)} skipped")
    for case in failed_cases:
        print(f"  differs: {case}")
    sys.exit(1 if failed_cases else 0)


main()
