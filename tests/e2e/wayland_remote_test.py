#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""voxmere --read and --stop in a Wayland session.

Runs inside `with_services.sh sway speechd` (headless sway with XWayland and
swaybar's tray, PulseAudio with a null sink, speech-dispatcher): a native
Wayland client (wl-copy) holds the highlighted text and another one the
clipboard; a fresh copy of the program runs on XWayland. `voxmere --read`
must speak the highlighted text (told from the clipboard's short word by how
long it speaks), `voxmere --stop` must silence it, and both selections must
be as they were. Prints how long --read took to return, to the first sound,
and --stop to silence. Usage: wayland_remote_test.py PROGRAM
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time

HIGHLIGHT = ("Hello from a program of the Wayland session, a sentence long enough "
             "to be told apart from the single word on the clipboard.")
CLIPBOARD = "KEEP"
SERVICE = "invalid.voxmere.Voxmere"
RATE = 16000
BLOCK = 160  # 10 ms
LOUD = 400


class Sink:
    """The null sink's monitor: when each 10 ms block ended and whether it was loud."""

    def __init__(self):
        self.blocks = []
        self.lock = threading.Lock()
        self.process = subprocess.Popen(
            ["parec", "-d", os.environ["VOXMERE_TEST_SINK"] + ".monitor", "--rate", str(RATE),
             "--channels", "1", "--format", "s16le", "--latency-msec", "10"],
            stdout=subprocess.PIPE)
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        while True:
            data = self.process.stdout.read(BLOCK * 2)
            if len(data) < BLOCK * 2:
                return
            samples = struct.unpack(f"<{BLOCK}h", data)
            with self.lock:
                self.blocks.append((time.monotonic(), max(abs(s) for s in samples) >= LOUD))

    def loud_since(self, since):
        with self.lock:
            return [t for t, loud in self.blocks if loud and t >= since]

    def wait_for_sound(self, since, seconds):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            loud = self.loud_since(since)
            if loud:
                return loud[0]
            time.sleep(0.005)
        return None

    def wait_for_quiet(self, since, quiet, seconds):
        """When the sink went quiet for `quiet` seconds after `since`, or None."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            loud = self.loud_since(since)
            last = loud[-1] if loud else since
            if time.monotonic() - last >= quiet:
                return last
            time.sleep(0.01)
        return None

    def close(self):
        self.process.kill()
        self.process.wait()


def fail(message, log=None):
    print(f"wayland_remote_test: {message}", file=sys.stderr)
    if log and os.path.exists(log):
        with open(log, errors="replace") as text:
            sys.stderr.write(text.read()[-4000:])
    sys.exit(1)


def service_running():
    answer = subprocess.run(
        ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
         "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", f"string:{SERVICE}"],
        capture_output=True, text=True)
    return "boolean true" in answer.stdout


def paste(*options):
    return subprocess.run(["wl-paste", "--no-newline", *options], capture_output=True,
                          text=True, timeout=5).stdout


def main():
    if len(sys.argv) != 2:
        fail("usage: wayland_remote_test.py PROGRAM")
    work = tempfile.mkdtemp(prefix="voxmere-wayland-")
    program = os.path.join(work, "voxmere")
    shutil.copy(sys.argv[1], program)
    with open(os.path.join(work, "cfg.ini"), "wb") as cfg:
        cfg.write(b"[General]\r\nFirstRun=0\r\nWelcomeDlg=1\r\n")
    log = os.path.join(work, "voxmere.log")
    owners = [subprocess.Popen(["wl-copy", "--foreground", CLIPBOARD]),
              subprocess.Popen(["wl-copy", "--primary", "--foreground", HIGHLIGHT])]
    sink = Sink()
    env = dict(os.environ, QT_LOGGING_RULES="voxmere.*=true", QT_FORCE_STDERR_LOGGING="1")
    with open(log, "w") as output:
        voxmere = subprocess.Popen([program], env=env, stdout=output, stderr=output)
    try:
        deadline = time.monotonic() + 30
        while not service_running():
            if voxmere.poll() is not None or time.monotonic() > deadline:
                fail("the program did not come up on the session bus", log)
            time.sleep(0.05)
        if paste("--primary") != HIGHLIGHT or paste() != CLIPBOARD:
            fail("the session's selections were not set up")

        pressed = time.monotonic()
        read = subprocess.run([program, "--read"], capture_output=True, text=True, timeout=10)
        returned = time.monotonic()
        if read.returncode != 0:
            fail(f"voxmere --read exited {read.returncode}: {read.stderr.strip()}", log)
        first = sink.wait_for_sound(pressed, 10)
        if first is None:
            fail("voxmere --read gave no sound", log)
        # The clipboard's one word is over well within two seconds.
        time.sleep(2.0)
        if not sink.loud_since(time.monotonic() - 0.4):
            fail("the reading ended early: the highlighted text was not what was read", log)

        stopped = time.monotonic()
        stop = subprocess.run([program, "--stop"], capture_output=True, text=True, timeout=10)
        if stop.returncode != 0:
            fail(f"voxmere --stop exited {stop.returncode}: {stop.stderr.strip()}", log)
        silent = sink.wait_for_quiet(stopped, 0.5, 5)
        if silent is None:
            fail("voxmere --stop did not silence the reading", log)

        if paste() != CLIPBOARD or paste("--primary") != HIGHLIGHT:
            fail("the reading changed the session's selections")
        with open(log, errors="replace") as text:
            if "Wayland session" not in text.read():
                fail("the log does not say that this is a Wayland session", log)
        print(f"voxmere --read returned in {1000 * (returned - pressed):.0f} ms; "
              f"first sound after {1000 * (first - pressed):.0f} ms; "
              f"--stop silent after {1000 * max(0.0, silent - stopped):.0f} ms")
    finally:
        voxmere.terminate()
        try:
            voxmere.wait(timeout=10)
        except subprocess.TimeoutExpired:
            voxmere.kill()
        for owner in owners:
            owner.kill()
        sink.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
