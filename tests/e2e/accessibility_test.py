#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Every focusable control of the options window has a name a screen reader
can announce, and no two controls of one kind share a name.

Runs inside with_services.sh (X server, session bus, audio, speech-dispatcher):
starts the accessibility bus, then a fresh copy of the program (its first run
shows the options window) with Qt's accessibility bridge on, and walks the
window's AT-SPI tree: every page, shown or not. Usage:
accessibility_test.py PROGRAM
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

# Roles whose names come from their content (list rows, table cells): a
# screen reader announces what they hold.
CONTENT_ROLES = {"list item", "table cell", "table column header", "table row header"}
# Roles a user works with, focusable or not (a disabled control is not
# focusable, but is still announced).
CONTROL_ROLES = {"push button", "check box", "slider", "spin button", "text", "list", "table",
                 "page tab", "page tab list", "combo box", "radio button"}
ABOUT_LINKS = {"voxmere.org", "Program information", "Technical support"}


def find_application(name, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            application = desktop.getChildAtIndex(index)
            if application is not None and application.name == name:
                for child in range(application.childCount):
                    window = application.getChildAtIndex(child)
                    if window is not None and window.name == "Voxmere! Options":
                        return window
        time.sleep(0.2)
    return None


def controls(node, path):
    """Yields (role, name, focusable, path) of every control below node."""
    role = node.getRoleName()
    here = path + [f"{role} '{node.name}'"]
    if role in CONTENT_ROLES:
        return
    focusable = node.getState().contains(pyatspi.STATE_FOCUSABLE)
    if focusable or role in CONTROL_ROLES:
        yield role, node.name.strip(), focusable, " > ".join(here[-3:])
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            yield from controls(child, here)


def main():
    program = sys.argv[1]
    subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                    "/org/a11y/bus", "org.a11y.Bus.GetAddress"], check=True,
                   stdout=subprocess.DEVNULL)
    folder = tempfile.mkdtemp(prefix="voxmere-a11y-")
    copy = os.path.join(folder, "voxmere")
    shutil.copy(program, copy)
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    process = subprocess.Popen([copy], env=environment)
    failures = []
    checks = 0
    try:
        window = find_application("voxmere", 30)
        if window is None:
            print("FAIL: the options window did not appear on the accessibility bus")
            print("0 passed, 1 failed")
            return 1
        seen = {}
        names = set()
        for role, name, focusable, where in controls(window, []):
            checks += 1
            names.add(name)
            if not name:
                failures.append(f"no name: {where} (focusable={focusable})")
            elif (role, name) in seen and role not in ("push button",):
                failures.append(f"same name as {seen[(role, name)]}: {where}")
            seen.setdefault((role, name), where)
        checks += 1
        if not ABOUT_LINKS <= names:
            failures.append(f"About links not reachable: {sorted(ABOUT_LINKS - names)}")
    finally:
        process.terminate()
        process.wait(10)
        shutil.rmtree(folder, ignore_errors=True)
    for failure in failures:
        print("FAIL:", failure)
    print(f"{checks - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
