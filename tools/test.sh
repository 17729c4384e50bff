#!/usr/bin/env bash
# test.sh: installs what is missing, builds everything and runs every test layer.
# The tests that need a display start their own Xvfb servers.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${SNAKE_TEST_BUILD:-$root/build-test}"
bash "$root/tools/deps.sh" --test
cmake -S "$root" -B "$build" -DSNAKE_BUILD_TESTS=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 300
bash "$root/tools/test-windows.sh"
bash "$root/tools/test-reliability.sh"
