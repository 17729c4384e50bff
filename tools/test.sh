#!/usr/bin/env bash
# test.sh: installs what is missing, builds everything and runs every test layer:
#   the Windows program played under Wine (tools/test-windows.sh),
#   every layer again under AddressSanitizer and UBSan, and short fuzz runs
#   (tools/test-reliability.sh),
#   and last the ordinary build's layers, so that CTest's summary closes the output.
# The tests that need a display start their own Xvfb servers.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${SNAKE_TEST_BUILD:-$root/build-test}"
bash "$root/tools/deps.sh" --test
cmake -S "$root" -B "$build" -DSNAKE_BUILD_TESTS=ON >/dev/null
cmake --build "$build" -j"$(nproc)"

failed=()
bash "$root/tools/test-windows.sh" || failed+=("Windows build under Wine")
bash "$root/tools/test-reliability.sh" || failed+=("sanitizers and fuzzing")

cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 300 || failed+=("test layers")
if [ ${#failed[@]} -gt 0 ]; then
  printf 'FAILED: %s\n' "${failed[@]}"
  exit 1
fi
