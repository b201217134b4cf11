#!/usr/bin/env python3
"""Kills the program with SIGKILL while it saves a full store, again and again.

Usage: kill_saves.py PROGRAM_DIR KILLS
Each round starts ./quippet in PROGRAM_DIR, adds one entry (typed text, double-click on the
Add icon), and kills the program at a moment spread over the autosave that follows. After
every kill Text.txt must hold exactly the list before or after that change, and the folder
nothing else a later start could trip over.
"""
import os
import signal
import subprocess
import sys
import time

ENTRIES = 32767


def line(text):
    return b'"' + text.encode("utf-8").replace(b'"', b'""') + b'"\r\n'


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout


def wait_window(pid):
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        for wid in xdotool("search", "--onlyvisible", "--pid", str(pid), "--name", "^Quippet$").split():
            if "Geometry: 256x" in xdotool("getwindowgeometry", wid):
                return wid
        time.sleep(0.05)
    sys.exit("FAIL: no main window")


def main():
    folder, kills = sys.argv[1], int(sys.argv[2])
    store = os.path.join(folder, "Text.txt")
    # Entries of mixed length with the characters the format must get right.
    entries = [f'entry {i}, "quoted" \u00e9\u20ac ' + "x" * (i % 150) for i in range(ENTRIES)]
    with open(store, "wb") as f:
        f.write(b"".join(line(e) for e in entries))
    expected = set(os.listdir(folder))
    outcomes = {"before": 0, "after": 0}
    for round_ in range(kills):
        with open(store, "rb") as f:
            before = f.read()
        added = f"added {round_}"
        after = before + line(added)
        proc = subprocess.Popen(["./quippet"], cwd=folder, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        wid = wait_window(proc.pid)
        height = int(xdotool("getwindowgeometry", wid).split("Geometry: 256x")[1].split()[0])
        menu = height - 129
        # Click into the text box, type, double-click the Add icon: the list changes, and the
        # autosave follows one second later.
        xdotool("mousemove", "--window", wid, "120", str(menu + 26), "click", "1",
                "type", "--delay", "5", added)
        xdotool("mousemove", "--window", wid, "24", str(menu + 69),
                "click", "--repeat", "2", "--delay", "60", "1")
        # Spread the kills from just before the autosave to well after its start.
        time.sleep(0.9 + 0.3 * round_ / max(1, kills - 1))
        proc.send_signal(signal.SIGKILL)
        proc.wait()
        with open(store, "rb") as f:
            got = f.read()
        if got == before:
            outcomes["before"] += 1
        elif got == after:
            outcomes["after"] += 1
        else:
            sys.exit(f"FAIL: round {round_}: Text.txt is {len(got)} bytes, neither the "
                     f"{len(before)} before nor the {len(after)} after the save")
        left = set(os.listdir(folder)) - expected
        if left:
            sys.exit(f"FAIL: round {round_}: left behind {sorted(left)}")
    print(f"{kills} kills: {outcomes['before']} left the list before the save, "
          f"{outcomes['after']} the list after it")
    if outcomes["after"] == 0:
        sys.exit("FAIL: no change was ever saved, so no kill met a save")


if __name__ == "__main__":
    main()
