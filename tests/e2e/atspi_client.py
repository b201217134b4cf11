#!/usr/bin/env python3
"""Drives Quippet as a screen reader does, over AT-SPI: reads the tree, presses the targets'
actions and listens for what the program announces. Usage: atspi_client.py"""
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
import pyatspi  # noqa: E402
from gi.repository import GLib  # noqa: E402

events = []


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    for event in events[-10:]:
        print("  event seen: %r" % (event,), file=sys.stderr)
    sys.exit(1)


def pump(condition, what, timeout=10.0):
    """Runs the event loop until condition() is true; fails after timeout seconds."""
    context = GLib.MainContext.default()
    end = time.monotonic() + timeout
    while True:
        while context.pending():
            context.iteration(False)
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            fail("timed out: " + what)
        time.sleep(0.05)


def on_event(event):
    # Read what a screen reader would speak now: the message is gone again a second later.
    source = event.source
    events.append((event.type, event.detail1, source.name, source.description, source.getRole()))


def find_app():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name.lower() == "quippet":
            return app
    return None


def named(root, name, role):
    return pyatspi.utils.findDescendant(
        root, lambda a: a is not None and a.name == name and a.getRole() == role)


def press(accessible):
    action = accessible.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        fail("%s offers no Press action: %s" % (accessible.name, names))
    action.doAction(names.index("Press"))


def press_and_hear(accessible, kind, what, match):
    """Presses and waits for the event; it may arrive while the press is still being answered."""
    start = len(events)
    press(accessible)
    return pump(lambda: next((e for e in events[start:] if e[0].startswith(kind) and match(e)),
                             None), what)


app = pump(find_app, "the program appears on the accessibility bus")

# The four targets, by name, as buttons with a Press action bound to Space.
targets = {}
for name in ("Copy", "Add", "Remove", "Write"):
    target = pump(lambda: named(app, name, pyatspi.ROLE_PUSH_BUTTON), "target " + name)
    if "Space or Enter" not in target.description:
        fail("%s does not name its keys: %r" % (name, target.description))
    action = target.queryAction()
    if action.getName(0) != "Press" or "Space" not in action.getKeyBinding(0):
        fail("%s: first action %r bound to %r"
             % (name, action.getName(0), action.getKeyBinding(0)))
    targets[name] = target
message = named(app, "Message", pyatspi.ROLE_PUSH_BUTTON)
on_top = named(app, "Always On Top", pyatspi.ROLE_CHECK_MENU_ITEM) or named(
    app, "Always On Top", pyatspi.ROLE_MENU_ITEM)
if message is None or on_top is None:
    fail("no Message panel or no Always On Top item in the tree")
print("tree: four targets, the message panel and the check item found")

pyatspi.Registry.registerEventListener(
    on_event, "object:property-change:accessible-name",
    "object:property-change:accessible-description", "object:state-changed:checked",
    "object:state-changed:focused")

# The program learns of a new listener a moment later; a real Tab from the box onto Add proves
# it is listening (and that Tab reaches Add).
def add_focused():
    return any(e[0] == "object:state-changed:focused" and e[1] == 1 and e[2] == "Add"
               for e in events)


for attempt in range(5):
    subprocess.run(["xdotool", "key", "Tab"], check=True)
    until = time.monotonic() + 1.0
    pump(lambda: add_focused() or time.monotonic() > until, "focus probe")
    if add_focused():
        break
    subprocess.run(["xdotool", "key", "shift+Tab"], check=True)
else:
    fail("Tab from the box never announced the focus on Add")
print("keyboard: Tab from the box focuses Add")

NAME = "object:property-change:accessible-name"
DESCRIPTION = "object:property-change:accessible-description"
CHECKED = "object:state-changed:checked"

press_and_hear(targets["Add"], NAME, "the status bar announces 'Text added'",
               lambda e: e[2] == "Text added" and e[4] == pyatspi.ROLE_STATUS_BAR)
print("announced: Text added")

press_and_hear(message, DESCRIPTION, "shrinking is announced",
               lambda e: e[2] == "Message" and e[3].startswith("Click here to restore program."))
press_and_hear(message, DESCRIPTION, "restoring is announced",
               lambda e: e[2] == "Message" and e[3].startswith("Click here to shrink program."))
print("announced: shrink and restore")

press_and_hear(on_top, CHECKED, "Always On Top checked",
               lambda e: e[1] == 1 and e[2] == "Always On Top")
press_and_hear(on_top, CHECKED, "Always On Top unchecked",
               lambda e: e[1] == 0 and e[2] == "Always On Top")
print("announced: Always On Top checked and unchecked")
