#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test Quippet (only what is missing).
set -euo pipefail
packages=(build-essential cmake ninja-build qt6-base-dev qt6-svg-dev qt6-qpa-plugins
          libqt6svg6 clang-format xvfb xauth openbox trayer xdotool xclip x11-utils x11-xkb-utils
          imagemagick fonts-dejavu-core python3-gi gir1.2-gtk-3.0
          pkg-config libxcb1-dev libxcb-keysyms1-dev librsvg2-bin qt6-wayland weston
          desktop-file-utils appstream dpkg-dev file lintian
          at-spi2-core python3-pyatspi gir1.2-atspi-2.0 dbus-x11
          clang libclang-rt-14-dev python3 syncthing curl)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
