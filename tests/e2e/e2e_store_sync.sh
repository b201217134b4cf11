#!/usr/bin/env bash
# Text.txt changed by others while Quippet runs (renamed over as editors do, appended to, shared
# by two copies through symbolic links) reaches the list within a second. The file is then
# removed, so that the exit save writes the list alone and shows what it held.
source "$E2E_LIB"
start_wm

# holds FILE ENTRY...: the file holds exactly these entries, in any order (saves race).
holds() { [ "$(tr -d '\r' <"$1" | sort)" = "$(printf '%s\n' "${@:2}" | sort)" ]; }

# Replaced through a rename twice, then appended to: the watch follows each new file.
printf '"first"\r\n' >"$STORE"
open_quippet
for more in '' '"again"\r\n'; do
  printf "\"first\"\r\n\"renamed in\"\r\n$more" >"$E2E_DIR/edit"
  mv "$E2E_DIR/edit" "$STORE"
  sleep 1
done
printf '"appended"\r\n' >>"$STORE"
sleep 1
rm "$STORE"
add_text "$win" typed
exit_by_menu "$win"
expect_bytes "$STORE" '"first"\r\n"renamed in"\r\n"again"\r\n"appended"\r\n"typed"\r\n'

# Two copies, each with its own folder, settings and runtime folder (so neither sees the other
# running), whose Text.txt are links to one shared file.
SHARED=$E2E_DIR/shared/Text.txt B=$E2E_DIR/b
mkdir -p "$E2E_DIR/shared"
second_copy "$B"
printf '"first"\r\n' >"$SHARED"
ln -sf "$SHARED" "$STORE"
ln -s "$SHARED" "$B/program/Text.txt"
start_quippet
a_pid=$QUIPPET_PID
a_win=$(poll 50 main_window_visible "$a_pid") || fail "first copy shows no window"
(cd "$B/program" && in_copy "$B" exec ./quippet) >"$E2E_DIR/quippet-b.log" 2>&1 &
b_pid=$!
BG_PIDS+=("$b_pid")
b_win=$(poll 50 main_window_visible "$b_pid") || fail "second copy shows no window"

add_text "$a_win" alpha
add_text "$b_win" beta
wait_until "both entries reach the shared file" holds "$SHARED" '"first"' '"alpha"' '"beta"'
sleep 1
[ -L "$STORE" ] && [ -L "$B/program/Text.txt" ] || fail "a save replaced a link with a file"
for copy in "$a_pid $a_win" "$b_pid $b_win"; do
  read -r QUIPPET_PID win <<<"$copy"
  rm "$SHARED"
  exit_by_menu "$win"
  holds "$SHARED" '"first"' '"alpha"' '"beta"' || fail "list of copy $QUIPPET_PID: $(tr -d '\r' <"$SHARED")"
done
[ -L "$STORE" ] || fail "the link became a file"
