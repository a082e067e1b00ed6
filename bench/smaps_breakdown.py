#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Where a process's resident memory is: /proc/PID/smaps summed by mapping.

    bench/smaps_breakdown.py PID [--top N]

Sums the resident size (Rss, and the private dirty part of it) of every
mapping into a few groups (heap, anonymous memory, the Qt libraries, ICU,
OpenMP, fonts, espeak-ng, PulseAudio, everything else) and lists the files
with the most resident pages. program_bench.py prints it for the program in the tray; run alone it
describes any running process.
"""

import argparse
import collections
import os
import re
import sys

# (group, test of a mapping's path); the first that matches names the group.
GROUPS = (
    ("heap", lambda path: path == "[heap]"),
    ("anonymous", lambda path: path == "" or path.startswith("[anon")),
    ("libQt6Widgets", lambda path: "libQt6Widgets" in path),
    ("libQt6Gui", lambda path: "libQt6Gui" in path),
    ("libQt6Core", lambda path: "libQt6Core" in path),
    ("other Qt 6 libraries and plugins", lambda path: "libQt6" in path or "/qt6/plugins/" in path),
    ("libicu*", lambda path: "libicu" in os.path.basename(path)),
    ("libgomp / OpenMP", lambda path: re.search(r"lib(g|l|i)?omp", os.path.basename(path))),
    ("fonts, FreeType, fontconfig",
     lambda path: ("/fonts/" in path or "fontconfig" in path or "libfreetype" in path
                   or path.endswith((".ttf", ".otf", ".pfb", ".ttc")))),
    ("libespeak-ng and its data", lambda path: "espeak" in path),
    ("libpulse*", lambda path: "libpulse" in path),
    ("libX11, libxcb*, libxkbcommon",
     lambda path: re.search(r"lib(X11|xcb|xkbcommon)", os.path.basename(path))),
    ("libc, libm, libstdc++, ld.so",
     lambda path: re.match(r"(libc|libm|libstdc\+\+|libgcc_s|ld-linux[-\w]*)\.so",
                           os.path.basename(path))),
    ("the program", lambda path: os.path.basename(path) == "voxmere"),
)
OTHERS = "others"
HEADER = re.compile(r"^[0-9a-f]+-[0-9a-f]+ \S+ \S+ \S+ \S+\s*(.*)$")


def group_of(path):
    for name, matches in GROUPS:
        if matches(path):
            return name
    return OTHERS


def sizes_by_path(pid):
    """{mapping path ('' for anonymous): [resident KiB, private dirty KiB]}."""
    sizes = collections.defaultdict(lambda: [0, 0])
    path = ""
    with open(f"/proc/{pid}/smaps") as smaps:
        for line in smaps:
            header = HEADER.match(line)
            if header:
                path = header.group(1).strip()
            elif line.startswith("Rss:"):
                sizes[path][0] += int(line.split()[1])
            elif line.startswith("Private_Dirty:"):
                sizes[path][1] += int(line.split()[1])
    return sizes


def largest_first(sizes):
    return sorted(sizes.items(), key=lambda item: item[1][0], reverse=True)


def breakdown(pid):
    """([(group, [resident, private dirty KiB])], [(path, [...])]), each
    largest first."""
    by_path = sizes_by_path(pid)
    by_group = collections.defaultdict(lambda: [0, 0])
    for path, (resident, private) in by_path.items():
        by_group[group_of(path)][0] += resident
        by_group[group_of(path)][1] += private
    return largest_first(by_group), largest_first(by_path)


def print_breakdown(pid_breakdown, title, top=15, indent="  "):
    """Prints what breakdown() returned: the groups, then the top mappings.
    Private dirty pages are the process's own; the rest of a library's
    resident pages are read from its file (and shared with other processes)."""
    groups, paths = pid_breakdown
    total = sum(resident for _, (resident, _) in groups)
    private = sum(private for _, (_, private) in groups)
    print(f"{indent}{title}: {total / 1024:.1f} MiB resident, {private / 1024:.1f} MiB of it"
          " private dirty (smaps)")
    print(f"{indent}  {'':<44} {'resident':>11} {'private dirty':>15}")
    for name, (resident, private) in groups:
        print(f"{indent}  {name:<44} {resident / 1024:7.2f} MiB {private / 1024:11.2f} MiB")
    print(f"{indent}  top mappings:")
    for path, (resident, private) in paths[:top]:
        print(f"{indent}    {resident / 1024:7.2f} MiB {private / 1024:7.2f} MiB"
              f"  {path or '(anonymous)'}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("pid", type=int)
    parser.add_argument("--top", type=int, default=15)
    arguments = parser.parse_args()
    print_breakdown(breakdown(arguments.pid), f"process {arguments.pid}", arguments.top, indent="")
    return 0


if __name__ == "__main__":
    sys.exit(main())
