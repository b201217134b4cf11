#!/usr/bin/env python3
"""Kills the program with SIGKILL while it saves a full store, again and again.

Usage: kill_saves.py PROGRAM_DIR KILLS [LANE LANES]
LANE of LANES shifts the kill moments so that lanes run side by side cover the save evenly.
Each round starts ./quippet in PROGRAM_DIR, removes one entry (typed text, double-click on
the Remove icon; a full list refuses Add), waits until the autosave that follows opens its file, and kills the program at a
moment spread from that instant to past the save's end. After every kill Text.txt must hold
exactly the list before or after that change, and the folder nothing else a later start could
trip over. The one file a kill may leave is the save's finished copy, linked in as
Text.txt.XXXXXX a moment before it is renamed over the store: it holds the new list whole, and
the later starts must neither read nor mind it.
"""
import os
import re
import signal
import subprocess
import sys
import time

ENTRIES = 32767


def line(text):
    return b'"' + text.encode("utf-8").replace(b'"', b'""') + b'"\r\n'


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout


def wait_window(proc, log):
    # Generous: a loaded machine may take many seconds to start with a full store.
    deadline = time.monotonic() + 60
    while time.monotonic() < deadline and proc.poll() is None:
        for wid in xdotool("search", "--onlyvisible", "--pid", str(proc.pid), "--name", "^Quippet$").split():
            if "Geometry: 256x" in xdotool("getwindowgeometry", wid):
                return wid
        time.sleep(0.05)
    windows = [xdotool("getwindowname", w).strip() + " " + xdotool("getwindowgeometry", w).split("Geometry: ")[-1].strip()
               for w in xdotool("search", "--onlyvisible", "--pid", str(proc.pid)).split()]
    with open(log, errors="replace") as f:
        sys.exit(f"FAIL: no main window; exit status {proc.poll()}, windows {windows}, output:\n{f.read()}")


def save_started(pid, folder):
    """True while the process holds a new file in the program folder open: only a save does.
    The store itself (and a store just replaced) stays open between saves."""
    try:
        for fd in os.listdir(f"/proc/{pid}/fd"):
            try:
                target = os.readlink(f"/proc/{pid}/fd/{fd}")
                if target.startswith(folder + "/") and not re.fullmatch(
                        re.escape(folder) + r"/Text\.txt( \(deleted\))?", target):
                    return True
            except OSError:
                pass
    except OSError:
        pass
    return False


def remove_entry(wid, text):
    """Pastes `text` into the emptied text box and double-clicks the Remove icon."""
    # Pasted, not typed: the filter pop-up that typing opens over a full list swallows keys.
    subprocess.run(["xclip", "-selection", "clipboard"], input=text.encode(), check=True)
    height = int(xdotool("getwindowgeometry", wid).split("Geometry: 256x")[1].split()[0])
    menu = height - 129
    xdotool("mousemove", "--window", wid, "120", str(menu + 26), "click", "1",
            "key", "ctrl+a", "ctrl+v", "sleep", "0.15", "key", "Escape")
    xdotool("mousemove", "--window", wid, "94", str(menu + 69),
            "click", "--repeat", "2", "--delay", "60", "1")


def wait_for_save(proc, folder, wid, text, store):
    """Makes the change and returns once the autosave has opened its file: the time, "missed"
    when the save came and went between two looks (a busy machine can hold this script up for
    longer than a save takes), or None when no save came."""
    inode = os.stat(store).st_ino
    # The autosave follows the change by a second; a click lost to a busy start is retried.
    for _attempt in range(3):
        remove_entry(wid, text)
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if save_started(proc.pid, folder):
                return time.monotonic()
            if os.stat(store).st_ino != inode:
                return "missed"
            time.sleep(0.0005)
    return None


def main():
    folder, kills = sys.argv[1], int(sys.argv[2])
    lane, lanes = (int(sys.argv[3]), int(sys.argv[4])) if len(sys.argv) > 4 else (0, 1)
    store = os.path.join(folder, "Text.txt")
    # Entries of mixed length with the characters the format must get right.
    entries = [f'entry {i}, "quoted" ' + ("\u00e9\u20ac" if i % 2 else "") + "x" * (i % 150)
               for i in range(ENTRIES)]
    with open(store, "wb") as f:
        f.write(b"".join(line(e) for e in entries))
    expected = set(os.listdir(folder))
    outcomes = {"before": 0, "after": 0, "copies": 0}
    real = os.path.realpath(folder)
    save_time = None
    log = os.path.join(os.path.dirname(real), "kill_saves.log")
    # The latest kill comes first: finding the list before the save there shows that the first,
    # unkilled save was quicker than the ones to come, and the kills are spread out further.
    moments = [kills] + list(range(1, kills))
    round_ = 0
    stretches = 0
    misses = 0
    changes = 0
    while round_ <= kills:
        with open(store, "rb") as f:
            before = f.read()
        removed = entries[300 * changes]
        changes += 1
        after = before.replace(line(removed), b"", 1)
        with open(log, "wb") as output:
            proc = subprocess.Popen(["./quippet"], cwd=folder, stdout=output, stderr=output)
        wid = wait_window(proc, log)
        started = wait_for_save(proc, real, wid, removed, store)
        if started == "missed" and misses < 20:
            # Not seen, so not killed during: the round is made again with another entry.
            misses += 1
            proc.kill()
            proc.wait()
            continue
        if started is None or started == "missed":
            if os.environ.get("KILL_SAVES_SHOT"):
                subprocess.run(["import", "-window", "root", os.environ["KILL_SAVES_SHOT"]])
            proc.kill()
            sys.exit(f"FAIL: round {round_}: no save started")
        if save_time is None:
            # The first round measures how long a save takes here, and is not killed.
            while save_started(proc.pid, real):
                time.sleep(0.0005)
            save_time = time.monotonic() - started
            time.sleep(0.2)
        else:
            # From the instant the save opened its file to a little past its end.
            time.sleep(1.3 * save_time * (moments[round_ - 1] - lane / lanes) / kills)
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
        if round_ == 0 and got != after:
            sys.exit("FAIL: a save that ran to its end did not reach Text.txt")
        for name in sorted(set(os.listdir(folder)) - expected):
            with open(os.path.join(folder, name), "rb") as f:
                if not re.fullmatch(r"Text\.txt\.[A-Za-z0-9]{6}", name) or f.read() != after:
                    sys.exit(f"FAIL: round {round_}: left behind {name}")
            expected.add(name)
            outcomes["copies"] += 1
        # The latest kill must come after the save's end. Saves grow slower than the first one
        # when the disk is busy (flushes wait for other programs' writes), so a kill there that
        # finds the list before the save stretches the spread, whatever the save took.
        if round_ == 1 and got == before and stretches < 6:
            save_time *= 2
            stretches += 1
            continue
        round_ += 1
    outcomes["after"] -= 1  # the measuring round
    print(f"{outcomes['before'] + outcomes['after']} kills spread over a save of {save_time * 1000:.0f} ms: {outcomes['before']} "
          f"left the list before the save, {outcomes['after']} the list after it, "
          f"{outcomes['copies']} a finished copy beside it")
    if outcomes["after"] == 0:
        sys.exit("FAIL: no change was ever saved, so no kill met a save")


if __name__ == "__main__":
    main()
