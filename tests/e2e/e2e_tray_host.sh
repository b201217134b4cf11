#!/usr/bin/env bash
# Icons hosted over D-Bus: the host's click (Activate) brings the window back; Exit in the menu it draws ends the program.
source "$E2E_LIB"
start_wm
start_fake_desktop host
items() { grep -c '^item ' "$E2E_DIR/desktop.log" || true; }
# item CALL ARGS...: calls the icon's D-Bus object the program registered last.
item() {
  local service
  service=$(sed -n 's/^item //p' "$E2E_DIR/desktop.log" | tail -n 1)
  gdbus call --session --dest "$service" --object-path "${ITEM_PATH:-/StatusNotifierItem}" --method "$1" -- "${@:2}"
}

start_in_tray
wait_until "icon registered with the host" eval '[ "$(items)" -eq 1 ]'
sleep 0.5 # a window shown at start-up would be mapped by now
main_shown && fail "main window shown at a start into the notification area"
item org.kde.StatusNotifierItem.Activate 0 0 >/dev/null
wait_until "the host's click shows the window" main_shown

xdotool windowminimize "$(main_window_visible "$QUIPPET_PID")"
wait_until "minimised window hidden" eval '! main_shown'
wait_until "icon registered again" eval '[ "$(items)" -eq 2 ]'
menu=$(item org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem Menu | grep -o "'/[^']*'" | tr -d "'")
layout=$(ITEM_PATH=$menu item com.canonical.dbusmenu.GetLayout 0 -1 '[]')
exit_id=$(grep -o "([0-9]*, {[^}]*'label': <'E_xit'>" <<<"$layout" | grep -o '^([0-9]*' | tr -d '(') ||
  fail "no Exit in the icon's menu: $layout"
grep -q "'label': <'_Restore'>" <<<"$layout" || fail "no Restore in the icon's menu: $layout"
ITEM_PATH=$menu item com.canonical.dbusmenu.Event "$exit_id" clicked '<0>' 0 >/dev/null
wait_exit "$QUIPPET_PID"
[ "$EXIT_STATUS" -eq 0 ] || fail "Exit in the host's menu ended with status $EXIT_STATUS"
expect_bytes "$INI" '[Startup]\nHeight=2600\nTaskbar=True\nTop=False\n'
