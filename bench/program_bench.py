#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Figures of the real program on a virtual display of its own.

    bench/program_bench.py [--program PATH] [--rounds N]

Starts the program (a copy in a fresh folder, so it has fresh settings and
starts hidden in the tray with the default voice, espeak-ng's first) under
Xvfb with a tray host, PulseAudio with a null sink and speech-dispatcher
(tests/integration/with_services.sh), and measures:

  * hot key to sound: from the reading hot key typed with xdotool
    (Ctrl+Backspace, over a line selected in xterm) to the first audible
    sample the null sink plays, median of N readings;
  * resident memory (VmRSS) after start-up and after 20 readings;
  * wake-ups while idle: context switches per second of every thread over
    10 s with nothing to do.

The sink is recorded with parec in small blocks; each block is stamped with
its arrival time minus its length, as the integration tests' audio monitor
does, so the time of the first loud sample is known to a few milliseconds.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RATE = 16000
LOUD = 400  # about -38 dBFS; the null sink's monitor gives exact zeros


def fail(message):
    print(f"program_bench: {message}", file=sys.stderr)
    sys.exit(1)


def default_program():
    for build in ("build-bench", "build"):
        path = os.path.join(ROOT, build, "bin", "voxmere")
        if os.access(path, os.X_OK):
            return path
    return os.path.join(ROOT, "build", "bin", "voxmere")


def run(*arguments, timeout=10):
    return subprocess.run(arguments, capture_output=True, text=True, timeout=timeout)


def wait_until(condition, timeout, what):
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            fail(f"timed out waiting for {what}")
        time.sleep(0.05)


class SinkRecorder:
    """Records the test sink's monitor and finds sound in it by time."""

    def __init__(self, sink):
        self.process = subprocess.Popen(
            ["parec", "-d", f"{sink}.monitor", "--raw", "--format=s16le", f"--rate={RATE}",
             "--channels=1", "--latency-msec=5"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.lock = threading.Condition()
        self.blocks = []  # (time of the first sample, index of the first loud sample or None)
        self.last_loud = 0.0  # the time just after the last loud sample
        self.recorded_until = 0.0
        self.odd = b""
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()

    def _read(self):
        fd = self.process.stdout.fileno()
        while True:
            data = os.read(fd, 4096)
            arrival = time.monotonic()
            if not data:
                return
            data = self.odd + data
            if len(data) % 2:
                self.odd, data = data[-1:], data[:-1]
            else:
                self.odd = b""
            samples = memoryview(data).cast("h")
            begin = arrival - len(samples) / RATE
            first = last = None
            if len(samples) and (max(samples) >= LOUD or min(samples) <= -LOUD):
                loud = [i for i, sample in enumerate(samples) if sample >= LOUD or sample <= -LOUD]
                first, last = loud[0], loud[-1]
            with self.lock:
                self.blocks.append((begin, first))
                if last is not None:
                    self.last_loud = begin + (last + 1) / RATE
                self.recorded_until = arrival
                self.lock.notify_all()

    def first_sound_after(self, since, timeout):
        """The time of the first loud sample after `since`, or None."""
        deadline = time.monotonic() + timeout
        seen = 0
        with self.lock:
            while True:
                for begin, first in self.blocks[seen:]:
                    if first is not None and begin + first / RATE >= since:
                        return begin + first / RATE
                seen = len(self.blocks)
                left = deadline - time.monotonic()
                if left <= 0:
                    return None
                self.lock.wait(left)

    def wait_for_quiet(self, quiet, timeout):
        """Waits until nothing has been loud for `quiet` seconds."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            with self.lock:
                if self.recorded_until - self.last_loud >= quiet:
                    return True
            time.sleep(0.05)
        return False

    def close(self):
        self.process.kill()
        self.process.wait()


def window_fields(window):
    described = run("xwininfo", "-id", window, "-children", "-stats")
    fields = {}
    for line in described.stdout.splitlines():
        if ":" in line:
            key, value = line.split(":", 1)
            fields[key.strip()] = value.strip()
    return fields


def tray_icon(pid):
    found = run("xdotool", "search", "--pid", str(pid))
    for window in found.stdout.split():
        fields = window_fields(window)
        if (fields.get("Map State") == "IsViewable"
                and "the root window" not in fields.get("Parent window id", "the root window")):
            return window
    return None


def rss_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def thread_switches(pid):
    """Context switches so far of each thread: {tid: (name, count)}."""
    threads = {}
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{tid}/comm") as comm:
                name = comm.read().strip()
            count = 0
            with open(f"/proc/{pid}/task/{tid}/status") as status:
                for line in status:
                    if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                        count += int(line.split()[1])
            threads[tid] = (name, count)
        except OSError:
            pass  # the thread ended meanwhile
    return threads


def start_xterm(line):
    title = f"bench-{os.getpid()}"
    xterm = subprocess.Popen(
        ["xterm", "-T", title, "-geometry", "100x3+0+0", "-xrm",
         "XTerm*VT100.translations: #override Ctrl<Key>c: copy-selection(CLIPBOARD)",
         "-e", "sh", "-c", 'stty -echo; printf "%s" "$0"; exec sleep 3600', line],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def window():
        found = run("xdotool", "search", "--onlyvisible", "--name", f"^{title}$")
        return found.stdout.split()[0] if found.returncode == 0 and found.stdout.split() else None

    xterm_window = wait_until(window, 20, "the xterm")
    for _ in range(5):
        run("xdotool", "mousemove", "--window", xterm_window, "20", "8", "click", "--repeat", "3",
            "--delay", "50", "1")
        selected = run("xclip", "-selection", "primary", "-o").stdout
        if selected.startswith(line):
            break
        time.sleep(0.5)
    else:
        fail("could not select the xterm's line")
    run("xdotool", "windowfocus", "--sync", xterm_window)
    return xterm


def inside(program, rounds):
    sink = os.environ.get("VOXMERE_TEST_SINK")
    if not sink:
        fail("no test sink: run outside with_services.sh")
    work = tempfile.mkdtemp(prefix="voxmere-bench-")
    processes = []
    try:
        os.makedirs(f"{work}/program")
        shutil.copy2(program, f"{work}/program/voxmere")
        with open(f"{work}/program/cfg.ini", "wb") as cfg:
            # run before (welcome shown too): starts hidden in the tray
            cfg.write(b"[General]\r\nFirstRun=0\r\nWelcomeDlg=1\r\n")
        environment = dict(os.environ, XDG_CONFIG_HOME=f"{work}/config",
                           XDG_STATE_HOME=f"{work}/state")
        log = open(f"{work}/voxmere.log", "wb")
        started = time.monotonic()
        voxmere = subprocess.Popen([f"{work}/program/voxmere"], env=environment, stdout=log,
                                   stderr=subprocess.STDOUT)
        processes.append(voxmere)
        wait_until(lambda: tray_icon(voxmere.pid) or voxmere.poll() is not None, 60, "the tray icon")
        if voxmere.poll() is not None:
            fail("the program ended at start-up:\n" + open(f"{work}/voxmere.log").read())
        start_up = time.monotonic() - started
        time.sleep(2)  # settle
        rss_start = rss_kib(voxmere.pid)

        recorder = SinkRecorder(sink)
        processes.append(recorder)
        time.sleep(0.5)
        # Something on the clipboard, as on most desktops: the program puts it
        # back after each reading.
        subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=b"clipboard text",
                       timeout=10, check=True)
        processes.append(start_xterm("Hello there, how are you"))

        latencies = []
        key_runs = []  # how long xdotool itself took, up to its exit
        readings = 0
        while readings < max(20, rounds):
            if not recorder.wait_for_quiet(0.5, 30):
                fail("the sink never went quiet")
            pressed = time.monotonic()
            run("xdotool", "key", "ctrl+BackSpace")
            key_runs.append((time.monotonic() - pressed) * 1000)
            sound = recorder.first_sound_after(pressed, 15)
            if sound is None:
                fail("a reading made no sound:\n" + open(f"{work}/voxmere.log").read())
            readings += 1
            if len(latencies) < rounds:
                latencies.append((sound - pressed) * 1000)
        if not recorder.wait_for_quiet(2, 60):
            fail("the sink never went quiet")
        rss_after = rss_kib(voxmere.pid)

        before = thread_switches(voxmere.pid)
        idle_seconds = 10
        time.sleep(idle_seconds)
        after = thread_switches(voxmere.pid)

        print(f"Voxmere program figures ({os.path.basename(program)}, espeak-ng default voice)")
        print()
        print(f"  {'start-up to tray icon':<38} {start_up * 1000:8.0f} ms")
        print(f"  {'hot key to first sound, median':<38} {statistics.median(latencies):8.1f} ms"
              f"   (of {len(latencies)}: min {min(latencies):.1f}, max {max(latencies):.1f})")
        print(f"  {'  of which xdotool ran, median':<38} {statistics.median(key_runs):8.1f} ms")
        print(f"  {'resident memory after start-up':<38} {rss_start / 1024:8.1f} MiB")
        print(f"  {f'resident memory after {readings} readings':<38} {rss_after / 1024:8.1f} MiB")
        total = 0.0
        rows = []
        for tid, (name, count) in sorted(after.items(), key=lambda item: int(item[0])):
            rate = (count - before.get(tid, (name, 0))[1]) / idle_seconds
            total += rate
            rows.append((tid, name, rate))
        print(f"  {'idle wake-ups, all threads':<38} {total:8.1f} /s   (over {idle_seconds} s)")
        for tid, name, rate in rows:
            print(f"    thread {tid:>7} {name:<26} {rate:8.1f} /s")
        return 0
    finally:
        for process in reversed(processes):
            try:
                if isinstance(process, SinkRecorder):
                    process.close()
                else:
                    process.kill()
                    process.wait()
            except OSError:
                pass
        shutil.rmtree(work, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", default=os.environ.get("VOXMERE_PROGRAM") or default_program())
    parser.add_argument("--rounds", type=int, default=10)
    parser.add_argument("--inside", action="store_true", help=argparse.SUPPRESS)
    arguments = parser.parse_args()
    program = os.path.abspath(arguments.program)
    if not os.access(program, os.X_OK):
        fail(f"no program at {program} (build it first)")
    if arguments.inside:
        return inside(program, arguments.rounds)
    services = os.path.join(ROOT, "tests", "integration", "with_services.sh")
    return subprocess.call([services, "x11", "speechd", "tray", "--", sys.executable,
                            os.path.abspath(__file__), "--inside", "--program", program,
                            "--rounds", str(arguments.rounds)])


if __name__ == "__main__":
    sys.exit(main())
