#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Figures of the real program beside a do-it-yourself setup, on one display.

    bench/program_bench.py [--program PATH] [--rounds N] [--direct]

Under Xvfb with a tray host, PulseAudio with a null sink and speech-dispatcher
(tests/integration/with_services.sh), with "Hello" selected in turn in xterm,
l3afpad and featherpad (those installed), measures from the hot key typed
with xdotool (Ctrl+Backspace) to the first audible sample the null sink
plays, median, min and max of N presses each:

  * the program (a copy in a fresh folder, so it has fresh settings and
    starts hidden in the tray with the default voice, espeak-ng's first),
    capturing with Ctrl+C; with --direct, also started again with
    General/PrimarySelection=1 when the build knows that option;
  * xbindkeys running `espeak-ng "$(xsel -o)"` on the same key;
  * `espeak-ng Hello` started directly (from its start, no hot key);
  * the program again, asked by `voxmere --read` (run without a display)
    instead of the hot key: from the command's start to the first sound;

and prints the ratio of the program's medians to the do-it-yourself ones.
Of the program it also prints how long `voxmere --read` takes to return
(the request only: the reading goes on in the program), the time from
start to the docked tray icon (found by polling every 50 ms or so, so a
few tens of ms late), resident
memory (VmRSS) after start-up, after the readings and after the options
window was shown (Ctrl+F11) and closed (Esc), where that memory is
(/proc/PID/smaps by mapping, see smaps_breakdown.py), and wake-ups while
idle: context switches per second of every thread over 10 s.

The sink is recorded with parec in small blocks; each block is stamped with
its arrival time minus its length, as the integration tests' audio monitor
does, so the time of the first loud sample is known to a few milliseconds.
"""

import argparse
import contextlib
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

from smaps_breakdown import breakdown, print_breakdown

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RATE = 16000
LOUD = 400  # about -38 dBFS; the null sink's monitor gives exact zeros
TEXT = "Hello"
HOT_KEY = "ctrl+BackSpace"
OPTIONS_HOT_KEY = "ctrl+F11"
DIY = "xbindkeys + xsel + espeak-ng"
GOAL_RATIO = 0.4
IDLE_SECONDS = 10


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


def stop(process):
    process.kill()
    process.wait()


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


def program_process(path):
    """The id of a process running the program file at `path`, or None."""
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            with contextlib.suppress(OSError):
                if os.readlink(f"/proc/{entry}/exe") == path:
                    return int(entry)
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


def idle_wakeups(pid, seconds):
    """Context switches per second while idle: (total, [(tid, name, rate)])."""
    before = thread_switches(pid)
    time.sleep(seconds)
    after = thread_switches(pid)
    rows = []
    for tid, (name, count) in sorted(after.items(), key=lambda item: int(item[0])):
        rows.append((tid, name, (count - before.get(tid, (name, 0))[1]) / seconds))
    return sum(rate for _, _, rate in rows), rows


def find_window(name):
    def window():
        found = run("xdotool", "search", "--onlyvisible", "--name", name)
        words = found.stdout.split()
        return words[0] if found.returncode == 0 and words else None

    return wait_until(window, 30, f"a window named {name}")


def focus(window):
    run("xdotool", "windowfocus", "--sync", window)
    deadline = time.monotonic() + 5
    while run("xdotool", "getwindowfocus").stdout.strip() != window:
        if time.monotonic() > deadline:
            fail(f"window {window} never took the focus")
        time.sleep(0.05)


def primary_selection():
    return run("xclip", "-selection", "primary", "-o").stdout.strip()


class Owner:
    """A program showing TEXT in a window of its own, which selects it on demand."""

    def __init__(self, name, command, title, select_command):
        self.name = name
        # Without the accessibility bridge, which would start a bus of its own.
        self.process = subprocess.Popen(command, env=dict(os.environ, NO_AT_BRIDGE="1"),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.window = find_window(title)
        self.select_command = select_command

    def select(self):
        """Selects TEXT (so it owns the primary selection) and takes the focus."""
        for _ in range(10):
            # No window manager: windows overlap at the top left, so raise it
            # for the mouse.
            run("xdotool", "windowraise", self.window)
            focus(self.window)
            run("xdotool", *self.select_command(self.window))
            if primary_selection() == TEXT:
                focus(self.window)
                return
            time.sleep(0.5)
        fail(f"could not select the text in {self.name}")


def start_xterm():
    title = f"bench-xterm-{os.getpid()}"
    command = ["xterm", "-T", title, "-geometry", "100x3+0+0", "-xrm",
               "XTerm*VT100.translations: #override Ctrl<Key>c: copy-selection(CLIPBOARD)",
               "-e", "sh", "-c", 'stty -echo; printf "%s" "$0"; exec sleep 3600', TEXT]
    # A triple click selects the line.
    return Owner("xterm", command, f"^{title}$",
                 lambda window: ["mousemove", "--window", window, "20", "8", "click",
                                 "--repeat", "3", "--delay", "50", "1"])


def start_editor(work, editor, name=None):
    """A text editor with a file holding TEXT open; Ctrl+A selects it."""
    name = name or f"bench-{editor}-{os.getpid()}.txt"
    with open(os.path.join(work, name), "w") as file:
        file.write(TEXT)
    return Owner(editor, [editor, os.path.join(work, name)], re.escape(name),
                 lambda window: ["key", "--clearmodifiers", "ctrl+a"])


def start_owners(work, stack):
    """The selection's owners: xterm, l3afpad and featherpad where installed."""
    owners = [start_xterm()]
    for editor in ("l3afpad", "featherpad"):
        if shutil.which(editor):
            owners.append(start_editor(work, editor))
        else:
            print(f"note: {editor} is not installed, so not measured")
    for owner in owners:
        stack.callback(stop, owner.process)
    return owners


class Voxmere:
    """The program started from a fresh folder, hidden in the tray."""

    def __init__(self, program, work, name, settings=b"", files=None, wrapper=None):
        folder = os.path.join(work, name)
        os.makedirs(folder)
        for file_name, content in (files or {}).items():  # slots.ini, words.ini
            with open(os.path.join(folder, file_name), "wb") as file:
                file.write(content)
        shutil.copy2(program, os.path.join(folder, "voxmere"))
        with open(os.path.join(folder, "cfg.ini"), "wb") as cfg:
            # run before (welcome shown too): starts hidden in the tray
            cfg.write(b"[General]\r\nFirstRun=0\r\nWelcomeDlg=1\r\n" + settings)
        # The reading's log says when a press read something other than the
        # selection (nothing copied, nothing to read directly, a failure).
        environment = dict(os.environ, XDG_CONFIG_HOME=f"{folder}/config",
                           XDG_STATE_HOME=f"{folder}/state",
                           QT_LOGGING_RULES="voxmere.reading=true", QT_FORCE_STDERR_LOGGING="1")
        self.log_path = os.path.join(folder, "voxmere.log")
        with open(self.log_path, "wb") as log:
            started = time.monotonic()
            self.process = subprocess.Popen((wrapper or []) + [os.path.join(folder, "voxmere")],
                                            env=environment, stdout=log,
                                            stderr=subprocess.STDOUT)
        self.pid = self.process.pid
        if wrapper:  # the program is a descendant of the wrapper's process
            self.pid = wait_until(lambda: program_process(os.path.join(folder, "voxmere")), 60,
                                  "the program under its wrapper")
        wait_until(lambda: tray_icon(self.pid) or self.process.poll() is not None, 60,
                   "the tray icon")
        if self.process.poll() is not None:
            fail("the program ended at start-up:\n" + self.log())
        self.start_up = time.monotonic() - started
        time.sleep(2)  # settle
        self.checked = len(self.log())

    def log(self):
        with open(self.log_path) as log:
            return log.read()

    def check_reading(self, what):
        """Fails when the log has grown: the last press did not read the
        selection it was timed over."""
        log = self.log()
        if len(log) > self.checked:
            fail(f"{what}: the press did not read the selection:\n{log[self.checked:]}")


def options_window(pid):
    """The program's viewable top-level window (the options window), or None."""
    found = run("xdotool", "search", "--pid", str(pid))
    for window in found.stdout.split():
        fields = window_fields(window)
        if (fields.get("Map State") == "IsViewable"
                and "the root window" in fields.get("Parent window id", "")):
            return window
    return None


def show_and_hide_options(pid):
    """Opens the options window with its hot key, then closes it with Esc (Cancel)."""
    run("xdotool", "key", "--clearmodifiers", OPTIONS_HOT_KEY)
    window = wait_until(lambda: options_window(pid), 30, "the options window")
    time.sleep(2)  # let it draw everything
    focus(window)
    run("xdotool", "key", "--clearmodifiers", "Escape")
    wait_until(lambda: options_window(pid) is None, 30, "the options window to close")
    time.sleep(2)  # settle


def fill_clipboard():
    """Puts text on the clipboard, as on most desktops (the program puts it
    back after each reading), so that every run of it starts alike."""
    subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=b"clipboard text",
                   timeout=10, check=True)


