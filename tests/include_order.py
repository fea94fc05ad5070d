#!/usr/bin/env python3
"""Includes point one way: each folder of the program includes only itself and
the folders before it in the order its data flows.

    include_order.py SOURCE_DIR

Prints every include that runs back, with its file and line, and exits 1.
"""
import pathlib
import re
import sys

# date is the date library; the rest is the program, in the order of its
# data: the command line, descriptors and the message log, bytes into lines,
# texts into verdicts, verdicts into rows and words, the modes that wire
# them, and the outline.
ORDER = ["date", "options", "io", "frame", "judge", "print", "modes", "app"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/[^"]+"')


def main():
    root = pathlib.Path(sys.argv[1])
    back = []
    checked = 0
    for rank, folder in enumerate(ORDER):
        for path in sorted((root / folder).glob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            checked += 1
            for number, line in enumerate(path.read_text().splitlines(), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                target = match.group(1)
                if target not in ORDER:
                    back.append(f"{path.relative_to(root)}:{number}: includes {target}/, no folder of the program")
                elif ORDER.index(target) > rank:
                    back.append(f"{path.relative_to(root)}:{number}: {folder}/ includes {target}/, which comes after it")
    if checked == 0:
        print(f"no sources under {root}")
        return 1
    for problem in back:
        print(problem)
    print(f"{checked} files, {len(back)} includes that run back")
    return 1 if back else 0


if __name__ == "__main__":
    sys.exit(main())
