#!/usr/bin/env bash
# Leaving through Program > Exit and through SIGTERM store the same bytes; the date is not
# stored, and a first run creates an empty store that stays empty.
source "$E2E_LIB"
start_wm
for leave in menu sigterm; do
  # An unquoted line comes back quoted, so the store is seen to be written.
  printf 'plain\r\n""\r\n' >"$STORE"
  rm -f "$INI"
  start_quippet
  win=$(wait_window Quippet)
  if [ "$leave" = menu ]; then exit_by_menu "$win"; else kill -TERM "$QUIPPET_PID" && wait_exit "$QUIPPET_PID"; fi
  expect_bytes "$STORE" '"plain"\r\n""\r\n'
  expect_bytes "$INI" '[Startup]\nHeight=2600\nTaskbar=False\nTop=False\n'
done

rm -f "$STORE"
start_quippet
win=$(wait_window Quippet)
[ -f "$STORE" ] || fail "no store file created at start-up"
exit_by_menu "$win"
expect_bytes "$STORE" ''
