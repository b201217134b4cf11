#!/usr/bin/env bash
# Two machines, one list: two copies, each with its Text.txt linked into a folder its own Syncthing keeps in step with the
# other's (127.0.0.1 only). An entry reaches the other side; two added at once end up in both, no conflict copy left.
source "$E2E_LIB"
start_wm
command -v syncthing >/dev/null || fail "syncthing is not installed (scripts/install-deps.sh)"

# wait_long WHAT COMMAND...: wait_until for up to 40 s: a change travels by a save, a scan and a transfer.
wait_long() { poll 400 "${@:2}" || fail "timed out: $1; $(stores)"; }
# stores: what each synced folder holds.
stores() { for side in a b; do echo "folder $side: $(cd "${FOLDER[$side]}" && for f in Text*; do echo "$f: $(tr -d '\r' <"$f" | paste -sd,);"; done)"; done; }

B=$E2E_DIR/b
second_copy "$B"
declare -A FOLDER=([a]=$E2E_DIR/sync-a [b]=$E2E_DIR/sync-b) ID GUI KEY PORT
read -r PORT[a] PORT[b] GUI[a] GUI[b] < <(python3 -c '
import socket
socks = [socket.socket() for _ in range(4)]
for s in socks: s.bind(("127.0.0.1", 0))
print(*(s.getsockname()[1] for s in socks))')
for side in a b; do
  mkdir -p "${FOLDER[$side]}/.stfolder"
  syncthing generate --home="$E2E_DIR/st-$side" --no-default-folder >/dev/null 2>&1
  ID[$side]=$(syncthing serve --home="$E2E_DIR/st-$side" --device-id)
done
other() { [ "$1" = a ] && echo b || echo a; }
for side in a b; do
  peer=$(other $side)
  python3 "$(dirname "$E2E_LIB")/syncthing_config.py" "$E2E_DIR/st-$side/config.xml" "${PORT[$side]}" \
    "${GUI[$side]}" "${FOLDER[$side]}" "${ID[$peer]}" "${PORT[$peer]}"
  KEY[$side]=$(sed -n 's:.*<apikey>\(.*\)</apikey>.*:\1:p' "$E2E_DIR/st-$side/config.xml")
  STNOUPGRADE=1 syncthing serve --home="$E2E_DIR/st-$side" --no-browser --no-restart >"$E2E_DIR/syncthing-$side.log" 2>&1 &
  BG_PIDS+=($!)
done

# rest SIDE PATH CONDITION: the Python CONDITION holds for Syncthing SIDE's JSON answer d to PATH.
rest() {
  curl -sf -H "X-API-Key: ${KEY[$1]}" "http://127.0.0.1:${GUI[$1]}$2" |
    python3 -c 'import json, sys; d = json.load(sys.stdin); sys.exit(not eval(sys.argv[1]))' "$3" 2>/dev/null
}
# settled: both instances have scanned, sent and fetched everything.
settled() {
  local side
  for side in a b; do
    rest $side /rest/db/status?folder=quippet 'd["state"] == "idle" and d["needTotalItems"] == 0' &&
      rest $side "/rest/db/completion?folder=quippet&device=${ID[$(other $side)]}" 'd["completion"] == 100' || return 1
  done
}
# both_hold ENTRY...: both synced stores hold exactly these entries.
both_hold() { holds "${FOLDER[a]}/Text.txt" "$@" && holds "${FOLDER[b]}/Text.txt" "$@"; }
# no_conflict_copies: neither folder has a conflict copy of Text.txt left.
no_conflict_copies() { ! ls "${FOLDER[a]}" "${FOLDER[b]}" | grep -q -e '^Text\.sync-conflict-' -e '^Text (.*conflicted copy'; }

wait_long "the two Syncthing instances connect" rest a /rest/system/connections "d['connections']['${ID[b]}']['connected']"
printf '"first"\r\n' >"${FOLDER[a]}/Text.txt"
wait_long "the store reaches the second folder" both_hold first
ln -s "${FOLDER[a]}/Text.txt" "$STORE"
ln -s "${FOLDER[b]}/Text.txt" "$B/program/Text.txt"

open_pair "$B"

add_entry "$a_win" "from a"
wait_long "A's entry reaches B" both_hold first "from a"

# At once as the sync engine sees it: both save while the instances are apart; the conflict copy this makes is merged.
post() { curl -sf -X POST -H "X-API-Key: ${KEY[$1]}" "http://127.0.0.1:${GUI[$1]}$2" >/dev/null; }
post a "/rest/system/pause?device=${ID[b]}"
wait_long "the instances part" rest a /rest/system/connections "not d['connections']['${ID[b]}']['connected']"
add_entry "$a_win" "same moment a"
add_entry "$b_win" "same moment b"
wait_long "A saves its entry" holds "${FOLDER[a]}/Text.txt" first "from a" "same moment a"
wait_long "B saves its entry" holds "${FOLDER[b]}/Text.txt" first "from a" "same moment b"
post a "/rest/system/resume?device=${ID[b]}"
all=(first "from a" "same moment a" "same moment b")
wait_long "both entries added at the same moment reach both stores" both_hold "${all[@]}"
wait_long "the conflict copy is moved aside" no_conflict_copies

wait_long "Syncthing settles" settled
QUIPPET_PID=$a_pid exit_by_menu "$a_win"
QUIPPET_PID=$b_pid exit_by_menu "$b_win"
wait_long "both stores hold every entry after both exit" eval 'settled && both_hold "${all[@]}"'
no_conflict_copies || fail "a conflict copy appeared after exit: $(stores)"
[ -L "$STORE" ] && [ -L "$B/program/Text.txt" ] || fail "a save replaced a link with a file"
