#!/usr/bin/env bash
# Text.txt changed by other programs while Quippet runs: a line appended from the shell, the file
# replaced through renames as editors do, and two copies sharing one file through symbolic links.
# Each change must reach the list within a second. The file is then removed, so that the exit
# save writes the list alone and shows what it held.
source "$E2E_LIB"
start_wm

# add_entry WIN TEXT: types TEXT over the working text and double-clicks Add.
add_entry() {
  local menu
  menu=$(menu_bar_height "$1")
  focus_window "$1"
  click_at "$1" 120 "$(combo_text_y "$menu")"
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 30 "$2"
  click_at "$1" "$ICON_ADD_X" "$(icon_y "$menu")" 2
}
# lines FILE: the entries, sorted, for comparing lists whose order depends on timing.
lines() { tr -d '\r' <"$1" | sort; }
holds() { [ "$(lines "$1")" = "$(printf '%s\n' "${@:2}" | sort)" ]; }

# Appended from the shell.
printf '"first"\r\n' >"$STORE"
start_quippet
win=$(wait_window Quippet)
printf '"appended"\r\n' >>"$STORE"
sleep 1
rm "$STORE"
add_entry "$win" typed
exit_by_menu "$win"
expect_bytes "$STORE" '"first"\r\n"appended"\r\n"typed"\r\n'
passed

# Replaced through a rename, twice: the watch follows the new file.
start_quippet
win=$(wait_window Quippet)
printf '"first"\r\n"renamed in"\r\n"appended"\r\n"typed"\r\n' >"$E2E_DIR/edit"
mv "$E2E_DIR/edit" "$STORE"
sleep 1
printf '"first"\r\n"renamed in"\r\n"appended"\r\n"typed"\r\n"again"\r\n' >"$E2E_DIR/edit"
mv "$E2E_DIR/edit" "$STORE"
sleep 1
rm "$STORE"
add_entry "$win" last
exit_by_menu "$win"
expect_bytes "$STORE" '"first"\r\n"renamed in"\r\n"appended"\r\n"typed"\r\n"again"\r\n"last"\r\n'
passed

# Two copies, each with its own folder, settings and runtime folder (so neither sees the other
# running), whose Text.txt are links to one shared file.
SHARED=$E2E_DIR/shared/Text.txt
mkdir -p "$E2E_DIR/shared"
printf '"first"\r\n' >"$SHARED"
rm -f "$STORE"
ln -s "$SHARED" "$STORE"
B=$E2E_DIR/b
mkdir -p "$B/program" "$B/config" "$B/runtime"
chmod 700 "$B/runtime"
cp "$QUIPPET_BIN" "$B/program/quippet"
ln -s "$SHARED" "$B/program/Text.txt"

start_quippet
a_pid=$QUIPPET_PID
wait_until "first copy shows its window" main_window_visible "$a_pid" >/dev/null
a_win=$(main_window_visible "$a_pid")
(cd "$B/program" && XDG_CONFIG_HOME=$B/config XDG_RUNTIME_DIR=$B/runtime exec ./quippet) \
  >"$E2E_DIR/quippet-b.log" 2>&1 &
b_pid=$!
BG_PIDS+=("$b_pid")
wait_until "second copy shows its window" main_window_visible "$b_pid" >/dev/null
b_win=$(main_window_visible "$b_pid")

add_entry "$a_win" alpha
add_entry "$b_win" beta
wait_until "both entries reach the shared file" holds "$SHARED" '"first"' '"alpha"' '"beta"'
sleep 1
[ -L "$STORE" ] && [ -L "$B/program/Text.txt" ] || fail "a save replaced a link with a file"
rm "$SHARED"
QUIPPET_PID=$a_pid exit_by_menu "$a_win"
holds "$SHARED" '"first"' '"alpha"' '"beta"' || fail "first copy's list: $(lines "$SHARED")"
rm "$SHARED"
QUIPPET_PID=$b_pid exit_by_menu "$b_win"
holds "$SHARED" '"first"' '"alpha"' '"beta"' || fail "second copy's list: $(lines "$SHARED")"
[ -L "$STORE" ] || fail "the link became a file"
passed
report store-sync
