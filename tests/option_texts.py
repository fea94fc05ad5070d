#!/usr/bin/env python3
"""The three texts that list spanlet's options must list the same options:
the output of `spanlet --help`, the OPTIONS section of the manual page's
source (docs/spanlet.1.in) and the options table of README.md ("## Options").

From each it takes, for every option, the triple (short spelling, long
spelling, value name): ("-f", "--file", "FILE"), (None, "--csv", None). Value
names are compared without regard to case, since the manual page writes them
in lowercase italics (`file`) where --help and the README write FILE. `--`
alone, which ends the options, is no option and is not compared.

Every disagreement is printed, one a line, naming the option, the text and
what differs; the exit status is then 1. A line of an option list that cannot
be read as options is a disagreement too, so that the check never skips what
it does not understand.

    option_texts.py SPANLET SOURCE_DIR [LAUNCHER]
"""
import os
import re
import subprocess
import sys

HELP = "--help"
MAN = "the manual page (docs/spanlet.1.in, OPTIONS)"
README = "README.md (the options table)"
TEXTS = (HELP, MAN, README)

problems = []


def problem(text):
    problems.append(text)


# One spelling of an option: "-f", "-f FILE", "--file", "--file=FILE",
# "--file FILE", "--color[=WHEN]".
SPELLING = re.compile(r"^(?P<name>--?[A-Za-z0-9][A-Za-z0-9-]*)(?:(?P<sep>=| +|\[=)(?P<value>\S.*))?$")


def read_entry(where, text, source):
    """The option triple of one entry of a list: `text` holds its spellings
    separated by commas ("-f, --file=FILE"). None when `text` is not that."""
    short = long = None
    values = []
    # A value may itself hold a comma ("--columns=A,B"): split only at a comma
    # that a dash follows.
    for part in re.split(r",\s*(?=-)", text.strip()):
        match = SPELLING.match(part.strip())
        if match is None:
            problem(f"{where}: cannot read {part.strip()!r} of {source!r} as an option")
            return None
        name = match.group("name")
        if name.startswith("--"):
            if long is not None:
                problem(f"{where}: two long spellings in one entry: {source!r}")
                return None
            long = name
        else:
            if short is not None or len(name) != 2:
                problem(f"{where}: {name!r} in {source!r} is no short spelling (one letter after one dash)")
                return None
            short = name
        value = match.group("value")
        if value is not None:
            if match.group("sep") == "[=":
                if not value.endswith("]"):
                    problem(f"{where}: {part.strip()!r} of {source!r} opens a [ it does not close")
                    return None
                value = "[" + value
            values.append((name, value))
    value = None
    if values:
        value = values[0][1]
        for name, other in values[1:]:
            if other.casefold() != value.casefold():
                problem(f"{where}: {values[0][0]} takes {value} but {name} takes {other}, in one entry: {source!r}")
    return short, long, value


# --help -------------------------------------------------------------------

