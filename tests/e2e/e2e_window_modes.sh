#!/usr/bin/env bash
# The About window, Always On Top, the shrunk strip and the notification area, driven through the real window system, and
# what each leaves in the settings.
source "$E2E_LIB"
start_wm
printf '"kept"\r\n' >"$STORE"
ini_is() { expect_bytes "$INI" "[Startup]\nHeight=$1\nTaskbar=$2\nTop=$3\n"; }
has_above() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
height_is() { test "$(window_height "$1")" "$2" "$3"; }
# Always On Top is the first item of the Program menu; it has no access key.
always_on_top() { open_menu "$1" alt+p && xdotool key Home Return; }
# A click on the message panel shrinks the window to a strip, or restores it.
shrink() { click_at "$1" 60 "$(message_panel_y "$1")"; }

open_quippet
# The About window opened and closed with the keyboard takes the focus; the main window outlives it.
open_menu "$win" alt+a
xdotool key a
about=$(wait_window "About Quippet")
poll 150 eval '[ "$(xdotool getactivewindow 2>/dev/null)" = "$about" ]' ||
  fail "About window $about never had the focus: active $(xdotool getactivewindow 2>&1), main $win"
xdotool key --clearmodifiers alt+r
wait_until "About window closes" eval '! window_named "About Quippet" >/dev/null'
[ "$(wait_window Quippet)" = "$win" ] || fail "main window replaced"
full=$(window_height "$win")
has_above "$win" && fail "window starts above others"
always_on_top "$win"
wait_until "window above others" has_above "$win"
exit_by_menu "$win"
ini_is 2600 False True

open_quippet
wait_until "stored Top places the window above others" has_above "$win"
always_on_top "$win"
wait_until "window back in the normal band" eval "! has_above $win"
shrink "$win"
wait_until "window shrinks" height_is "$win" -lt "$full"
exit_by_menu "$win"
ini_is 1030 False False

# Notification area: with Taskbar stored as True the program starts as an icon only.
start_tray
start_in_tray
wait_until "tray icon appears" tray_icon_shown
sleep 0.5 # a window shown at start-up would be mapped by now
main_shown && fail "main window shown at a start into the tray"

to_tray() { # minimising the window leaves only the icon
  xdotool windowminimize "$(main_window_visible "$QUIPPET_PID")"
  wait_until "minimised window hidden" eval '! main_shown'
  wait_until "tray icon back" tray_icon_shown
}
back_from_tray() { # WHAT: the running program shows its window again and removes the icon
  wait_until "$1 shows the window" main_shown
  wait_until "$1 removes the icon" tray_icon_gone
}
# menu_open: a visible pop-up menu, told from the main window by its width and from the icon and its tool tip by its height.
menu_open() { visible_geometries "$QUIPPET_PID" | awk '{ if ($1 != 256 && $2 >= 40) f = 1 } END { exit !f }'; }
tray_menu() { # KEY: a right-click on the icon opens its pop-up menu (clicked again if a new icon missed it); KEY answers it
  for _ in 1 2 3; do click_tray_icon 3 && poll 30 menu_open && { xdotool key "$1"; return 0; }; done
  fail "timed out: pop-up menu opens"
}

click_tray_icon 1 2
back_from_tray "a double-click on the icon"
to_tray # a second start ends by itself and brings the running program's window back
(cd "$PROGRAM_DIR" && exec ./quippet) >"$E2E_DIR/second.log" 2>&1 &
wait_exit $! 5
back_from_tray "a second start"
to_tray
tray_menu r
back_from_tray "Restore in the pop-up menu"

# Both files are removed while the program runs, so only the shut-down can write them back.
rm "$INI" "$STORE"
to_tray
tray_menu x
wait_exit "$QUIPPET_PID"
[ "$EXIT_STATUS" -eq 0 ] || fail "Exit in the pop-up menu ended with status $EXIT_STATUS"
wait_until "icon removed from the tray" tray_icon_gone
ini_is 2600 True False
expect_bytes "$STORE" '"kept"\r\n'
