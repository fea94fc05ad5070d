#!/usr/bin/env python3
"""CSV mode against Python's csv module and datetime, which share nothing
with spanlet: random CSV files (random quoting, delimiters, quotes and line
breaks inside fields, CR LF, empty and missing fields, a byte order mark,
headers with repeated names) go through `spanlet --csv`, and its output, read
back by csv, must be the input's records with the right answer appended.

    csv_oracle.py SPANLET [LAUNCHER]
"""
import csv
import datetime
import io
import os
import random
import subprocess
import sys
import tempfile

rng = random.Random(20261210)
FIRST = datetime.date(1400, 1, 1).toordinal()
LAST = datetime.date(9999, 12, 31).toordinal()
MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
NOT_DATES = ["2010-02-30", "abc", "", "12:30", "10.1.1.1", "2010-13-01"]


def a_date():
    """A date text and its date, or a text that is no date and None."""
    if rng.random() < 0.1:
        return rng.choice(NOT_DATES), None
    d = datetime.date.fromordinal(rng.randint(FIRST, LAST))
    spelling = rng.choice([
        d.isoformat(),
        f"{d.month}/{d.day}/{d.year}",
        f"{d.year:04}{d.month:02}{d.day:02}",
        f"{MONTHS[d.month - 1]} {d.day}, {d.year}",
        f"{d.day} {MONTHS[d.month - 1]} {d.year}",
    ])
    return spelling, d


def other_text():
    pieces = ["Smith", "John", ",", ";", "\t", '"', "\n", "\r\n", " ", "x", "42", "é", ""]
    return "".join(rng.choice(pieces) for _ in range(rng.randint(0, 5)))


def written(field, delimiter):
    """A field as a CSV writer writes it: quoted when it must be, and now and
    then when it need not be."""
    if any(c in field for c in (delimiter, '"', "\r", "\n")) or rng.random() < 0.2:
        return '"' + field.replace('"', '""') + '"'
    return field


def one_case(spanlet_command, workdir, case):
    delimiter = rng.choice([",", ";", "\t"])
    ending = rng.choice(["\n", "\r\n"])
    fields = rng.randint(2, 6)
    columns = rng.sample(range(1, fields + 1), 2)
    header = rng.random() < 0.6
    number_only = rng.random() < 0.3
    names = [f"c{i}" for i in range(1, fields + 1)]
    if header:
        # A repeated name, but never one of the date columns'.
        others = [i for i in range(fields) if i + 1 not in columns]
        if len(others) >= 2:
            names[others[1]] = names[others[0]]
    records, answers = [], []
    for _ in range(rng.randint(1, 300)):
        row = [other_text() for _ in range(fields)]
        (row[columns[0] - 1], first), (row[columns[1] - 1], second) = a_date(), a_date()
        if rng.random() < 0.05:
            row = row[: rng.randint(1, max(columns) - 1)]  # too few fields
            answers.append("")
        elif first is None or second is None:
            answers.append("")
        else:
            answers.append(str((first - second).days))
        records.append(row)
    # A record of one empty field is written "" (an empty line is no record).
    text = ending.join(delimiter.join(written(f, delimiter) for f in row) if row != [""] else '""'
                       for row in ([names] if header else []) + records)
    if rng.random() < 0.8:
        text += ending
    data = text.encode()
    if rng.random() < 0.2:
        data = b"\xef\xbb\xbf" + data
    path = os.path.join(workdir, f"case{case}.csv")
    with open(path, "wb") as f:
        f.write(data)

    # What csv reads in the file must be the records written (the oracle's
    # own check of the file).
    read = list(csv.reader(io.StringIO(text, newline=""), delimiter=delimiter))
    meant = ([names] if header else []) + records
    if read != meant:
        wrong = next(i for i, (a, b) in enumerate(zip(read, meant)) if a != b) if len(read) == len(meant) else -1
        raise AssertionError(f"case {case}: the file is not what was meant, at record {wrong}: "
                             f"{read[wrong] if wrong >= 0 else len(read)!r} for {meant[wrong] if wrong >= 0 else len(meant)!r}")

    args = ["--csv", "-d", delimiter, "-f", path]
    if header:
        args += ["--header", "--columns", f"{names[columns[0] - 1]},{names[columns[1] - 1]}"]
    else:
        args += ["--columns", f"{columns[0]},{columns[1]}"]
    if number_only:
        args.append("-n")
    run = subprocess.run(spanlet_command + args, capture_output=True)
    out = list(csv.reader(io.StringIO(run.stdout.decode(), newline=""), delimiter=delimiter))
    out = [row if row else [""] for row in out]  # an empty line is one empty field
    expected = []
    if header:
        expected.append(["days"] if number_only else names + ["days"])
    for row, answer in zip(records, answers):
        expected.append([answer] if number_only else row + [answer])
    refused = sum(1 for a in answers if a == "")
    problems = []
    if out != expected:
        for i, (got, want) in enumerate(zip(out, expected)):
            if got != want:
                problems.append(f"record {i + 1}: got {got!r}, expected {want!r}")
                break
        if len(out) != len(expected):
            problems.append(f"{len(out)} records out, {len(expected)} in")
    if run.returncode != (1 if refused else 0):
        problems.append(f"exit status {run.returncode} with {refused} refused")
    messages = run.stderr.count(b"\n")
    if messages < refused:
        problems.append(f"{messages} messages for {refused} refused records")
    if problems:
        print(f"case {case} ({path}, spanlet {' '.join(args)}):")
        for p in problems:
            print("  " + p)
        return False
    return True


def main():
    spanlet_command = sys.argv[2:3] + sys.argv[1:2] if len(sys.argv) > 2 else sys.argv[1:2]
    with tempfile.TemporaryDirectory() as workdir:
        failed = sum(1 for case in range(200) if not one_case(spanlet_command, workdir, case))
        if failed:
            print(f"{failed} of 200 cases failed; the files are kept in {workdir}.kept")
            os.rename(workdir, workdir + ".kept")
            os.makedirs(workdir)
            sys.exit(1)
    print("200 random CSV files: every record written back with the answer Python's datetime gives")


main()
