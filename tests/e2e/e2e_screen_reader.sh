#!/usr/bin/env bash
# A screen reader's journey over AT-SPI on a private D-Bus session: find the targets, type with real keys, press Add
# through its accessible action, hear the announcements; the store keeps the text after Program > Exit.
source "$E2E_LIB"
start_wm
eval "$(dbus-launch --sh-syntax </dev/null 2>/dev/null)"
BG_PIDS+=("$DBUS_SESSION_BUS_PID")
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
printf '"first"\r\n' >"$STORE"
open_quippet
focus_window "$win"
xdotool type --delay 30 'spoken text' # the focus starts in the box
# Debian's own Python: the AT-SPI bindings are system packages.
timeout 60 /usr/bin/python3 "$(dirname "$E2E_LIB")/atspi_client.py" || fail "AT-SPI client"
exit_by_menu "$win"
expect_bytes "$STORE" '"first"\r\n"spoken text"\r\n'
