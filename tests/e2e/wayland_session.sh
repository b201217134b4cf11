#!/usr/bin/env bash
# Natively on Wayland, under a headless Weston: the window is shown, Always On Top is disabled
# with its explanation, the missing shortcut portal is reported once, and SIGTERM still saves
# the list and the settings.
source "$E2E_LIB"
unset DISPLAY DBUS_SESSION_BUS_ADDRESS
export WAYLAND_DISPLAY=wayland-quippet QT_QPA_PLATFORM=wayland
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 --no-config \
  >"$E2E_DIR/weston.log" 2>&1 & BG_PIDS+=($!)
wait_until "Weston listens" test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY"
printf 'plain\r\n"quoted"\r\n' >"$STORE"
mkdir -p "$(dirname "$INI")"
printf '[Startup]\nHeight=2600\nTaskbar=False\nTop=True\n' >"$INI"

# The client's own protocol log shows the window being mapped; the program's window category
# says what it could not offer.
(cd "$PROGRAM_DIR" && WAYLAND_DEBUG=client QT_LOGGING_RULES='quippet.window.info=true' exec ./quippet) >"$E2E_DIR/quippet.log" 2>&1 &
QUIPPET_PID=$!
BG_PIDS+=("$QUIPPET_PID")
# Shown: a toplevel titled Quippet acknowledged its configure, then attached a buffer to its surface.
window_shown() {
  awk '/get_xdg_surface\(new id xdg_surface@/ { match($0, /wl_surface@[0-9]+/); surface = substr($0, RSTART, RLENGTH) }
    /xdg_toplevel@[0-9]+\.set_title\("Quippet"\)/ { titled = 1 }
    titled && /xdg_surface@[0-9]+\.ack_configure/ { acked = 1 }
    acked && surface != "" && index($0, surface ".attach(wl_buffer@") { found = 1 }
    END { exit !found }' "$E2E_DIR/quippet.log"
}
# Up to 20 s: the sanitizer build starts slowly on a busy machine.
poll 200 window_shown || fail "main window not shown on Wayland"
grep -q '^quippet.window: Always On Top disabled: This desktop does not let programs keep a window on top.$' \
  "$E2E_DIR/quippet.log" || fail "Always On Top not disabled with its explanation"
no_shortcut() { grep -c '^quippet.shortcut: The desktop gives no global shortcut (no session bus); bind the command "quippet --toggle"' "$E2E_DIR/quippet.log"; }
wait_until "the missing shortcut reported" eval '[ "$(no_shortcut)" -ge 1 ]'

kill -TERM "$QUIPPET_PID"
wait_exit "$QUIPPET_PID"
[ "$(no_shortcut)" -eq 1 ] || fail "the missing shortcut reported more than once"
expect_bytes "$STORE" '"plain"\r\n"quoted"\r\n'
# The stored Always On Top wish is kept for a desktop that can honour it.
expect_bytes "$INI" '[Startup]\nHeight=2600\nTaskbar=False\nTop=True\n'
