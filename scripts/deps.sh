#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the game and the tests need.
# Quick and silent when everything is already there.
set -euo pipefail
PKGS=(
  build-essential cmake pkg-config git
  libsdl2-dev libsdl2-mixer-dev libgl-dev libgl1-mesa-dri
  libstb-dev liblua5.2-dev libluabind-dev libtinyxml-dev libexpat1-dev libboost-dev
  libgtest-dev googletest
  xvfb xauth fonts-dejavu-core
  clang libclang-rt-14-dev
)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
