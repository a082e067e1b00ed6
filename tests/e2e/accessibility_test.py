#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Every focusable control of the options window and of the two editors has a
name a screen reader can announce, and no two controls of one kind in one
window share a name.

Runs inside with_services.sh (X server, session bus, audio, speech-dispatcher):
starts the accessibility bus, then a fresh copy of the program (its first run
shows the options window) with Qt's accessibility bridge on, and walks the
window's AT-SPI tree: every page, each once selected (a page is built the
first time its tab is selected). Then it opens the slot editor
and the word editor with their pages' "Add" buttons (clicked with xdotool where
AT-SPI places them) and walks each, closing it with Esc. Usage:
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
ABOUT_LINKS = {"Voxmere help", "Program information", "Technical support"}


PAGES = ["General", "Default voice", "Voice slots", "Pronunciation", "About"]
# The editors, opened by the "Add" button of their page.
EDITORS = [("Voice slots", "Add voice slot"), ("Pronunciation", "Pronunciation correction")]


def find_window(title, seconds):
    """The program's top-level window with this title once it is showing."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            application = desktop.getChildAtIndex(index)
            if application is None or application.name != "voxmere":
                continue
            for child in range(application.childCount):
                window = application.getChildAtIndex(child)
                if (window is not None and window.name == title
                        and window.getState().contains(pyatspi.STATE_SHOWING)):
                    return window
        time.sleep(0.2)
    return None


def find_showing(node, role, name):
    if (node.getRoleName() == role and node.name == name
            and node.getState().contains(pyatspi.STATE_SHOWING)):
        return node
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        found = find_showing(child, role, name) if child is not None else None
        if found is not None:
            return found
    return None


def click(node):
    extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(extents.x + extents.width // 2),
                    str(extents.y + extents.height // 2), "click", "1"], check=True)


def select_page(window, page, failures):
    """Clicks the page's tab and waits until it is selected; False (with a
    failure noted) when there is no such tab."""
    tab = find_showing(window, "page tab", page)
    if tab is None:
        failures.append(f"no page tab {page}")
        return False
    click(tab)
    deadline = time.monotonic() + 5
    while (not tab.getState().contains(pyatspi.STATE_SELECTED)
           and time.monotonic() < deadline):
        time.sleep(0.1)
    return True


def check_window(window, failures):
    """Checks one window's controls; returns how many checks ran."""
    checks = 0
    seen = {}
    for role, name, focusable, where in controls(window, []):
        checks += 1
        if not name:
            failures.append(f"{window.name}: no name: {where} (focusable={focusable})")
        elif (role, name) in seen and role != "push button":
            failures.append(f"{window.name}: same name as {seen[(role, name)]}: {where}")
        seen.setdefault((role, name), where)
    return checks


def names_in(window):
    return {name for _, name, _, _ in controls(window, [])}


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
    # A first run whose welcome window has been shown: the options window
    # shows at once.
    with open(os.path.join(folder, "cfg.ini"), "w", newline="") as cfg:
        cfg.write("[General]\r\nWelcomeDlg=1\r\n")
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    process = subprocess.Popen([copy], env=environment)
    failures = []
    checks = 0
    try:
        window = find_window("Voxmere! Options", 30)
        if window is None:
            print("FAIL: the options window did not appear on the accessibility bus")
            print("0 passed, 1 failed")
            return 1
        for page in PAGES[1:] + PAGES[:1]:
            checks += 1
            if select_page(window, page, failures):
                # The page's controls reach the bus after the page is built.
                time.sleep(0.5)
        checks += check_window(window, failures)
        checks += 1
        missing = ABOUT_LINKS - names_in(window)
        if missing:
            failures.append(f"About links not reachable: {sorted(missing)}")
        for page, title in EDITORS:
            checks += 1
            if not select_page(window, page, failures):
                continue
            button = None
            deadline = time.monotonic() + 5
            while button is None and time.monotonic() < deadline:
                button = find_showing(window, "push button", "Add")
                time.sleep(0.1)
            if button is None:
                failures.append(f"no Add button on {page}")
                continue
            click(button)
            editor = find_window(title, 10)
            if editor is None:
                failures.append(f"{title} did not open")
                continue
            checks += check_window(editor, failures)
            subprocess.run(["xdotool", "key", "Escape"], check=True)
            deadline = time.monotonic() + 5
            while (editor.getState().contains(pyatspi.STATE_SHOWING)
                   and time.monotonic() < deadline):
                time.sleep(0.1)
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
