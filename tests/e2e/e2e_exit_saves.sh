#!/usr/bin/env bash
# Start in a fresh folder, leave through Program > Exit with the keyboard: the store keeps its
# bytes, the date is not stored, and the settings are written.
source "$E2E_LIB"
start_wm

printf '"Hello, world"\r\n" indented"\r\n""\r\n' >"$STORE"
start_quippet
win=$(wait_window Quippet)
focus_window "$win"
xdotool key --clearmodifiers alt+p
sleep 0.4
xdotool key x
wait_exit "$QUIPPET_PID"

expect_bytes "$STORE" '"Hello, world"\r\n" indented"\r\n""\r\n'
expect_bytes "$INI" '[Startup]\nHeight=2600\nTaskbar=False\nTop=False\n'

# First run in an empty folder: an empty store is created and kept empty.
rm -f "$STORE" "$INI"
start_quippet
win=$(wait_window Quippet)
[ -f "$STORE" ] || fail "no store file created at start-up"
focus_window "$win"
xdotool key --clearmodifiers alt+p
sleep 0.4
xdotool key x
wait_exit "$QUIPPET_PID"
[ -f "$STORE" ] && [ ! -s "$STORE" ] || fail "store should be an empty file"
echo "e2e exit: 2 passed, 0 failed"
