#!/usr/bin/env bash
# deps.sh: installs the Debian packages the game needs; with --test, also what every test
# layer needs. The lists are tools/packages/*.list (one package a line, # for comments):
# game.list always, every other list with --test. Asks apt only for what is missing.
set -euo pipefail
lists="$(cd "$(dirname "$0")/packages" && pwd)"

files=("$lists/game.list")
if [ "${1:-}" = "--test" ]; then
  for f in "$lists"/*.list; do [ "$f" = "$lists/game.list" ] || files+=("$f"); done
fi

missing=()
for p in $(sed -e 's/#.*//' "${files[@]}" | sort -u); do
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
