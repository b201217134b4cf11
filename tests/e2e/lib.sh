#!/usr/bin/env bash
# Helpers shared by the end-to-end scripts; sourced, never run. A failure ends the script.
set -euo pipefail

E2E_DIR=$(mktemp -d /tmp/quippet-e2e.XXXXXX)
export HOME=$E2E_DIR/home XDG_CONFIG_HOME=$E2E_DIR/config XDG_DATA_HOME=$E2E_DIR/data
# TMPDIR too: without a runtime folder the instance socket goes there, and parallel runs must not meet.
export XDG_RUNTIME_DIR=$E2E_DIR/runtime TMPDIR=$E2E_DIR/tmp LC_ALL=C.UTF-8 LANG=C.UTF-8 QT_QPA_PLATFORM=xcb
PROGRAM_DIR=$E2E_DIR/program INI=$XDG_CONFIG_HOME/Quippet/Quippet.ini BG_PIDS=()
STORE=$PROGRAM_DIR/Text.txt

cleanup() {
  for pid in "${BG_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$E2E_DIR"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  for log in "$E2E_DIR"/*.log; do [ -s "$log" ] && sed "s/^/$(basename "$log" .log): /" "$log" >&2; done
  exit 1
}

# poll TENTHS COMMAND...: runs COMMAND every tenth of a second until it succeeds, TENTHS times at most.
poll() { for _ in $(seq "$1"); do "${@:2}" && return 0; sleep 0.1; done; return 1; }
# wait_until WHAT COMMAND...: polls COMMAND for up to 15 s, as a loaded machine may be slow to map a window.
wait_until() { poll 150 "${@:2}" || fail "timed out: $1"; }

start_wm() {
  openbox >/dev/null 2>&1 & BG_PIDS+=($!)
  wait_until "window manager starts" eval 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window'
  sleep 1 # openbox announces itself before it manages windows; one mapped meanwhile stays unmapped
}

start_tray() { trayer --edge bottom --align right --widthtype pixel --width 200 --height 32 >/dev/null 2>&1 & BG_PIDS+=($!); sleep 1; }

# second_copy DIR: a program folder DIR/program with folders of its own (the first copy's are made alike) for in_copy, start_copy.
second_copy() {
  mkdir -p "$1/home" "$1/config" "$1/data" "$1/runtime" "$1/tmp" "$1/program"
  chmod 700 "$1/runtime"
  cp "$QUIPPET_BIN" "$1/program/quippet"
}
second_copy "$E2E_DIR"
# in_copy DIR COMMAND...: runs COMMAND with the folders of the copy made by second_copy DIR.
in_copy() { HOME=$1/home XDG_CONFIG_HOME=$1/config XDG_DATA_HOME=$1/data XDG_RUNTIME_DIR=$1/runtime TMPDIR=$1/tmp "${@:2}"; }
# start_copy DIR: starts the copy, logged to quippet-NAME.log, leaving its pid in COPY_PID.
start_copy() {
  (cd "$1/program" && in_copy "$1" exec ./quippet) >"$E2E_DIR/quippet-$(basename "$1").log" 2>&1 &
  COPY_PID=$! && BG_PIDS+=("$COPY_PID")
}
# open_pair DIR: starts the program and the copy in DIR, leaving a_pid, a_win, b_pid and b_win, windows side by side.
open_pair() {
  start_quippet
  a_pid=$QUIPPET_PID
  a_win=$(poll 100 main_window_visible "$a_pid") || fail "the first copy shows no window"
  start_copy "$1" && b_pid=$COPY_PID
  b_win=$(poll 100 main_window_visible "$b_pid") || fail "the second copy shows no window"
  xdotool windowmove --sync "$a_win" 40 40 && xdotool windowmove --sync "$b_win" 600 40
}

# start_quippet [ARGS...]: starts the program from its folder, remembers QUIPPET_PID.
start_quippet() {
  (cd "$PROGRAM_DIR" && exec ./quippet "$@") >"$E2E_DIR/quippet.log" 2>&1 &
  QUIPPET_PID=$! && BG_PIDS+=("$QUIPPET_PID")
}
# open_quippet [ARGS...]: start_quippet, then waits for its window, whose id it leaves in win.
open_quippet() { start_quippet "$@" && win=$(wait_window Quippet); }
# quippet ARGS...: runs the program from its folder in the foreground.
quippet() { (cd "$PROGRAM_DIR" && ./quippet "$@"); }
# start_in_tray: a store holding "kept" and settings that start the program into the notification area.
start_in_tray() {
  printf '"kept"\r\n' >"$STORE" && mkdir -p "$(dirname "$INI")"
  printf '[Startup]\nHeight=2600\nTaskbar=True\nTop=False\n' >"$INI"
  start_quippet
}
main_shown() { main_window_visible "$QUIPPET_PID" >/dev/null; }

# wait_window NAME: prints the id of the visible window with that exact name (10 s at most).
window_named() { local id; id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true); [ -n "$id" ] && echo "$id"; }
wait_window() { poll 100 window_named "$1" || fail "no window named '$1'"; }

# wait_exit PID [SECONDS]: waits for the process to end, leaving its status in EXIT_STATUS.
wait_exit() {
  poll $((${2:-10} * 10)) eval "! kill -0 $1 2>/dev/null" ||
    fail "process $1 did not end; its visible windows: $(for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
      echo "'$(xdotool getwindowname "$w")' $(xdotool getwindowgeometry "$w" | grep -o '[0-9]*x[0-9]*')"; done | tr '\n' ' ')"
  EXIT_STATUS=0
  wait "$1" 2>/dev/null || EXIT_STATUS=$?
}

# focus_window ID: activates the window and waits until it has the keyboard focus.
focus_window() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || true
  xdotool windowfocus --sync "$1" >/dev/null 2>&1 || true
  sleep 0.3
}

# click_at WINDOW X Y [REPEAT]: left click(s) at a position relative to the window.
click_at() { xdotool mousemove --window "$1" "$2" "$3" sleep 0.2 click --repeat "${4:-1}" --delay 80 1; }

# expect_bytes FILE PRINTF_FORMAT: the file holds exactly these bytes.
expect_bytes() { [ "$(od -An -c "$1")" = "$(printf "$2" | od -An -c)" ] || { od -c "$1"; fail "$1 differs from '$2'"; }; }

window_height() { xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p'; }
# Where the main window's controls are clicked: x, and y counted up from the bottom edge, kept at either height.
ICON_ADD_X=24 ICON_REMOVE_X=94 ICON_COPY_X=163
icon_y() { echo $(($(window_height "$1") - 60)); }
combo_y() { echo $(($(window_height "$1") - 103)); }
message_panel_y() { echo $(($(window_height "$1") - 11)); }

# visible_windows PID: how many visible windows (menus included) the process has.
visible_windows() { { xdotool search --onlyvisible --pid "$1" 2>/dev/null || true; } | wc -l; }
# visible_geometries PID: "WIDTH HEIGHT" of each visible window of the process.
visible_geometries() { for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do xdotool getwindowgeometry "$id" | awk '/Geometry/ { sub("x", " ", $2); print $2 }'; done; }

# open_menu WIN KEY: presses the menu's access key, up to 3 times as the focus may still be moving, and waits for the menu.
open_menu() {
  local before
  before=$(visible_windows "$QUIPPET_PID")
  for _ in 1 2 3; do
    focus_window "$1"
    xdotool key --clearmodifiers "$2"
    poll 30 eval '[ "$(visible_windows "$QUIPPET_PID")" -gt "$before" ]' && return 0
  done
  fail "timed out: menu $2 opens"
}

# exit_by_menu WIN: Program > Exit with the keyboard, then waits for the process to end.
exit_by_menu() { open_menu "$1" alt+p && xdotool key x && wait_exit "$QUIPPET_PID"; }
click_add() { click_at "$1" "$ICON_ADD_X" "$(icon_y "$1")" 2; }
# add_entry WIN TEXT: types TEXT over the working text and double-clicks Add.
add_entry() {
  focus_window "$1"
  click_at "$1" 120 "$(combo_y "$1")"
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 30 "$2" && click_add "$1"
}
# holds FILE ENTRY...: the file holds exactly these entries, in any order (saves race).
holds() { [ "$(tr -d '\r' 2>/dev/null <"$1" | sort)" = "$(printf '"%s"\n' "${@:2}" | sort)" ]; }

# type_text WIN TEXT: clicks into the combo box's text box and types TEXT.
type_text() { click_at "$1" 120 "$(combo_y "$1")" && xdotool type --delay 30 "$2"; }
# main_window_visible PID: prints the id of the process's visible main window, told by its width from the tray icon's.
main_window_visible() {
  local id
  for id in $(xdotool search --all --onlyvisible --pid "$1" --name '^Quippet$' 2>/dev/null); do
    xdotool getwindowgeometry "$id" | grep -q 'Geometry: 256x' && { echo "$id"; return 0; }
  done
  return 1
}

# tray_icon_at: prints "X Y", the centre of the tray's embedded window "Quippet" of icon size (others have that name too).
tray_icon_at() {
  xwininfo -root -tree 2>/dev/null | awk '/"Quippet"/ {
      if (match($0, /[0-9]+x[0-9]+[+-][0-9]+[+-][0-9]+ +[+-][0-9]+[+-][0-9]+/)) {
        split(substr($0, RSTART, RLENGTH), f, /[x+ ]+/)
        if (!found && f[1] >= 8 && f[1] <= 64 && f[2] <= 64) { print f[5] + int(f[1] / 2), f[6] + int(f[2] / 2); found = 1 }
      }
    } END { exit !found }'
}
tray_icon_shown() { tray_icon_at >/dev/null; }
tray_icon_gone() { ! tray_icon_at >/dev/null; }

# click_tray_icon BUTTON [REPEAT]: clicks the program's tray icon with real pointer input.
click_tray_icon() {
  read -r x y < <(tray_icon_at) || fail "no tray icon to click"
  xdotool mousemove "$x" "$y" sleep 0.2 click --repeat "${2:-1}" --delay 80 "$1"
}

# window_origin WIN: prints "X Y", the screen position of the window's top left corner.
window_origin() { xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { print x, $NF }'; }

# drag_to X1 Y1 X2 Y2: a left-button drag moved in steps, as drag sources wait for a few pixels of movement.
drag_to() {
  xdotool mousemove "$1" "$2" sleep 0.2 mousedown 1
  for step in 1 2 3 4 5 6 7 8; do xdotool mousemove $(($1 + step * ($3 - $1) / 8)) $(($2 + step * ($4 - $2) / 8)) sleep 0.05; done
  xdotool mousemove "$3" "$4" sleep 0.2 mouseup 1
}

# start_fake_desktop MODE: a private session bus, for programs started afterwards, with fake_desktop.py MODE (desktop.log).
start_fake_desktop() {
  eval "$(dbus-launch --sh-syntax </dev/null 2>/dev/null)"
  BG_PIDS+=("$DBUS_SESSION_BUS_PID")
  # Debian's own Python: the GObject bindings are system packages.
  /usr/bin/python3 "$(dirname "$E2E_LIB")/fake_desktop.py" "$1" >"$E2E_DIR/desktop.log" 2>&1 & BG_PIDS+=($!)
  wait_until "fake desktop owns its name" eval "grep -qx ready $E2E_DIR/desktop.log 2>/dev/null"
}
