#!/usr/bin/env bash
# Leaving through Program > Exit and through SIGTERM store the same bytes; the date is not
# stored, and a first run creates an empty store that stays empty.
source "$E2E_LIB"
start_wm

# An unquoted line comes back quoted, so the store is seen to be written.
printf 'plain\r\n""\r\n' >"$STORE"
start_quippet
exit_by_menu "$(wait_window Quippet)"
expect_bytes "$STORE" '"plain"\r\n""\r\n'
expect_bytes "$INI" '[Startup]\nHeight=2600\nTaskbar=False\nTop=False\n'
passed

printf 'plain\r\n""\r\n' >"$STORE"
rm -f "$INI"
start_quippet
wait_window Quippet >/dev/null
kill -TERM "$QUIPPET_PID"
wait_exit "$QUIPPET_PID"
expect_bytes "$STORE" '"plain"\r\n""\r\n'
expect_bytes "$INI" '[Startup]\nHeight=2600\nTaskbar=False\nTop=False\n'
passed

rm -f "$STORE" "$INI"
start_quippet
win=$(wait_window Quippet)
[ -f "$STORE" ] || fail "no store file created at start-up"
exit_by_menu "$win"
expect_bytes "$STORE" ''
passed
report exit_saves
