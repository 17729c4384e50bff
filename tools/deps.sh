#!/usr/bin/env bash
# deps.sh: installs the Debian packages the game (and, with --test, its tests) needs.
# Asks apt only for what is missing, so a second run costs nothing.
set -euo pipefail

packages=(g++ cmake make pkg-config libsdl2-dev libgl1-mesa-dev libglu1-mesa-dev
          libfreetype-dev libfontconfig-dev fonts-liberation libgl1-mesa-dri xfonts-base)
if [ "${1:-}" = "--test" ]; then
  packages+=(libgtest-dev libgmock-dev xvfb xauth libx11-dev libxtst-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get -o DPkg::Lock::Timeout=600 update -q
  $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}"
fi
