#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Resident memory of the program over many readings, one reading path at a time.

    bench/reading_memory_bench.py [--program PATH] [--readings N] [--every K]
                                  [--paths default,espeak-slot,speechd-slot]
                                  [--heaptrack FOLDER]

Under Xvfb with a tray host, PulseAudio with a null sink and speech-dispatcher
(tests/integration/with_services.sh), for each path a fresh copy of the
program (hidden in the tray, two voice slots: slot 1 espeak-ng, slot 2
speech-dispatcher) reads a line selected in l3afpad again and again: the
path's hot key, the first sound, the stop key, silence. After a warm-up of
12 readings (engines connected, caches of the line filled) it samples
resident memory (VmRSS) and the heap's resident part every K readings, and
prints KiB per reading over the first and the second half of the run: a
leak grows as fast in both halves, a pool that fills levels off. At the end
it waits --idle seconds (Qt's pixmap cache, for one, shrinks while the
program is idle), samples again, then asks glibc (through gdb) to trim the
heap and samples once more: memory that malloc holds free goes away then,
memory still allocated does not.

The paths: the default voice's key (Ctrl+BackSpace, espeak-ng in-process),
slot 1's key (Ctrl+Alt+1, espeak-ng) and slot 2's key (Ctrl+Alt+2,
speech-dispatcher). With --heaptrack the program runs under heaptrack and
its recording for each path is left in FOLDER (heaptrack_print it, or
compare two runs of different lengths with heaptrack_print -d).
"""

import argparse
import contextlib
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from program_bench import (SinkRecorder, Voxmere, default_program, fail, rss_kib, run,
                           start_editor, stop)

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SLOTS = (b"[Slot_0]\r\nVoice=English (America)\r\nHotKey=49201\r\nSpeed=170\r\nPitch=50\r\n"
         b"Volume=100\r\nSAPIVersion=4\r\n"
         b"[Slot_1]\r\nVoice=English (America)\r\nHotKey=49202\r\nSpeed=0\r\nPitch=0\r\n"
         b"Volume=100\r\nSAPIVersion=5\r\n")
PATHS = {"default": "ctrl+BackSpace", "espeak-slot": "ctrl+alt+1", "speechd-slot": "ctrl+alt+2"}
STOP_KEY = "ctrl+F12"
WARM_UP = 12


def heap_kib(pid):
    """Resident KiB of the brk heap and of anonymous mappings (malloc's other arenas)."""
    heap = anonymous = 0
    path = None
    with open(f"/proc/{pid}/smaps") as smaps:
        for line in smaps:
            if re.match(r"^[0-9a-f]+-[0-9a-f]+ ", line):
                fields = line.split()
                path = fields[5] if len(fields) > 5 else ""
            elif line.startswith("Rss:"):
                kib = int(line.split()[1])
                if path == "[heap]":
                    heap += kib
                elif path == "":
                    anonymous += kib
    return heap, anonymous


def trim_heap(pid):
    """Makes the program give free heap memory back (malloc_trim(0))."""
    done = run("gdb", "-p", str(pid), "-batch", "-ex", "call (int) malloc_trim(0)",
               timeout=60)
    if done.returncode != 0:
        print(f"note: gdb could not trim the heap: {done.stderr.strip()[:200]}")


def read_once(recorder, key):
    """One reading: the key, the first sound, the stop key, silence."""
    pressed = time.monotonic()
    run("xdotool", "key", "--clearmodifiers", key)
    if recorder.first_sound_after(pressed, 10) is None:
        fail(f"{key} gave no sound")
    run("xdotool", "key", "--clearmodifiers", STOP_KEY)
    if not recorder.wait_for_quiet(0.3, 20):
        fail("the reading did not end")


def slope(samples):
    """KiB per reading of the least-squares line through (reading, KiB)."""
    count = len(samples)
    if count < 2:
        return 0.0
    mean_x = sum(x for x, _ in samples) / count
    mean_y = sum(y for _, y in samples) / count
    spread = sum((x - mean_x) ** 2 for x, _ in samples)
    return sum((x - mean_x) * (y - mean_y) for x, y in samples) / spread


def measure_path(program, work, recorder, name, key, readings, every, idle, heaptrack):
    voxmere = Voxmere(program, work, name, files={"slots.ini": SLOTS},
                      wrapper=["heaptrack", "-o", os.path.join(heaptrack, name)]
                      if heaptrack else None)
    editor = None
    try:
        editor = start_editor(work, "l3afpad", f"{name}.txt")
        # l3afpad keeps its selection when the clipboard is taken from it.
        editor.select()
        for _ in range(WARM_UP):
            read_once(recorder, key)
        rows = []
        for done in range(0, readings + 1):
            if done % every == 0:
                rows.append((done, rss_kib(voxmere.pid), *heap_kib(voxmere.pid)))
                print(f"  {name:<13} {done:5d} readings: resident {rows[-1][1]} KiB, "
                      f"heap {rows[-1][2]} KiB, anonymous {rows[-1][3]} KiB", flush=True)
            if done < readings:
                read_once(recorder, key)
        voxmere.check_reading(name)
        time.sleep(idle)
        rested = rss_kib(voxmere.pid)
        trim_heap(voxmere.pid)
        trimmed = rss_kib(voxmere.pid)
    finally:
        if editor:
            stop(editor.process)
        if heaptrack:
            # Killed, so that heaptrack's recording ends with everything
            # the program held (its "leaked" memory), and its wrapper ends.
            os.kill(voxmere.pid, signal.SIGKILL)
            voxmere.process.wait(120)
        stop(voxmere.process)
    return rows, rested, trimmed


def inside(arguments):
    if not os.environ.get("VOXMERE_TEST_SINK"):
        fail("no test sink: run outside with_services.sh")
    results = []
    with contextlib.ExitStack() as stack:
        work = tempfile.mkdtemp(prefix="voxmere-memory-")
        stack.callback(shutil.rmtree, work, ignore_errors=True)
        recorder = SinkRecorder(os.environ["VOXMERE_TEST_SINK"])
        stack.callback(recorder.close)
        subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=b"clipboard text",
                       timeout=10, check=True)
        for name in arguments.paths.split(","):
            if name not in PATHS:
                fail(f"unknown path {name}; known: {', '.join(PATHS)}")
            rows, rested, trimmed = measure_path(arguments.program, work, recorder, name,
                                                 PATHS[name], arguments.readings,
                                                 arguments.every, arguments.idle,
                                                 arguments.heaptrack)
            results.append((name, rows, rested, trimmed))

    print(f"KiB per reading after {WARM_UP} warm-up readings (resident; heap + anonymous)")
    print(f"  {'path':<13} {'readings':>8} {'start':>7} {'end':>7} {'idle':>7} {'trimmed':>7}"
          f" {'1st half':>9} {'2nd half':>9} {'heap 1st':>9} {'heap 2nd':>9}")
    for name, rows, rested, trimmed in results:
        half = len(rows) // 2
        resident = [(done, rss) for done, rss, _, _ in rows]
        heap = [(done, brk + anonymous) for done, _, brk, anonymous in rows]
        print(f"  {name:<13} {rows[-1][0]:>8} {rows[0][1]:>7} {rows[-1][1]:>7} {rested:>7}"
              f" {trimmed:>7}"
              f" {slope(resident[:half + 1]):9.2f} {slope(resident[half:]):9.2f}"
              f" {slope(heap[:half + 1]):9.2f} {slope(heap[half:]):9.2f}")
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", default=os.environ.get("VOXMERE_PROGRAM") or default_program())
    parser.add_argument("--readings", type=int, default=600)
    parser.add_argument("--every", type=int, default=100)
    parser.add_argument("--paths", default=",".join(PATHS))
    parser.add_argument("--idle", type=float, default=0,
                        help="seconds to wait after the readings before the last samples")
    parser.add_argument("--heaptrack", metavar="FOLDER",
                        help="run the program under heaptrack, recordings into FOLDER")
    parser.add_argument("--inside", action="store_true", help=argparse.SUPPRESS)
    arguments = parser.parse_args()
    arguments.program = os.path.abspath(arguments.program)
    if arguments.heaptrack:
        arguments.heaptrack = os.path.abspath(arguments.heaptrack)
        os.makedirs(arguments.heaptrack, exist_ok=True)
    if not os.access(arguments.program, os.X_OK):
        fail(f"no program at {arguments.program} (build it first)")
    if arguments.inside:
        return inside(arguments)
    services = os.path.join(ROOT, "tests", "integration", "with_services.sh")
    return subprocess.call([services, "x11", "speechd", "tray", "--", sys.executable,
                            os.path.abspath(__file__), "--inside", "--program",
                            arguments.program, "--readings", str(arguments.readings),
                            "--every", str(arguments.every), "--paths", arguments.paths,
                            "--idle", str(arguments.idle)]
                           + (["--heaptrack", arguments.heaptrack] if arguments.heaptrack
                              else []))


if __name__ == "__main__":
    sys.exit(main())