def press_hot_key():
    run("xdotool", "key", HOT_KEY)


def start_espeak():
    return subprocess.Popen(["espeak-ng", TEXT], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)


def time_presses(recorder, rounds, press, what, prepare=None, check=None):
    """Milliseconds from each press to the first sound, after one unmeasured
    press that brings the files into the page cache. PREPARE runs before each
    press, outside the timing; CHECK after it, and fails a press that read
    something else."""
    latencies = []
    for _ in range(rounds + 1):
        if not recorder.wait_for_quiet(0.5, 30):
            fail("the sink never went quiet")
        if prepare is not None:
            prepare()
        pressed = time.monotonic()
        started = press()
        sound = recorder.first_sound_after(pressed, 15)
        if started is not None:
            started.wait()
        if sound is None:
            fail(f"{what}: a press made no sound")
        if check is not None:
            check(what)
        latencies.append((sound - pressed) * 1000)
    return latencies[1:]


def time_owners(recorder, owners, rounds, setup, check=None):
    """[(setup, owner, latencies)] of the hot key over each owner's selection.
    The text is selected again before every press: xterm forgets its
    selection once another program takes the clipboard from it (as the
    program's restore does), and a press over nothing times a reading of the
    old clipboard."""
    rows = []
    for owner in owners:
        rows.append((setup, owner.name,
                     time_presses(recorder, rounds, press_hot_key, f"{setup}, {owner.name}",
                                  prepare=owner.select, check=check)))
    return rows


