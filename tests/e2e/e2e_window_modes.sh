#!/usr/bin/env bash
# Always On Top, the shrunk strip and the notification area, driven through the real window
# system, and what each leaves in the settings.
source "$E2E_LIB"
start_wm
printf '"kept"\r\n' >"$STORE"

has_above() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
lacks_above() { ! has_above "$1"; }
height_is() { [ "$(window_height "$1")" -eq "$2" ]; }

# Always On Top is the first item of the Program menu; it has no access key.
choose_always_on_top() {
  open_menu "$1" alt+p
  xdotool key Home Return
}

start_quippet
win=$(wait_window Quippet)
menu=$(menu_bar_height "$win")
lacks_above "$win" || fail "window starts above others"
choose_always_on_top "$win"
wait_until "window above others" has_above "$win"
passed
choose_always_on_top "$win"
wait_until "window back in the normal band" lacks_above "$win"
exit_by_menu "$win"
expect_bytes "$INI" '[Startup]\nHeight=2600\nTaskbar=False\nTop=False\n'
passed

start_quippet
win=$(wait_window Quippet)
choose_always_on_top "$win"
wait_until "window above others" has_above "$win"
exit_by_menu "$win"
expect_bytes "$INI" '[Startup]\nHeight=2600\nTaskbar=False\nTop=True\n'
passed

# With Top stored as True the window is above others from its first paint.
start_quippet
win=$(wait_window Quippet)
wait_until "stored Top places the window above others" has_above "$win"
choose_always_on_top "$win"
wait_until "window back in the normal band" lacks_above "$win"
passed

# Shrink: a click on the message panel leaves the menu bar and a 24 px strip.
click_at "$win" "$MESSAGE_PANEL_X" "$(message_panel_y "$win")"
wait_until "window shrinks" height_is "$win" $((menu + SHRUNK_CLIENT))
exit_by_menu "$win"
expect_bytes "$INI" '[Startup]\nHeight=1030\nTaskbar=False\nTop=False\n'
passed

start_quippet
win=$(wait_window Quippet)
height_is "$win" $((menu + SHRUNK_CLIENT)) || fail "window does not start shrunk"
click_at "$win" "$MESSAGE_PANEL_X" "$(message_panel_y "$win")"
wait_until "window restores" height_is "$win" $((menu + FULL_CLIENT))
exit_by_menu "$win"
expect_bytes "$INI" '[Startup]\nHeight=2600\nTaskbar=False\nTop=False\n'
passed

# Notification area: with Taskbar stored as True the program starts as an icon only.
start_tray
printf '[Startup]\nHeight=2600\nTaskbar=True\nTop=False\n' >"$INI"
start_quippet
first=$QUIPPET_PID
wait_until "tray icon appears" tray_icon_visible "$first"
sleep 0.5 # a window shown at start-up would be mapped by now
main_window_visible "$first" >/dev/null && fail "main window shown at a start into the tray"
passed

# A second start ends by itself and brings the running program's window back.
(cd "$PROGRAM_DIR" && exec ./quippet) >"$E2E_DIR/second.log" 2>&1 &
second=$!
wait_exit "$second" 5
kill -0 "$first" 2>/dev/null || fail "the first instance ended"
main_shown() { main_window_visible "$first" >/dev/null; }
wait_until "main window shown again" main_shown
passed
win=$(main_window_visible "$first")
exit_by_menu "$win"
expect_bytes "$INI" '[Startup]\nHeight=2600\nTaskbar=True\nTop=False\n'
expect_bytes "$STORE" '"kept"\r\n'
passed

report window_modes
