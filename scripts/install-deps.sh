#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev
  libavcodec-dev libavformat-dev libavutil-dev libswscale-dev libswresample-dev ffmpeg
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-plugins-ugly gstreamer1.0-libav gstreamer1.0-tools gstreamer1.0-plugins-base-apps
  qt6-base-dev qt6-base-dev-tools libgl-dev xvfb xauth
  # help: chmcmd compiles zevhelp.chm at build time, chmlib reads it
  fp-utils libchm-dev libchm1
  time
  # the desktop notification and launcher test starts a private session bus
  dbus-daemon
  # the Debian package: CPack runs dpkg-shlibdeps, which needs file and binutils;
  # bench/package-install waits for zev's window with xwininfo
  dpkg-dev file binutils x11-utils
  # the format and format-check targets (clang-format 14 on Debian 12)
  clang-format
  # the optional libFuzzer build of the profile reader (-DZEV_FUZZ=ON)
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