def help_options(spanlet_command):
    """The options of `spanlet --help`: every line indented by a few spaces
    that starts with a dash, the spellings up to two blanks or the line's end.
    Lines that carry a description on are indented further."""
    run = subprocess.run(spanlet_command + ["--help"], stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if run.returncode != 0:
        problem(f"{HELP}: spanlet --help exits {run.returncode}, not 0: {run.stderr.decode(errors='replace')!r}")
    entries = []
    for number, line in enumerate(run.stdout.decode("utf-8", errors="replace").splitlines(), start=1):
        match = re.match(r"^( {1,8})(-\S.*?)(?: {2,}.*)?$", line)
        if match is None:
            continue
        spellings = match.group(2).rstrip()
        if spellings == "--":
            continue
        entry = read_entry(f"{HELP}, line {number}", spellings, line.strip())
        if entry is not None:
            entries.append((f"{HELP}, line {number}", entry))
    if not entries:
        problem(f"{HELP}: no option lines found in the output of spanlet --help")
    return entries


# The manual page -------------------------------------------------------------

def troff_arguments(text):
    """The arguments of a request or macro line, as troff splits them: at
    blanks, with double quotes around an argument that holds blanks and ""
    for a quote inside one."""
    args = []
    i = 0
    while i < len(text):
        if text[i] in " \t":
            i += 1
            continue
        if text[i] == '"':
            i += 1
            arg = []
            while i < len(text):
                if text[i] == '"':
                    if i + 1 < len(text) and text[i + 1] == '"':
                        arg.append('"')
                        i += 2
                        continue
                    i += 1
                    break
                arg.append(text[i])
                i += 1
            args.append("".join(arg))
        else:
            arg = []
            while i < len(text) and text[i] not in " \t":
                if text[i] == "\\" and i + 1 < len(text):
                    arg.append(text[i:i + 2])
                    i += 2
                    continue
                arg.append(text[i])
                i += 1
            args.append("".join(arg))
    return args


# Escapes that stand for a character in an option's spelling, and those that
# print nothing (fonts, italic corrections, zero-width spaces).
ESCAPED_CHARACTERS = {"-": "-", "e": "\\", "\\": "\\", " ": " ", "~": " ", "0": " ",
                      "(hy": "-", "(mi": "-", "[hy]": "-", "[mi]": "-", "[u2010]": "-", "[u2212]": "-"}
SILENT_ESCAPE = re.compile(r"\\(f(\(..|\[[^\]]*\]|.)|[&|^,/%]|s[+-]?\d)")


def troff_plain(text, where):
    text = SILENT_ESCAPE.sub("", text)
    out = []
    i = 0
    while i < len(text):
        if text[i] != "\\":
            out.append(text[i])
            i += 1
            continue
        for escape, character in ESCAPED_CHARACTERS.items():
            if text.startswith(escape, i + 1):
                out.append(character)
                i += 1 + len(escape)
                break
        else:
            problem(f"{where}: an escape this check does not know, {text[i:i + 4]!r}, in {text!r}")
            out.append(text[i])
            i += 1
    return "".join(out)


FONT_MACROS = {".B", ".I", ".SM", ".SB"}
ALTERNATING_MACROS = {".BR", ".RB", ".BI", ".IB", ".IR", ".RI"}


def man_line_text(line, where):
    """A line of the manual page as it reads: fonts dropped."""
    if line.startswith((".", "'")):
        macro, _, rest = line.partition(" ")
        macro = "." + macro[1:]
        args = troff_arguments(rest)
        if macro in FONT_MACROS:
            line = " ".join(args)
        elif macro in ALTERNATING_MACROS:
            line = "".join(args)
        else:
            problem(f"{where}: the tag of an option is a {macro} line, which this check cannot read: {line!r}")
            return None
    return troff_plain(line, where)


def man_options(source_dir):
    """The options of the manual page: the tag of every .TP (and .TQ) of its
    OPTIONS section."""
    path = os.path.join(source_dir, "docs", "spanlet.1.in")
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    entries = []
    in_options = False
    seen_section = False
    expect_tag = False
    for number, line in enumerate(lines, start=1):
        if re.match(r"^[.']\s*\\\"", line):  # a comment
            continue
        if line.startswith(".SH"):
            in_options = troff_arguments(line[3:]) == ["OPTIONS"]
            seen_section = seen_section or in_options
            expect_tag = False
            continue
        if not in_options:
            continue
        if re.match(r"^\.(TP|TQ)\b", line):
            expect_tag = True
            continue
        if not expect_tag:
            continue
        expect_tag = False
        where = f"{MAN}, line {number}"
        text = man_line_text(line, where)
        if text is None:
            continue
        entry = read_entry(where, text, line)
        if entry is not None:
            entries.append((where, entry))
    if not seen_section:
        problem(f"{MAN}: no .SH OPTIONS section in {path}")
    elif not entries:
        problem(f"{MAN}: no options (.TP tags) in the OPTIONS section")
    return entries


# README -------------------------------------------------------------------

def table_cells(row):
    """The cells of a Markdown table row; a pipe inside a code span or after
    a backslash does not split."""
    cells, cell, in_code = [], [], False
    body = row.strip()
    body = body[1:] if body.startswith("|") else body
    i = 0
    while i < len(body):
        c = body[i]
        if c == "\\" and i + 1 < len(body):
            cell.append(body[i:i + 2])
            i += 2
            continue
        if c == "`":
            in_code = not in_code
        if c == "|" and not in_code:
            cells.append("".join(cell).strip())
            cell = []
        else:
            cell.append(c)
        i += 1
    if "".join(cell).strip():
        cells.append("".join(cell).strip())
    return cells


def readme_options(source_dir):
    """The options of README.md: the first cell of every row of the table in
    the "## Options" section, each spelling a code span (`-f FILE`,
    `--file=FILE`)."""
    path = os.path.join(source_dir, "README.md")
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    entries = []
    in_options = False
    seen_section = False
    rows = 0
    for number, line in enumerate(lines, start=1):
        if line.startswith("#"):
            in_options = re.match(r"^##\s+Options\s*$", line) is not None
            seen_section = seen_section or in_options
            continue
        if not in_options or not line.lstrip().startswith("|"):
            continue
        rows += 1
        cells = table_cells(line)
        first = cells[0] if cells else ""
        if rows == 1 or re.fullmatch(r":?-+:?", first):  # the header and the rule under it
            continue
        where = f"{README}, line {number}"
        spans = re.findall(r"`([^`]*)`", first)
        rest = re.sub(r"`[^`]*`", "", first)
        if not spans or rest.replace(",", "").strip():
            problem(f"{where}: the first cell, {first!r}, is not the option's spellings as code spans separated by commas")
            continue
        entry = read_entry(where, ", ".join(spans), first)
        if entry is not None:
            entries.append((where, entry))
    if not seen_section:
        problem(f"{README}: no \"## Options\" section in {path}")
    elif not entries:
        problem(f"{README}: no options table in the \"## Options\" section")
    return entries


# The comparison ---------------------------------------------------------------

def spelled(triple):
    short, long, value = triple
    if long is None:
        return short + (f" {value}" if value else "")
    return (f"{short}, " if short else "") + long + (f"={value}" if value else "")


def compare(found):
    """found: text -> [(where, (short, long, value))]. Options are matched
    across the texts by their long spelling, or their short one when they
    have none."""
    by_text = {}
    for text, entries in found.items():
        options = {}
        for where, triple in entries:
            key = triple[1] or triple[0]
            if key in options:
                problem(f"option {key}: listed twice in {text}: {options[key][0]} and {where}")
                continue
            options[key] = (where, triple)
        by_text[text] = options

    keys = []
    for text in TEXTS:
        keys += [k for k in by_text[text] if k not in keys]
    for key in keys:
        present = [t for t in TEXTS if key in by_text[t]]
        missing = [t for t in TEXTS if key not in by_text[t]]
        listed = ", ".join(f"{t} as {spelled(by_text[t][key][1])!r}" for t in present)
        for text in missing:
            problem(f"option {key}: missing from {text}; listed in {listed}")
        if len(present) < 2:
            continue
        # Spellings must match exactly (-b is not -B); value names up to case.
        for index, what, same in ((0, "short spelling", lambda f: f), (2, "value name", lambda f: f.casefold())):
            forms = {t: by_text[t][key][1][index] for t in present}
            if len({same(f or "") for f in forms.values()}) > 1:
                said = "; ".join(f"{t} has {forms[t] or 'none'}" for t in present)
                problem(f"option {key}: the {what} differs: {said}")


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__.strip().splitlines()[-1].strip())
    spanlet, source_dir = sys.argv[1], sys.argv[2]
    command = ([sys.argv[3]] if len(sys.argv) == 4 and sys.argv[3] else []) + [spanlet]
    found = {HELP: help_options(command), MAN: man_options(source_dir), README: readme_options(source_dir)}
    compare(found)
    if problems:
        print("--help, the manual page and README.md do not list the same options:")
        for text in problems:
            print("  " + text)
        sys.exit(1)
    print(f"--help, the manual page and README.md list the same {len(found[HELP])} options.")


if __name__ == "__main__":
    main()
