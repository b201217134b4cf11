#!/usr/bin/env bash
# Checks that no include crosses a layer and the formatting, builds with warnings as errors and
# runs every test (unit, widget, end-to-end), then the same tests under AddressSanitizer and
# UBSan; then validates the menu entry and AppStream metadata, builds the Debian package and
# runs it unpacked.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

echo "== layers"
bash scripts/check-layers.sh

echo "== formatting"
files=$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 2>/dev/null || true)
if [ -n "$files" ]; then
  # shellcheck disable=SC2086
  clang-format --dry-run --Werror $files
fi

jobs=$(nproc)
echo "== build (warnings are errors)"
cmake --preset ci >/dev/null
cmake --build --preset ci -j "$jobs"
echo "== tests"
ctest --preset ci -j "$jobs"

echo "== fuzzing the store reader (libFuzzer, about a minute)"
bash scripts/fuzz.sh 45

echo "== build with AddressSanitizer and UBSan"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
echo "== tests under sanitizers"
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --preset asan -j "$jobs"

echo "== menu entry and AppStream metadata"
desktop-file-validate data/org.example.quippet.desktop
# Infos (such as the plain-HTTP homepage) are allowed; warnings and errors are not.
appstreamcli validate --no-net data/org.example.quippet.metainfo.xml | tee /tmp/quippet-appstream.log
if grep -qE '^[EW]: ' /tmp/quippet-appstream.log; then exit 1; fi

echo "== Debian package from the optimised build"
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
rm -f build/release/quippet_*.deb
(cd build/release && cpack -G DEB)
deb=$(ls build/release/quippet_1.0.61_*.deb)
dpkg-deb -I "$deb"
lintian --fail-on error "$deb"
QUIPPET_DEB=$PWD/$deb bash tests/e2e/run_under_x.sh tests/e2e/package_run.sh build/release/src/app/quippet
