#!/usr/bin/env bash
# The command line without any display: what is printed where, and the exit codes.
set -euo pipefail
bin=$1
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
out=$(mktemp -d /tmp/quippet-cli.XXXXXX)
trap 'rm -rf "$out"' EXIT
failed=0

# expect ARGS CODE STDOUT_FIRST_LINE STDERR_FIRST_LINE STDERR_LINES
expect() {
  local args=$1 code=0
  # shellcheck disable=SC2086
  (cd "$out" && exec "$bin" $args) >"$out/stdout" 2>"$out/stderr" || code=$?
  local got="$code|$(head -n 1 "$out/stdout")|$(head -n 1 "$out/stderr")|$(wc -l <"$out/stderr")"
  local want="$2|$3|$4|$5"
  if [ "$got" != "$want" ]; then
    echo "FAIL: quippet $args: got '$got', want '$want'" >&2
    sed 's/^/  stderr: /' "$out/stderr" >&2
    failed=1
  fi
}

usage='Usage: quippet [--help | --version]'
expect "--version" 0 "Quippet 1.0.61" "" 0
expect "--help" 0 "$usage" "" 0
expect "--frobnicate" 2 "" "quippet: unknown option '--frobnicate'" 7
expect "" 1 "" "quippet: cannot reach a display: no X server at DISPLAY and no Wayland compositor at WAYLAND_DISPLAY" 1
# A display that is named but not there is no better.
DISPLAY=:4711 expect "" 1 "" "quippet: cannot reach a display: no X server at DISPLAY and no Wayland compositor at WAYLAND_DISPLAY" 1
[ "$failed" -eq 0 ] && echo "e2e no display: 5 passed, 0 failed"
exit "$failed"
