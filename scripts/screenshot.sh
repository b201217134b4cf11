#!/usr/bin/env bash
# Makes docs/screenshot.png: the main window with a few entries, under Xvfb with openbox.
# Usage: scripts/screenshot.sh [QUIPPET_BINARY]   (default: the optimised build)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bin=${1:-build/release/src/app/quippet}
if [ -z "${QUIPPET_SCREENSHOT_X:-}" ]; then
  [ -x "$bin" ] || { cmake --preset release >/dev/null && cmake --build --preset release; }
  QUIPPET_SCREENSHOT_X=1 exec xvfb-run -a -s "-screen 0 640x400x24 -dpi 96 -nolisten tcp" \
    bash "$0" "$bin"
fi

export QUIPPET_BIN=$root/$bin
source tests/e2e/lib.sh
start_wm
printf '"Kind regards,"\r\n"See you on Monday."\r\n"https://quippet.example.org/"\r\n' >"$STORE"
start_quippet
win=$(wait_window Quippet)
# A chosen text in the box, with the pop-up of matching entries closed again.
type_text "$win" 'See you on Monday.'
sleep 0.5
xdotool key Escape
sleep 0.5
mkdir -p "$root/docs"
# The window with its frame, as a person sees it.
import -frame -window "$win" "$root/docs/screenshot.png"
exit_by_menu "$win"
echo "wrote docs/screenshot.png"
