#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Markvane needs.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang-format
  # libraries
  qt6-base-dev libgl-dev libx11-dev libx11-xcb-dev libxi-dev libxcomposite-dev libxrender-dev
  libxfixes-dev libxext-dev libxtst-dev libxrandr-dev libxdamage-dev libxkbcommon-dev
  libxkbcommon-x11-dev libxcb1-dev libxcb-xinput-dev libxcb-shape0-dev libxcb-xfixes0-dev
  libxcb-composite0-dev libxcb-render0-dev libxcb-shm0-dev libxcb-randr0-dev libxcb-xkb-dev
  libxcb-keysyms1-dev libxcb-xtest0-dev
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth picom xdotool x11-utils x11-xserver-utils x11-apps xclip dbus dbus-x11
  fonts-noto-color-emoji fonts-dejavu-core trayer
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
