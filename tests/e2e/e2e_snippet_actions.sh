#!/usr/bin/env bash
# Real keyboard and mouse on the snippet actions: Add by double-click, Copy by double-click
# read back by another program, and a drag from the combo box onto the Add icon.
source "$E2E_LIB"
start_wm

# Add: typed text, double-click on the Add icon, Program > Exit; the store gets the entry.
printf '"first"\r\n' >"$STORE"
start_quippet
win=$(wait_window Quippet)
menu=$(menu_bar_height "$win")
type_text "$win" 'typed, with a comma'
click_at "$win" "$ICON_ADD_X" "$(icon_y "$menu")" 2
exit_by_menu "$win"
expect_bytes "$STORE" '"first"\r\n"typed, with a comma"\r\n'
passed

# Copy: the clipboard holds the text for other programs while Quippet runs. The working text
# is emptied after Copy, so a following Add double-click has nothing to add.
start_quippet
win=$(wait_window Quippet)
type_text "$win" 'to the clipboard'
click_at "$win" "$ICON_COPY_X" "$(icon_y "$menu")" 2
clipboard_is() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }
wait_until "clipboard holds the copied text" clipboard_is 'to the clipboard'
passed
click_at "$win" "$ICON_ADD_X" "$(icon_y "$menu")" 2
clipboard_is 'to the clipboard' || fail "clipboard lost its text"
exit_by_menu "$win"
expect_bytes "$STORE" '"first"\r\n"typed, with a comma"\r\n'
passed

# Drag: a click on the Add label selects the whole text; pressing inside the selection and
# moving in steps onto the Add icon drops it there.
start_quippet
win=$(wait_window Quippet)
type_text "$win" 'dragged here'
add_label_y=$((menu + 81 + 8))
click_at "$win" "$ICON_ADD_X" "$add_label_y"
sleep 0.3 # let the click pass the double-click interval before the next press
text_y=$(combo_text_y "$menu")
icon_top=$(icon_y "$menu")
xdotool mousemove --window "$win" 30 "$text_y" sleep 0.2 mousedown 1
for step in 1 2 3 4 5 6 7 8; do
  xdotool mousemove --window "$win" $((30 - step)) $((text_y + step * (icon_top - text_y) / 8))
  sleep 0.05
done
xdotool mousemove --window "$win" "$ICON_ADD_X" "$icon_top" sleep 0.2 mouseup 1
exit_by_menu "$win"
expect_bytes "$STORE" '"first"\r\n"typed, with a comma"\r\n"dragged here"\r\n'
passed

report snippet_actions
