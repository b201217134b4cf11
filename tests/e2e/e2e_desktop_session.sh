#!/usr/bin/env bash
# Started by a session manager, and by --toggle with Qt's options; --toggle then puts the active window away and back,
# with the focus in the box.
source "$E2E_LIB"
start_wm
printf '"kept"\r\n' >"$STORE"
# As a launcher runs it: with a startup id, which the running window spends on its activation.
toggle() { DESKTOP_STARTUP_ID=launch-1_TIME0 quippet --toggle || fail "--toggle ended with $?"; }
active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
listed() { [ "$(quippet --list)" = "$1" ]; }

open_quippet -session 10f3a8c2e5d1b4000172894561000000010 -name quippet
exit_by_menu "$win"
[ "$EXIT_STATUS" -eq 0 ] || fail "a restored session ended with status $EXIT_STATUS"

open_quippet --toggle -style Fusion --platform xcb # with none running, --toggle starts it
type_text "$win" 'typed before'
wait_until "window active" active_is "$win"
toggle
wait_until "--toggle puts the active window away" eval '! window_named Quippet >/dev/null'
toggle
wait_until "--toggle brings the window back" eval 'window_named Quippet >/dev/null'
wait_until "the window is active again" active_is "$win"
# The box has the focus and its text is selected: typing replaces it.
xdotool type --delay 30 'typed after'
click_add "$win"
wait_until "Add took the box's new text" listed "$(printf 'kept\ntyped after')"
exit_by_menu "$win"
expect_bytes "$STORE" '"kept"\r\n"typed after"\r\n'
