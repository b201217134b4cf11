#!/usr/bin/env bash
# The global key shows the window from the notification area, focus in the box, and puts it back; a second program
# that finds the key taken says so once and runs on.
source "$E2E_LIB"
start_wm
start_tray
hotkey() { xdotool key --clearmodifiers ctrl+alt+q; }

# The program's debug line tells when it has grabbed the key again after a layout change.
QT_LOGGING_RULES='quippet.shortcut.debug=true' start_in_tray
wait_until "tray icon appears" tray_icon_shown
second_copy "$E2E_DIR/b"
start_copy "$E2E_DIR/b"
taken='^quippet.shortcut: Ctrl+Alt+Q is taken by another program'
wait_until "the second program reports the key taken" grep -q "$taken" "$E2E_DIR/quippet-b.log"
kill -TERM "$COPY_PID" && wait_exit "$COPY_PID"
[ "$(grep -c "$taken" "$E2E_DIR/quippet-b.log")" -eq 1 ] || fail "the taken key reported more than once"

hotkey # the first fake key also switches keyboards, which has the program grab the key again
wait_until "the shortcut shows the window" main_shown
wait_until "the shortcut removes the icon" tray_icon_gone
win=$(main_window_visible "$QUIPPET_PID")
wait_until "the window is active" eval '[ "$(xdotool getactivewindow)" = "$win" ]'
xdotool type --delay 30 'typed' # straight into the box
click_add "$win"
xdotool key Num_Lock # the key works with Num Lock on as well
hotkey
wait_until "the shortcut hides the active window" eval '! main_shown'
wait_until "the icon is back" tray_icon_shown
setxkbmap fr # the desktop sets a layout with Q on another key: the program follows it there
wait_until "the key is grabbed again" grep -q 'grabbed again after a change of the keyboard map' "$E2E_DIR/quippet.log"
hotkey
wait_until "the shortcut shows the window again in the new layout" main_shown
exit_by_menu "$(main_window_visible "$QUIPPET_PID")"
expect_bytes "$STORE" '"kept"\r\n"typed"\r\n'
