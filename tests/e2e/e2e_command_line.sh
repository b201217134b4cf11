#!/usr/bin/env bash
# --add, --remove and --list on the store file with no instance and no display, then through a running instance, with
# quotes, a line break and a character outside the BMP. A socket of the old shared name in the temporary folder is never spoken to.
source "$E2E_LIB"
odd=$(printf 'say "hi",\nit'"'"'s \xf0\x9f\x98\x80')
odd_stored='"say ""hi"",\nit'"'"'s \360\237\230\200"\r\n'
store_is() { [ "$(od -An -c "$STORE")" = "$(printf "$1" | od -An -c)" ]; }
# expect CODE "STDERR" COMMAND...: runs the program with these arguments and checks the outcome.
expect() {
  local code=0
  quippet "${@:3}" >"$E2E_DIR/out" 2>"$E2E_DIR/err" || code=$?
  [ "$code|$(cat "$E2E_DIR/err")" = "$1|$2" ] || fail "quippet ${*:3}: got $code, '$(cat "$E2E_DIR/err")'"
}

# Another user's program squats the name the socket had in the shared temporary folder.
squatter=$TMPDIR/quippet-$(id -u)
/usr/bin/python3 -c '
import socket, sys
s = socket.socket(socket.AF_UNIX); s.bind(sys.argv[1]); s.listen(5)
while True:
    c, _ = s.accept(); open(sys.argv[2], "a").write("connection\n"); c.close()
' "$squatter" "$E2E_DIR/squatter.log" & BG_PIDS+=($!)
wait_until "squatter listens" test -S "$squatter"

# No instance: the store file itself, without a display.
printf '"kept"\r\n' >"$STORE"
export -n DISPLAY
expect 0 "" --add "$odd"
expect_bytes "$STORE" "\"kept\"\r\n$odd_stored"
expect 1 "quippet: the text is already in the list" --add "$odd"
expect 1 "quippet: the text on standard input is not valid UTF-8" --add - < <(printf 'caf\xe9')
expect 0 "" --list -0
expect_bytes "$E2E_DIR/out" "kept\0$odd\0"
expect 0 "" --remove - < <(printf '%s' "$odd")
expect_bytes "$STORE" '"kept"\r\n'
export DISPLAY

# A running instance takes the commands; its autosave writes them.
start_wm
open_quippet
expect 0 "" --add "$odd"
expect 0 "" --list
[ "$(cat "$E2E_DIR/out")" = "$(printf 'kept\n%s' "$odd")" ] || fail "--list through the instance: $(cat "$E2E_DIR/out")"
wait_until "the window saves the added text" store_is "\"kept\"\r\n$odd_stored"
expect 1 "quippet: the text is not in the list" --remove 'kept '
expect 0 "" --remove kept
wait_until "the window saves the removal" store_is "$odd_stored"
exit_by_menu "$win"
[ ! -s "$E2E_DIR/squatter.log" ] || fail "the squatted socket was spoken to"
