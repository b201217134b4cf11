#!/usr/bin/env bash
# Outside changes that race the program never get lost: a Text.txt renamed in at several moments
# of the start-up of a 30,000-entry store (and just as the first run creates an empty one), and a
# writer appending a line every 20 ms while entries are added by hand. After Exit every
# delivered, appended and added entry is in the store.
source "$E2E_LIB"
start_wm

BIG=$E2E_DIR/big.txt
seq 30000 | awk '{ printf "\"entry %d\"\r\n", $1 }' >"$BIG"
# has_line TEXT: the store holds the entry TEXT once.
has_line() { [ "$(grep -cFx "\"$1\"$(printf '\r')" "$STORE")" = 1 ]; }
# deliver TEXT: another program writes the store with TEXT added and renames it over the old one.
deliver() { { cat "$STORE" 2>/dev/null || true; printf '"%s"\r\n' "$1"; } >"$E2E_DIR/delivery" && mv "$E2E_DIR/delivery" "$STORE"; }

# A delivery renamed in at each moment of the start-up: the program has read the old file or is
# reading it. "none" starts without a store, where the first run creates an empty one.
for moment in 0 0.05 0.1 0.2 0.35 none; do
  if [ "$moment" = none ]; then rm -f "$STORE"; else cp "$BIG" "$STORE"; fi
  start_quippet
  [ "$moment" = none ] || sleep "$moment"
  deliver "delivered at $moment"
  win=$(wait_window Quippet)
  exit_by_menu "$win"
  has_line "delivered at $moment" || fail "the delivery at $moment s was lost"
  [ "$moment" = none ] || has_line "entry 30000" || fail "the store lost its own entries"
done

# A writer appends a line every 20 ms (as a shell's >> does) while entries are added by hand,
# each followed by its save a second later: a save of the full store takes long enough for
# lines to land between its read and its replace, and in the old file after.
cp "$BIG" "$STORE"
open_quippet
(for i in $(seq 400); do printf '"appended %d"\r\n' "$i" >>"$STORE"; sleep 0.02; done) &
writer=$!
BG_PIDS+=("$writer")
added=0
while kill -0 "$writer" 2>/dev/null; do
  added=$((added + 1))
  add_entry "$win" "added $added"
done
wait "$writer" || true
exit_by_menu "$win"
[ "$added" -ge 3 ] || fail "only $added entries were added while the writer ran"
lost=$(for i in $(seq 400); do has_line "appended $i" || echo "appended $i"; done
       for i in $(seq "$added"); do has_line "added $i" || echo "added $i"; done)
[ -z "$lost" ] || fail "lost: $(echo "$lost" | tr '\n' ',') store: $(wc -l <"$STORE") lines"
has_line "entry 1" && has_line "entry 30000" || fail "the store lost its own entries"
echo "$added entries added while 400 lines were appended; none lost"
