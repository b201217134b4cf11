#!/usr/bin/env bash
# The About window opened and closed with the keyboard; the main window outlives it.
source "$E2E_LIB"
start_wm
open_quippet
open_menu "$win" alt+a
xdotool key a
about=$(wait_window "About Quippet")
# The About window takes the focus, and Return is reached by its access key.
poll 150 eval '[ "$(xdotool getactivewindow 2>/dev/null)" = "$about" ]' ||
  fail "About window $about never had the focus: active $(xdotool getactivewindow 2>&1), main $win,
$(xprop -root _NET_ACTIVE_WINDOW _NET_CLIENT_LIST 2>&1)"
xdotool key --clearmodifiers alt+r
wait_until "About window closes" eval '! window_named "About Quippet" >/dev/null'
[ "$(wait_window Quippet)" = "$win" ] || fail "main window replaced"
exit_by_menu "$win"
