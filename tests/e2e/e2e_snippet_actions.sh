#!/usr/bin/env bash
# Real keyboard and mouse on the snippet actions: Add and Copy by double-click, drags from the Copy icon (the
# clipboard's text), from the combo box and from another program, and typing with a full list.
source "$E2E_LIB"
start_wm
# The drag source for Remove starts first, so the window manager places Quippet beside it.
NO_AT_BRIDGE=1 /usr/bin/python3 "$(dirname "$E2E_LIB")/gtk_drag_source.py" 'Drag source' \
  'typed, with a comma' 20 20 >"$E2E_DIR/gtk.log" 2>&1 &
BG_PIDS+=($!)
source_win=$(wait_window 'Drag source')
printf '"first"\r\n' >"$STORE"
open_quippet
read -r x0 y0 < <(window_origin "$win")
icons=$(icon_y "$win")
clipboard_is() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }

add_entry "$win" 'typed, with a comma'
# Copy empties the box, so the Add double-click after it has nothing to add.
type_text "$win" 'to the clipboard'
click_at "$win" "$ICON_COPY_X" "$icons" 2
wait_until "clipboard holds the copied text" clipboard_is 'to the clipboard'
click_add "$win"

# Another program owns the clipboard now; the Copy icon drags its text onto Add.
printf 'from elsewhere' | xclip -selection clipboard
wait_until "clipboard taken over" clipboard_is 'from elsewhere'
drag_to $((x0 + ICON_COPY_X)) $((y0 + icons)) $((x0 + ICON_ADD_X)) $((y0 + icons))

# A click on the Add label selects the whole text; a drag from inside the selection drops it.
type_text "$win" 'dragged here'
click_at "$win" "$ICON_ADD_X" $((icons + 20))
sleep 0.3 # let the click pass the double-click interval before the next press
drag_to $((x0 + 30)) $((y0 + $(combo_y "$win"))) $((x0 + ICON_ADD_X)) $((y0 + icons))

# The box holds the listed "first" while the listed "typed, with a comma" is dragged from a GTK
# window onto Remove: only the dragged entry goes.
type_text "$win" 'first'
xdotool key Escape # closes the filter pop-up, keeps the text
read -r sx sy < <(window_origin "$source_win")
drag_to $((sx + 80)) $((sy + 30)) $((x0 + ICON_REMOVE_X)) $((y0 + icons))
exit_by_menu "$win"
expect_bytes "$STORE" '"first"\r\n"from elsewhere"\r\n"dragged here"\r\n'

# With a full list the filter pop-up opens at every key; words typed and added at once each land
# in the store exactly as typed.
awk 'BEGIN { for (i = 0; i < 32000; i++)
  printf "\"%d please send the invoice for the meeting on Thursday, regards from the office\"\r\n", i }' >"$STORE"
open_quippet
for word in 'the meeting notes' 'send the invoice today'; do
  add_entry "$win" "$word"
done
exit_by_menu "$win"
[ "$(tail -n 2 "$STORE" | tr -d '\r')" = $'"the meeting notes"\n"send the invoice today"' ] ||
  fail "typed words not stored as typed: $(tail -n 2 "$STORE")"
[ "$(wc -l <"$STORE")" -eq 32002 ] || fail "store holds $(wc -l <"$STORE") lines"
