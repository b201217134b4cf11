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
wait_until "tray icon appears" tray_icon_shown
sleep 0.5 # a window shown at start-up would be mapped by now
main_window_visible "$first" >/dev/null && fail "main window shown at a start into the tray"
passed

main_shown() { main_window_visible "$first" >/dev/null; }
main_hidden() { ! main_shown; }
# to_tray: minimising the window leaves only the icon.
to_tray() {
  xdotool windowminimize "$(main_window_visible "$first")"
  wait_until "minimised window hidden" main_hidden
  wait_until "tray icon back" tray_icon_shown
}
# back_from_tray WHAT: the window is shown again and the icon removed, the program still running.
back_from_tray() {
  wait_until "$1 shows the window" main_shown
  wait_until "$1 removes the icon" tray_icon_gone
  kill -0 "$first" 2>/dev/null || fail "the program ended after $1"
}

# open_tray_menu: a right-click on the icon opens its pop-up menu at the pointer.
open_tray_menu() {
  local before
  before=$(visible_windows "$first")
  click_tray_icon 3
  wait_until "pop-up menu opens" test "$(visible_windows "$first")" -gt "$before"
}

click_tray_icon 1 2
back_from_tray "a double-click on the icon"
passed

# A second start ends by itself and brings the running program's window back.
to_tray
(cd "$PROGRAM_DIR" && exec ./quippet) >"$E2E_DIR/second.log" 2>&1 &
second=$!
wait_exit "$second" 5
back_from_tray "a second start"
passed

# The icon's pop-up menu, answered with the access keys: Restore, then Exit.
to_tray
open_tray_menu
xdotool key r
back_from_tray "Restore in the pop-up menu"
passed

# Both files are removed while the program runs, so only the shut-down can write them back.
rm "$INI" "$STORE"
to_tray
open_tray_menu
xdotool key x
wait_exit_status "$first"
[ "$EXIT_STATUS" -eq 0 ] || fail "Exit in the pop-up menu ended with status $EXIT_STATUS"
wait_until "icon removed from the tray" tray_icon_gone
expect_bytes "$INI" '[Startup]\nHeight=2600\nTaskbar=True\nTop=False\n'
expect_bytes "$STORE" '"kept"\r\n'
passed

report window_modes
