#!/usr/bin/env bash
# Keeps the layers apart, and fails with every include that crosses one (file:line):
#   src/core         core/... only (besides Qt Core and standard headers)
#   src/platform     its own headers, and from core only what a platform service or the command
#                    line needs (the log, the units and records, the settings, the store and the
#                    list it loads into); never a window
#   src/help_window  core, platform and its own headers; never the main window
#   src/main_window  anything but the program's main
# Every project include is quoted and names its folder from the one include root src/.
set -euo pipefail
cd "$(dirname "$0")/.."

allowed() {
    case $1 in
    core) echo 'core/' ;;
    platform) echo 'platform/|core/(log|compat|settings|store|list)/' ;;
    help_window) echo 'core/|platform/|help_window/' ;;
    main_window) echo 'core/|platform/|help_window/|main_window/' ;;
    app) echo 'core/|platform/|help_window/|main_window/' ;;
    esac
}

status=0
for layer in core platform help_window main_window app; do
    pattern=$(allowed "$layer")
    # Quoted includes outside the allowed folders, and project folders asked for as system headers.
    if grep -rnE --include='*.h' --include='*.cpp' --include='*.in' \
        -e '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' \
        -e '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(core|platform|help_window|main_window|app)/' \
        "src/$layer" | grep -vE ":[[:space:]]*#[[:space:]]*include[[:space:]]*\"($pattern)"; then
        status=1
    fi
done
if [ "$status" -ne 0 ]; then
    echo "check-layers: the includes above cross a layer (see scripts/check-layers.sh)" >&2
fi
exit "$status"
