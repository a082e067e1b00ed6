#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The program reading a huge selection, with each engine.

    bench/huge_selection_bench.py [--program PATH] [--megabytes N]

Under Xvfb with a tray host, PulseAudio with a null sink and speech-dispatcher
(tests/integration/with_services.sh), with "KEEP" on the clipboard and a
20 MB text (--megabytes) selected in a small application that copies it at
once on Ctrl+C (bench/huge_selection_owner; a GTK editor alone needs about a
second to copy 20 MB, which would hide the program's own part), in a program
of its own for each engine that has read a short selection before, it presses
the reading key of espeak-ng (the default voice, Ctrl+Backspace) and of
speech-dispatcher (a voice slot, Ctrl+Alt+2), lets it speak for a few
seconds, presses the stop key (Ctrl+F12) and prints for each:

  * the time from the key press to the first audible sample;
  * how much resident memory grew: the peak (VmHWM, reset before the press)
    and the most sampled while it spoke, above the resident memory before;
  * the time from the stop key to the last audible sample;
  * whether the clipboard held "KEEP" again afterwards.

Then it puts 32 MiB + 1 byte of text on the clipboard (xclip), reads a short
selection and says whether the clipboard came back byte for byte.
"""

import argparse
import contextlib
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

from program_bench import SinkRecorder, Voxmere, fail, find_window, focus, run, stop

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
STOP_KEY = "ctrl+F12"
SPEAK_SECONDS = 3
ENGINES = (("espeak-ng (default voice)", "ctrl+BackSpace"),
           ("speech-dispatcher (slot 2)", "ctrl+alt+2"))
# Slots are read in turn from the first: slot 1 (Ctrl+Alt+1) is the same
# voice as the default one.
SLOTS = (b"[Slot_0]\r\nVoice=English (America)\r\nHotKey=49201\r\nSpeed=170\r\nPitch=50\r\n"
         b"Volume=100\r\nSAPIVersion=4\r\n"
         b"[Slot_1]\r\nVoice=English (America)\r\nHotKey=49202\r\nSpeed=0\r\n"
         b"Pitch=0\r\nVolume=100\r\nSAPIVersion=5\r\n")
GOALS = "goals: first sound < 1000 ms, growth < 64 MiB, silence < 200 ms"


def default_build():
    for build in ("build-bench", "build"):
        if os.access(os.path.join(ROOT, build, "bin", "voxmere"), os.X_OK):
            return os.path.join(ROOT, build)
    return os.path.join(ROOT, "build")


def status_kib(pid, field):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    return 0


class RssSampler:
    """The most VmRSS seen, sampled every 10 ms until stopped."""

    def __init__(self, pid):
        self.pid = pid
        self.most = 0
        self.running = True
        self.thread = threading.Thread(target=self._sample, daemon=True)
        self.thread.start()

    def _sample(self):
        while self.running:
            self.most = max(self.most, status_kib(self.pid, "VmRSS"))
            time.sleep(0.01)

    def stop(self):
        self.running = False
        self.thread.join()
        return self.most


def write_text(path, size):
    """About `size` bytes of English sentences, a line break now and then."""
    line = 0
    with open(path, "w") as file:
        written = 0
        while written < size:
            chunk = "".join(f"Line {line + i} of a huge selection read aloud. Then more words.\n"
                            for i in range(1000))
            line += 1000
            file.write(chunk)
            written += len(chunk)


def set_clipboard(data):
    """xclip owns the clipboard with `data` as text until someone takes it."""
    subprocess.run(["xclip", "-selection", "clipboard", "-t", "UTF8_STRING", "-i"], input=data,
                   timeout=60, check=True)


def clipboard():
    return subprocess.run(["xclip", "-selection", "clipboard", "-o"], capture_output=True,
                          timeout=120).stdout


def read_huge(voxmere, owner_window, recorder, key):
    """(first sound ms, peak growth MiB, most sampled growth MiB, silence ms,
    clipboard kept)."""
    set_clipboard(b"KEEP")
    if not recorder.wait_for_quiet(0.5, 30):
        fail("the sink never went quiet")
    focus(owner_window)
    pid = voxmere.pid
    with open(f"/proc/{pid}/clear_refs", "w") as refs:
        refs.write("5")  # resets VmHWM to the resident memory now
    before = status_kib(pid, "VmRSS")
    sampler = RssSampler(pid)
    pressed = time.monotonic()
    run("xdotool", "key", key)
    sound = recorder.first_sound_after(pressed, 60)
    if sound is None:
        sampler.stop()
        fail(f"no sound within 60 s of {key}:\n{voxmere.log()[-3000:]}")
    time.sleep(SPEAK_SECONDS)
    if recorder.last_loud < time.monotonic() - 1:
        sampler.stop()
        fail(f"{key}: the sound stopped long before the stop key (a warning sound, not a "
             f"reading?):\n{voxmere.log()[-3000:]}")
    stopped = time.monotonic()
    run("xdotool", "key", STOP_KEY)
    if not recorder.wait_for_quiet(1.0, 30):
        fail("the stop key did not silence the reading within 30 s")
    most = sampler.stop()
    peak = status_kib(pid, "VmHWM")
    silence = max(0.0, recorder.last_loud - stopped)
    kept = clipboard() == b"KEEP"
    return ((sound - pressed) * 1000, (peak - before) / 1024, (most - before) / 1024,
            silence * 1000, kept)


def warm_up(owner_program, short, recorder, key, stack):
    title = f"bench-warm-{time.monotonic()}"
    owner = subprocess.Popen([owner_program, short, title], stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    stack.callback(stop, owner)
    focus(find_window(f"^{title}$"))
    pressed = time.monotonic()
    run("xdotool", "key", key)
    if recorder.first_sound_after(pressed, 30) is None:
        fail(f"{key}: the short reading made no sound")
    recorder.wait_for_quiet(1.0, 30)
    stop(owner)


def huge_clipboard_comes_back(voxmere, owner_window, recorder, work):
    size = 32 * 1024 * 1024 + 1
    data = (b"0123456789abcdef" * (size // 16 + 1))[:size - 1] + b"!"
    set_clipboard(data)
    focus(owner_window)
    pressed = time.monotonic()
    run("xdotool", "key", ENGINES[0][1])
    if recorder.first_sound_after(pressed, 60) is None:
        fail("the short selection over a 32 MiB clipboard made no sound")
    run("xdotool", "key", STOP_KEY)
    recorder.wait_for_quiet(1.0, 30)
    back = clipboard()
    return back == data, len(back)


def inside(build, megabytes):
    sink = os.environ.get("VOXMERE_TEST_SINK")
    if not sink:
        fail("no test sink: run outside with_services.sh")
    owner_program = os.path.join(build, "bench", "huge_selection_owner")
    if not os.access(owner_program, os.X_OK):
        fail(f"no {owner_program} (build the bench folder first)")
    with contextlib.ExitStack() as stack:
        work = tempfile.mkdtemp(prefix="voxmere-huge-")
        stack.callback(shutil.rmtree, work, ignore_errors=True)
        recorder = SinkRecorder(sink)
        stack.callback(recorder.close)
        huge = os.path.join(work, "huge.txt")
        write_text(huge, megabytes * 1000 * 1000)
        short = os.path.join(work, "short.txt")
        with open(short, "w") as file:
            file.write("A short selection.")

        program = os.path.join(build, "bin", "voxmere")
        rows = []
        for name, key in ENGINES:
            # A program of its own for each engine, so that what one reading
            # left behind does not hide what the next one takes.
            voxmere = Voxmere(program, work, f"program-{len(rows)}", files={"slots.ini": SLOTS})
            stack.callback(stop, voxmere.process)
            # One short reading first, as a program in the tray has read
            # before: what any first reading loads (the voice, the audio
            # stream) is not the selection's.
            warm_up(owner_program, short, recorder, key, stack)
            title = f"bench-huge-{len(rows)}-{os.getpid()}"
            owner = subprocess.Popen([owner_program, huge, title], stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
            stack.callback(stop, owner)
            window = find_window(f"^{title}$")
            rows.append((name, read_huge(voxmere, window, recorder, key)))
            stop(owner)
            if voxmere.process.poll() is not None:
                fail(f"the program ended while reading with {name}:\n{voxmere.log()[-3000:]}")
            stop(voxmere.process)

        voxmere = Voxmere(program, work, "program-clipboard")
        stack.callback(stop, voxmere.process)
        title = f"bench-short-{os.getpid()}"
        owner = subprocess.Popen([owner_program, short, title], stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
        stack.callback(stop, owner)
        same, size = huge_clipboard_comes_back(voxmere, find_window(f"^{title}$"), recorder,
                                               work)

        print(f"A {megabytes} MB selection, copied at once; {GOALS}")
        print(f"  {'engine':<28} {'first sound':>12} {'peak growth':>12} {'most sampled':>13}"
              f" {'stop->silence':>14} {'clipboard kept':>15}")
        for name, (first, peak, most, silence, kept) in rows:
            print(f"  {name:<28} {first:>9.0f} ms {peak:>8.1f} MiB {most:>9.1f} MiB"
                  f" {silence:>11.0f} ms {'yes' if kept else 'NO':>15}")
        print(f"A 32 MiB + 1 byte clipboard came back byte for byte: {'yes' if same else 'NO'}"
              f" ({size} bytes back)")
        return 0 if same and all(row[1][4] for row in rows) else 1


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=default_build(),
                        help="the build folder (bin/voxmere, bench/huge_selection_owner)")
    parser.add_argument("--megabytes", type=int, default=20)
    parser.add_argument("--inside", action="store_true", help=argparse.SUPPRESS)
    arguments = parser.parse_args()
    build = os.path.abspath(arguments.build)
    if arguments.inside:
        return inside(build, arguments.megabytes)
    services = os.path.join(ROOT, "tests", "integration", "with_services.sh")
    return subprocess.call([services, "x11", "speechd", "tray", "--", sys.executable,
                            os.path.abspath(__file__), "--inside", "--build", build,
                            "--megabytes", str(arguments.megabytes)])


if __name__ == "__main__":
    sys.exit(main())
