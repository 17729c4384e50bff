#!/usr/bin/env bash
# play.sh: installs what is missing, builds the game and starts it in this folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/tools/deps.sh"
cmake -S "$root" -B "$root/build" -DSNAKE_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build" --target sphere-snake -j"$(nproc)"
exec "$root/build/sphere-snake"
