#!/usr/bin/env python3
"""Usage: kill_saves.py PROGRAM_DIR KILLS [LANE LANES]

Each round starts ./quippet over a full store, removes one entry (a full list refuses Add) and SIGKILLs it at a
moment spread from the instant the autosave opens its new file to past the save's end (LANE of LANES shifts the
moments, so lanes side by side cover the save evenly). After each kill Text.txt holds exactly the list before or
after that change; the one file a kill may leave is the save's finished copy Text.txt.XXXXXX, the new list whole.
"""
import os, pathlib, re, signal, subprocess, sys, time


def line(text):
    return b'"' + text.encode("utf-8").replace(b'"', b'""') + b'"\r\n'


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout


def wait_window(proc, log):
    deadline = time.monotonic() + 60  # a loaded machine may take long to start with a full store
    while time.monotonic() < deadline and proc.poll() is None:
        for wid in xdotool("search", "--onlyvisible", "--pid", str(proc.pid), "--name", "^Quippet$").split():
            if "Geometry: 256x" in xdotool("getwindowgeometry", wid):
                return wid
        time.sleep(0.05)
    windows = [xdotool("getwindowname", w).strip() + " " + xdotool("getwindowgeometry", w).split("Geometry: ")[-1].strip()
               for w in xdotool("search", "--onlyvisible", "--pid", str(proc.pid)).split()]
    with open(log, errors="replace") as f:
        sys.exit(f"FAIL: no main window; exit status {proc.poll()}, windows {windows}, output:\n{f.read()}")


def link(path):
    try:
        return os.readlink(path)
    except OSError:
        return ""


def save_started(pid, folder):
    """True while the process holds a new file in the program folder open: only a save does.
    The store itself (and a store just replaced) stays open between saves."""
    try:
        fds = os.listdir(f"/proc/{pid}/fd")
    except OSError:
        return False
    store = re.compile(re.escape(folder) + r"/Text\.txt( \(deleted\))?")
    return any(t.startswith(folder + "/") and not store.fullmatch(t) for t in (link(f"/proc/{pid}/fd/{fd}") for fd in fds))


def wait_for_save(proc, folder, wid, text, store):
    """Pastes `text` into the box, double-clicks Remove and returns once the autosave has opened
    its file: the time, "missed" when the save came and went between two looks (a busy machine can
    hold this script up for longer than a save takes), or None when no save came. Pasted, as the
    filter pop-up over a full list swallows typed keys."""
    inode = os.stat(store).st_ino
    for _attempt in range(3):  # a click lost to a busy start is retried
        subprocess.run(["xclip", "-selection", "clipboard"], input=text.encode(), check=True)
        menu = int(xdotool("getwindowgeometry", wid).split("Geometry: 256x")[1].split()[0]) - 129
        xdotool("mousemove", "--window", wid, "120", str(menu + 26), "click", "1", "key", "ctrl+a", "ctrl+v", "sleep", "0.15", "key", "Escape")
        xdotool("mousemove", "--window", wid, "94", str(menu + 69), "click", "--repeat", "2", "--delay", "60", "1")
        deadline = time.monotonic() + 10  # the autosave follows the change by a second
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
    store, real = os.path.join(folder, "Text.txt"), os.path.realpath(folder)
    log = os.path.join(os.path.dirname(real), "kill_saves.log")
    # Entries of mixed length with the characters the format must get right.
    entries = [f'entry {i}, "quoted" ' + ("\u00e9\u20ac" if i % 2 else "") + "x" * (i % 150) for i in range(32767)]
    pathlib.Path(store).write_bytes(b"".join(line(e) for e in entries))
    expected = set(os.listdir(folder))
    before_after_copies = [0, 0, 0]
    save_time = None
    # The latest kill comes first: finding the list before the save there shows that the first,
    # unkilled save was quicker than the ones to come, and the kills are spread out further.
    moments = [kills] + list(range(1, kills))
    round_ = stretches = misses = changes = 0
    while round_ <= kills:
        before = pathlib.Path(store).read_bytes()
        removed = entries[300 * changes]
        changes += 1
        after = before.replace(line(removed), b"", 1)
        with open(log, "wb") as output:
            proc = subprocess.Popen(["./quippet"], cwd=folder, stdout=output, stderr=output)
        started = wait_for_save(proc, real, wait_window(proc, log), removed, store)
        if started == "missed" and misses < 20:  # not seen, so not killed during: made again with another entry
            misses += 1
            proc.kill()
            proc.wait()
            continue
        if started is None or started == "missed":
            if os.environ.get("KILL_SAVES_SHOT"):
                subprocess.run(["import", "-window", "root", os.environ["KILL_SAVES_SHOT"]])
            proc.kill()
            sys.exit(f"FAIL: round {round_}: no save started")
        if save_time is None:  # the first round measures how long a save takes here, unkilled
            while save_started(proc.pid, real):
                time.sleep(0.0005)
            save_time = time.monotonic() - started
            time.sleep(0.2)
        else:
            time.sleep(1.3 * save_time * (moments[round_ - 1] - lane / lanes) / kills)
        proc.send_signal(signal.SIGKILL)
        proc.wait()
        got = pathlib.Path(store).read_bytes()
        if got not in (before, after) or (round_ == 0 and got != after):
            sys.exit(f"FAIL: round {round_}: Text.txt is {len(got)} bytes; {len(before)} before the save, {len(after)} after it")
        before_after_copies[got == after] += 1
        for name in sorted(set(os.listdir(folder)) - expected):
            if not re.fullmatch(r"Text\.txt\.[A-Za-z0-9]{6}", name) or pathlib.Path(folder, name).read_bytes() != after:
                sys.exit(f"FAIL: round {round_}: left behind {name}")
            expected.add(name)
            before_after_copies[2] += 1
        # The latest kill must come after the save's end. Saves grow slower than the first one when
        # the disk is busy (flushes wait for other programs' writes), so a kill there that finds the
        # list before the save stretches the spread, whatever the save took.
        if round_ == 1 and got == before and stretches < 6:
            save_time *= 2
            stretches += 1
            continue
        round_ += 1
    before_after_copies[1] -= 1  # the measuring round
    print(f"{sum(before_after_copies[:2])} kills spread over a save of {save_time * 1000:.0f} ms: {before_after_copies[0]} left "
          f"the list before the save, {before_after_copies[1]} the list after it, {before_after_copies[2]} a finished copy beside it")
    if before_after_copies[1] == 0:
        sys.exit("FAIL: no change was ever saved, so no kill met a save")


if __name__ == "__main__":
    main()
