#!/usr/bin/env bash
# SIGKILL at spread-out moments during the autosave of a full store: after every kill the
# store is the list before or after the save, never a mix, a cut-off file or a leftover.
source "$E2E_LIB"
kill_saves=$(dirname "$E2E_LIB")/kill_saves.py
# Each start waits a second for its autosave, so two lanes, each with its own X server, folders
# and instance lock, share the thirty kills and halve the time.
lane=$E2E_DIR/lane2
second_copy "$lane"
# The lane runs in a process group of its own, so that a failure ends all of it.
in_copy "$lane" setsid xvfb-run -a -s "$E2E_XVFB_ARGS" python3 "$kill_saves" "$lane/program" 15 1 2 &
lane_pid=$!
trap 'kill -- -$lane_pid 2>/dev/null || true; cleanup' EXIT
python3 "$kill_saves" "$PROGRAM_DIR" 15 0 2 || fail "store damaged by a kill"
wait "$lane_pid" || fail "store damaged by a kill (second lane)"
