#!/usr/bin/env bash
# test-windows.sh: builds SphereSnake.exe and plays it under Wine on a private Xvfb, in a private
# Wine prefix kept in the build folder; prints "N passed, N failed" and fails when a check fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${SNAKE_WINDOWS_BUILD:-$root/build-windows}"
bash "$root/tools/deps.sh" --test
SECONDS=0
SNAKE_WINDOWS_BUILD="$build" bash "$root/tools/build-windows.sh"
echo "Windows build: ${SECONDS} s"

# The driver is a Linux program over the end-to-end driver library (X, XTest, screenshots)
# and the private Xvfb of the tests.
e2e="$root/tests/e2e"
g++ -std=c++17 -O1 -Wall -Wextra -I"$root/tests/support" -I"$e2e" "$root/tests/windows/wine_play.cpp" \
  "$e2e/x_driver.cpp" "$e2e/picture.cpp" "$e2e/png_writer.cpp" "$root/tests/support/xvfb.cpp" \
  -lXtst -lX11 -lz -o "$build/wine-play"

# English boxes whatever the caller's locale: the driver answers them by their keys ('n' for No).
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
mkdir -p "$build/wine-run"
echo "Playing $build/SphereSnake.exe under Wine (prefix $WINEPREFIX)"
"$build/wine-play" "$build/SphereSnake.exe" "$build/wine-run" "$root/resources/icon_pixels.inc"
