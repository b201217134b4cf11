#!/usr/bin/env bash
# The About window opened and closed with the keyboard; the main window outlives it.
source "$E2E_LIB"
start_wm
printf '"kept"\r\n' >"$STORE"

start_quippet
win=$(wait_window Quippet)
open_menu "$win" alt+a
xdotool key a
about=$(wait_window "About Quippet")
passed

# Return is reached by its access key; the About window has the focus while it is open.
wait_until "About window has the focus" test "$(xdotool getactivewindow 2>/dev/null)" = "$about"
xdotool key --clearmodifiers alt+r
about_gone() { ! xdotool search --onlyvisible --name '^About Quippet$' >/dev/null 2>&1; }
wait_until "About window closes" about_gone
kill -0 "$QUIPPET_PID" 2>/dev/null || fail "program ended with the About window"
[ "$(wait_window Quippet)" = "$win" ] || fail "main window replaced"
passed

exit_by_menu "$win"
expect_bytes "$STORE" '"kept"\r\n'
passed
report about
