#!/usr/bin/python3
"""Looks at a running player through the AT-SPI bus as a screen reader does, and prints what it
saw as one JSON object: every child of the panel (name, role, description, states, actions,
text) and the player's windows, at first and after each step.

Usage: panel_probe.py PID STEP...   where a step is BUTTON:WORD[,WORD...]: the button of that
name is pressed by its action (none when BUTTON is empty), then the probe waits until each word
is in the display's text or among that button's states."""

import json
import sys
import time

import pyatspi
from gi.repository import Atspi

WAIT_SECONDS = 10
STATES = {"checked": pyatspi.STATE_CHECKED, "pressed": pyatspi.STATE_PRESSED,
          "checkable": pyatspi.STATE_CHECKABLE, "showing": pyatspi.STATE_SHOWING}


def wait_for(find):
    deadline = time.monotonic() + WAIT_SECONDS
    while True:
        found = find()
        if found or time.monotonic() > deadline:
            return found
        time.sleep(0.1)


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.get_process_id() == pid:
            # Read afresh each time: the test looks for changes as they happen.
            app.set_cache_mask(Atspi.Cache.NONE)
            return app
    return None


def windows(app):
    return [window for window in app if window is not None]


def panel_of(app):
    for window in windows(app):
        if any(child.getRole() in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX) for child in window):
            return window
    return None


def describe(accessible):
    seen = {"name": accessible.name, "role": accessible.getRoleName(),
            "description": accessible.description,
            "states": sorted(name for name, state in STATES.items() if accessible.getState().contains(state))}
    try:
        action = accessible.queryAction()
        seen["actions"] = [action.getName(i) for i in range(action.nActions)]
    except NotImplementedError:
        seen["actions"] = []
    try:
        seen["text"] = accessible.queryText().getText(0, -1)
    except NotImplementedError:
        pass
    return seen


def press(accessible):
    action = accessible.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for wanted in ("press", "Press", "click"):
        if wanted in names:
            return action.doAction(names.index(wanted))
    raise RuntimeError("no press action among %s" % names)


def shows(panel, name, words):
    children = [describe(child) for child in panel]
    display = " ".join(child.get("text", "") for child in children)
    button = next((child for child in children if child["name"] == name), {"states": []})
    return all(word in display or word in button["states"] for word in words)


def run_step(panel, app, name, words):
    seen = {"button": name, "waited for": words}
    if name:
        button = next((child for child in panel if child.name == name), None)
        if button is None:
            seen["error"] = "no button of that name"
            return seen
        press(button)
    # The press runs from the player's loop, and what it starts later still.
    seen["shown"] = bool(wait_for(lambda: shows(panel, name, words)))
    seen["children"] = [describe(child) for child in panel]
    seen["windows"] = [describe(window) for window in windows(app)]
    return seen


def main():
    pid = int(sys.argv[1])
    app = wait_for(lambda: application(pid))
    if app is None:
        print(json.dumps({"error": "no application of process %d on the bus" % pid}))
        return 1
    panel = wait_for(lambda: panel_of(app))
    if panel is None:
        print(json.dumps({"error": "no window with buttons", "windows": [w.name for w in windows(app)]}))
        return 1
    report = {"panel": panel.name, "children": [describe(child) for child in panel],
              "windows": [describe(window) for window in windows(app)], "steps": []}
    for step in sys.argv[2:]:
        name, words = step.split(":", 1)
        report["steps"].append(run_step(panel, app, name, [word for word in words.split(",") if word]))
    print(json.dumps(report))
    return 0


if __name__ == "__main__":
    sys.exit(main())
