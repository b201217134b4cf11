#!/usr/bin/env python3
"""Uses Quippet as a screen reader does, over AT-SPI: reads the tree, presses accessible actions and checks what the program announces."""
import subprocess, sys, time

import gi

gi.require_version("Atspi", "2.0")
import pyatspi  # noqa: E402
from gi.repository import GLib  # noqa: E402

events = []


def fail(message):
    print("FAIL: %s; last events: %r" % (message, events[-5:]), file=sys.stderr)
    sys.exit(1)


def pump(condition, what, timeout=10.0):
    """Runs the event loop until condition() gives something; fails after the timeout."""
    end = time.monotonic() + timeout
    while True:
        while GLib.MainContext.default().iteration(False):
            pass
        value = condition()
        if value or time.monotonic() > end:
            return value or fail("timed out: " + what)
        time.sleep(0.05)


def on_event(event):  # read at once, as a screen reader would: the message is emptied again a second later
    events.append((event.type, event.detail1, event.source.name, event.source.description, event.source.getRole()))


def find(root, name, *roles):
    return pyatspi.utils.findDescendant(root, lambda a: a and a.name == name and a.getRole() in roles)


def press_and_hear(accessible, kind, what, match):
    action = accessible.queryAction()
    start = len(events)  # the event may arrive before the press is answered
    action.doAction([action.getName(i) for i in range(action.nActions)].index("Press"))
    pump(lambda: [e for e in events[start:] if e[0] == kind and match(e)], what)


app = pump(lambda: next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name.lower() == "quippet"), None), "program on the bus")
targets = {name: pump(lambda: find(app, name, pyatspi.ROLE_PUSH_BUTTON), "target " + name) for name in ("Copy", "Add", "Remove", "Write")}
if any("Space or Enter" not in target.description for target in targets.values()):
    fail("a target does not name its keys")
message = find(app, "Message", pyatspi.ROLE_PUSH_BUTTON)
checkable = [find(app, name, pyatspi.ROLE_CHECK_MENU_ITEM, pyatspi.ROLE_MENU_ITEM) for name in ("Always On Top", "Show In Taskbar")]
if not (message and all(checkable)):
    fail("no Message panel, or a checkable Program item missing")

pyatspi.Registry.registerEventListener(on_event, "object:property-change:accessible-name", "object:state-changed:checked",
                                       "object:property-change:accessible-description", "object:state-changed:focused")
# The program hears of a new listener a moment later. A real Tab from the box onto Add shows
# that it is listening (and that Tab reaches Add); until then, go back and try again.
for attempt in range(5):
    subprocess.run(["xdotool", "key", "Tab"], check=True)
    until = time.monotonic() + 1.0
    if pump(lambda: [e for e in events if e[0].endswith("focused") and e[1:3] == (1, "Add")] or time.monotonic() > until, "focus") is not True:
        break
    subprocess.run(["xdotool", "key", "shift+Tab"], check=True)
else:
    fail("Tab from the box never announced the focus on Add")

press_and_hear(targets["Add"], "object:property-change:accessible-name", "'Text added'",
               lambda e: e[2] == "Text added" and e[4] == pyatspi.ROLE_STATUS_BAR)
for tip in ("Click here to restore program.", "Click here to shrink program."):
    press_and_hear(message, "object:property-change:accessible-description", tip,
                   lambda e: e[2] == "Message" and e[3] == tip + " Space or Enter shrinks or restores the window.")
for item in checkable:
    for checked in (1, 0):
        press_and_hear(item, "object:state-changed:checked", "%s %d" % (item.name, checked), lambda e: e[1:3] == (checked, item.name))
print("AT-SPI: targets found; Tab, Add, shrink, restore and both check marks announced")
