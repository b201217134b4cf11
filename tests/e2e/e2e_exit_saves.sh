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

# SIGTERM saves like Exit. An unquoted line comes back quoted, so both writes are seen.
printf 'plain\r\n"quoted"\r\n' >"$STORE"
rm -f "$INI"
start_quippet
win=$(wait_window Quippet)
focus_window "$win"
xdotool key --clearmodifiers alt+p
sleep 0.4
xdotool key x
wait_exit "$QUIPPET_PID"
expect_bytes "$STORE" '"plain"\r\n"quoted"\r\n'
cp "$STORE" "$E2E_DIR/store.exit"
cp "$INI" "$E2E_DIR/ini.exit"

printf 'plain\r\n"quoted"\r\n' >"$STORE"
rm -f "$INI"
start_quippet
wait_window Quippet >/dev/null
kill -TERM "$QUIPPET_PID"
wait_exit "$QUIPPET_PID"
cmp "$STORE" "$E2E_DIR/store.exit" || fail "store after SIGTERM differs from the one after Exit"
cmp "$INI" "$E2E_DIR/ini.exit" || fail "settings after SIGTERM differ from those after Exit"
echo "e2e exit: 3 passed, 0 failed"