def time_remote_reads(program, recorder, owners, rounds, check):
    """Rows of `voxmere --read` (from the command's start to the first sound)
    over each owner's selection, and the times the command took to return,
    in ms. The command runs without a display, as a desktop's shortcut may."""
    environment = {name: value for name, value in os.environ.items()
                   if name not in ("DISPLAY", "WAYLAND_DISPLAY")}
    setup = "Voxmere, voxmere --read (Ctrl+C capture)"
    rows, returns = [], []
    for owner in owners:
        taken = []

        def call():
            began = time.monotonic()
            status = subprocess.run([program, "--read"], env=environment, timeout=10).returncode
            taken.append((time.monotonic() - began) * 1000)
            if status != 0:
                fail(f"voxmere --read ended with status {status}")

        rows.append((setup, owner.name,
                     time_presses(recorder, rounds, call, f"{setup}, {owner.name}",
                                  prepare=owner.select, check=check)))
        returns += taken[1:]  # without the warm-up
    return rows, returns


def has_direct_option(program):
    with open(program, "rb") as binary:
        return b"PrimarySelection" in binary.read()


def start_xbindkeys(work):
    """xbindkeys reading the primary selection aloud on the same hot key."""
    home = os.path.join(work, "xbindkeys-home")
    os.makedirs(home)
    with open(os.path.join(home, ".xbindkeysrc"), "w") as rc:
        rc.write('"espeak-ng \\"$(xsel -o)\\""\n    control + BackSpace\n')
    process = subprocess.Popen(["xbindkeys", "--nodaemon"], env=dict(os.environ, HOME=home),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1)  # until it has grabbed the key
    if process.poll() is not None:
        fail("xbindkeys ended at start-up")
    return process


def print_latencies(rows, rounds):
    print(f"Hot key to first sound, ms ({rounds} presses each after one warm-up,"
          " text \"Hello\", espeak-ng default voice)")
    print(f"  {'setup':<40} {'selection owner':<16} {'median':>7} {'min':>7} {'max':>7}")
    for setup, owner, latencies in rows:
        print(f"  {setup:<40} {owner:<16} {statistics.median(latencies):7.1f}"
              f" {min(latencies):7.1f} {max(latencies):7.1f}")
    medians = {(setup, owner): statistics.median(latencies) for setup, owner, latencies in rows}
    print(f"Voxmere / do-it-yourself, ratio of medians (goal: at most {GOAL_RATIO})")
    for (setup, owner), median in medians.items():
        diy = medians.get((DIY, owner))
        if setup.startswith("Voxmere") and diy:
            print(f"  {setup:<40} {owner:<16} {median / diy:7.2f}")


def print_wakeups(total, rows):
    print(f"  {'idle wake-ups, all threads':<48} {total:.1f} /s   (over {IDLE_SECONDS} s)")
    for tid, name, rate in rows:
        print(f"    thread {tid:>7} {name:<26} {rate:8.1f} /s")


