#!/usr/bin/env bash
# The Debian package: its file list, then the program unpacked into a temporary root, started, given an entry and left
# through Program > Exit. Installed, it keeps the list in the per-user data folder and writes nothing beside itself,
# even as root. Run through run_under_x.sh with QUIPPET_DEB naming the package.
source "$E2E_LIB"
[ -f "${QUIPPET_DEB:-}" ] || fail "QUIPPET_DEB does not name a package"

expected_files=$(printf '%s\n' ./usr/bin/quippet ./usr/share/{applications/org.example.quippet.desktop,doc/quippet/{changelog.gz,copyright}} \
  ./usr/share/{icons/hicolor/{{128x128,256x256,48x48,64x64}/apps/org.example.quippet.png,scalable/apps/org.example.quippet.svg},man/man1/quippet.1.gz} \
  ./usr/share/metainfo/org.example.quippet.metainfo.xml)
files=$(dpkg-deb -c "$QUIPPET_DEB" | awk '$1 !~ /^d/ { print $6 }' | sort)
[ "$files" = "$expected_files" ] || fail "package files differ:
$(diff <(echo "$expected_files") <(echo "$files") || true)"

root=$E2E_DIR/root
dpkg-deb -x "$QUIPPET_DEB" "$root"
PROGRAM_DIR=$root/usr/bin
STORE=$XDG_DATA_HOME/Quippet/Quippet/Text.txt
touch "$E2E_DIR/unpacked"
start_wm
open_quippet
add_entry "$win" 'from the package'
exit_by_menu "$win"

expect_bytes "$STORE" '"from the package"\r\n'
# The command line finds the same store, with no display and no window.
listed=$(env -u DISPLAY "$PROGRAM_DIR/quippet" --list) || fail "--list of the installed program failed"
[ "$listed" = 'from the package' ] || fail "--list of the installed program: '$listed'"
changed=$(find "$root" -newer "$E2E_DIR/unpacked" ! -type d)
[ -z "$changed" ] || fail "written inside the unpacked package: $changed"
[ "$(ls -A "$PROGRAM_DIR")" = quippet ] || fail "beside the program: $(ls -A "$PROGRAM_DIR")"
