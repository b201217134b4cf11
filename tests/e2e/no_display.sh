#!/usr/bin/env bash
# The real program's command line with no display at all: output, streams and exit codes.
set -euo pipefail
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
out=$(mktemp -d /tmp/quippet-cli.XXXXXX)
trap 'rm -rf "$out"' EXIT
usage='Usage: quippet [--help | --version]'
nodisplay='quippet: cannot reach a display: no X server at DISPLAY and no Wayland compositor at WAYLAND_DISPLAY'
# expect "ARGS" CODE "FIRST STDOUT LINE" "FIRST STDERR LINE" STDERR_LINES
expect() {
  local code=0 got
  # shellcheck disable=SC2086
  "$QUIPPET" $1 >"$out/stdout" 2>"$out/stderr" || code=$?
  got="$code|$(head -n 1 "$out/stdout")|$(head -n 1 "$out/stderr")|$(wc -l <"$out/stderr")"
  [ "$got" = "$2|$3|$4|$5" ] || { echo "FAIL: quippet $1: got '$got'" >&2; exit 1; }
}
QUIPPET=$1
expect "--version" 0 "Quippet 1.0.61" "" 0
expect "-v --help" 0 "$usage" "" 0
expect "--help --frobnicate" 2 "" "quippet: unknown option '--frobnicate'" 18
expect "-session 10abc7f -style Fusion" 1 "" "$nodisplay" 1 # Qt's options get as far as the display check
expect "" 1 "" "$nodisplay" 1
DISPLAY=:4711 expect "" 1 "" "$nodisplay" 1 # named, but nobody there
