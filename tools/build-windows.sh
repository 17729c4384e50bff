#!/usr/bin/env bash
# build-windows.sh: cross-builds the Windows program with MinGW-w64: build-windows/SphereSnake.exe
# (or $SNAKE_WINDOWS_BUILD/SphereSnake.exe). Installs the cross compiler first when it is missing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${SNAKE_WINDOWS_BUILD:-$root/build-windows}"

if ! command -v x86_64-w64-mingw32-g++-win32 >/dev/null || ! command -v x86_64-w64-mingw32-windres >/dev/null \
   || ! command -v cmake >/dev/null; then
  echo "Installing: g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64 cmake make"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get -o DPkg::Lock::Timeout=600 update -q
  $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends \
    g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64 cmake make
fi

cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target sphere-snake -j"$(nproc)"
echo "Built $build/SphereSnake.exe"