def measure_program(program, work, recorder, owners, rounds, stack):
    """Times the program over every owner and takes its figures in the tray:
    (latency rows, [(name, figure)], idle wake-ups, memory breakdowns)."""
    fill_clipboard()
    voxmere = Voxmere(program, work, "default")
    stack.callback(stop, voxmere.process)
    rss_start = rss_kib(voxmere.pid)
    memory_start = breakdown(voxmere.pid)
    rows = time_owners(recorder, owners, rounds, "Voxmere, Ctrl+C capture (default)",
                       voxmere.check_reading)
    remote_rows, returns = time_remote_reads(program, recorder, owners, rounds,
                                             voxmere.check_reading)
    rows += remote_rows
    readings = 2 * len(owners) * (rounds + 1)
    if not recorder.wait_for_quiet(2, 60):
        fail("the sink never went quiet")
    rss_readings = rss_kib(voxmere.pid)
    wakeups = idle_wakeups(voxmere.pid, IDLE_SECONDS)
    show_and_hide_options(voxmere.pid)
    rss_shown = rss_kib(voxmere.pid)
    memory_shown = breakdown(voxmere.pid)
    stop(voxmere.process)
    figures = [
        ("start-up to tray icon", f"{voxmere.start_up * 1000:.0f} ms"),
        ("voxmere --read returns after, median (min, max)",
         f"{statistics.median(returns):.1f} ms ({min(returns):.1f}, {max(returns):.1f})"),
        ("resident memory after start-up", f"{rss_start / 1024:.1f} MiB"),
        (f"resident memory after {readings} readings", f"{rss_readings / 1024:.1f} MiB"),
        ("  and after the options window was shown, hidden", f"{rss_shown / 1024:.1f} MiB"),
    ]
    memory = [("in the tray after start-up", memory_start),
              ("after the readings and the options window", memory_shown)]
    return rows, figures, wakeups, memory


def measure_direct_mode(program, work, recorder, owners, rounds, stack):
    """Latency rows of the program reading the primary selection directly."""
    if not has_direct_option(program):
        print("note: direct mode skipped, this build has no General/PrimarySelection option")
        return []
    fill_clipboard()
    voxmere = Voxmere(program, work, "direct", b"PrimarySelection=1\r\n")
    stack.callback(stop, voxmere.process)
    rows = time_owners(recorder, owners, rounds, "Voxmere, direct (primary selection)",
                       voxmere.check_reading)
    stop(voxmere.process)
    return rows


def measure_do_it_yourself(work, recorder, owners, rounds, stack):
    """Latency rows of xbindkeys + xsel + espeak-ng, and of espeak-ng alone."""
    xbindkeys = start_xbindkeys(work)
    stack.callback(stop, xbindkeys)
    rows = time_owners(recorder, owners, rounds, DIY)
    stop(xbindkeys)
    rows.append(("espeak-ng Hello, started directly", "(none)",
                 time_presses(recorder, rounds, start_espeak, "espeak-ng")))
    return rows


def inside(program, rounds, direct):
    sink = os.environ.get("VOXMERE_TEST_SINK")
    if not sink:
        fail("no test sink: run outside with_services.sh")
    with contextlib.ExitStack() as stack:
        work = tempfile.mkdtemp(prefix="voxmere-bench-")
        stack.callback(shutil.rmtree, work, ignore_errors=True)
        recorder = SinkRecorder(sink)
        stack.callback(recorder.close)
        owners = start_owners(work, stack)

        rows, figures, wakeups, memory = measure_program(program, work, recorder, owners, rounds,
                                                         stack)
        if direct:
            rows += measure_direct_mode(program, work, recorder, owners, rounds, stack)
        rows += measure_do_it_yourself(work, recorder, owners, rounds, stack)

        print_latencies(rows, rounds)
        print("Voxmere in the tray")
        for name, value in figures:
            print(f"  {name:<48} {value}")
        print_wakeups(*wakeups)
        print("Where the memory is (resident, by mapping)")
        for title, where in memory:
            print_breakdown(where, title)
        return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", default=os.environ.get("VOXMERE_PROGRAM") or default_program())
    parser.add_argument("--rounds", type=int, default=9, help="measured presses per setup (≥ 7)")
    parser.add_argument("--direct", action="store_true",
                        help="also time the direct mode (General/PrimarySelection=1)")
    parser.add_argument("--inside", action="store_true", help=argparse.SUPPRESS)
    arguments = parser.parse_args()
    program = os.path.abspath(arguments.program)
    if not os.access(program, os.X_OK):
        fail(f"no program at {program} (build it first)")
    if arguments.inside:
        return inside(program, arguments.rounds, arguments.direct)
    services = os.path.join(ROOT, "tests", "integration", "with_services.sh")
    return subprocess.call([services, "x11", "speechd", "tray", "--", sys.executable,
                            os.path.abspath(__file__), "--inside", "--program", program,
                            "--rounds", str(arguments.rounds)]
                           + (["--direct"] if arguments.direct else []))


if __name__ == "__main__":
    sys.exit(main())
