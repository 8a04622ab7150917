#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian 12 packages that building, running, packaging and testing Brisko need.
# Only packages that are missing are installed, so a second run is quick.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git clang-format
  qt6-base-dev qt6-base-private-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  libqt6opengl6-dev libqt6svg6 qt6-qpa-plugins
  libplist-dev libcurl4-openssl-dev libssl-dev
  libxcb1-dev libxcb-keysyms1-dev libxkbcommon-x11-dev libxkbcommon-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool dbus dbus-x11 x11-utils imagemagick openbox
  fonts-dejavu-core attr procps locales xdg-utils xclip
  librsvg2-bin dpkg-dev lintian desktop-file-utils appstream
  libebook1.2-dev evolution-data-server
  kwin-wayland xwayland xdg-desktop-portal xdg-desktop-portal-kde qtwayland5 qt6-wayland
  libwayland-dev plasma-wayland-protocols wayland-protocols
  libglib2.0-bin dconf-service dconf-gsettings-backend gnome-settings-daemon-common
  at-spi2-core libatspi2.0-dev
  clang-14 libclang-rt-14-dev llvm-14
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}; run this script as root to install them." >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
