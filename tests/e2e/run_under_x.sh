#!/usr/bin/env bash
# Runs one end-to-end script on a private X server with a window manager.
# Usage: run_under_x.sh SCRIPT QUIPPET_BINARY
set -euo pipefail
E2E_LIB="$(cd "$(dirname "$0")" && pwd)/lib.sh" QUIPPET_BIN=$2
# -noreset: otherwise the server resets when its last client goes (a killed program, say), and
# a program started in that moment cannot connect. Exported for scripts that start a server too.
E2E_XVFB_ARGS="-screen 0 1280x800x24 -dpi 96 -nolisten tcp -noreset"
export E2E_LIB QUIPPET_BIN E2E_XVFB_ARGS
exec xvfb-run -a -s "$E2E_XVFB_ARGS" bash "$1"
