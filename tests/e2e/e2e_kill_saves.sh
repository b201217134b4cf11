#!/usr/bin/env bash
# SIGKILL at spread-out moments during the autosave of a full store: after every kill the
# store is the list before or after the save, never a mix, a cut-off file or a leftover.
source "$E2E_LIB"
python3 "$(dirname "$E2E_LIB")/kill_saves.py" "$PROGRAM_DIR" 30 || fail "store damaged by a kill"
