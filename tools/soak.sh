#!/usr/bin/env bash
# soak.sh: plays the real game under a private Xvfb with random keys for SECONDS (default 600)
# and SWITCHES screen-mode switches (default 50); fails on a crash, on resident memory that
# grows by more than 1 MB after the warm-up, or on anything written to stderr (GL errors).
#   tools/soak.sh [SECONDS] [SWITCHES] [--seed N]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${SNAKE_SOAK_BUILD:-$root/build-test}"
seconds="${1:-600}"
switches="${2:-50}"
shift $(( $# > 2 ? 2 : $# ))
bash "$root/tools/deps.sh" --test
cmake -S "$root" -B "$build" -DSNAKE_BUILD_TESTS=ON >/dev/null
cmake --build "$build" -j2 --target sphere-snake soak_driver
exec "$build/tests/reliability/soak_driver" "$build/sphere-snake" "$seconds" "$switches" "$@"
