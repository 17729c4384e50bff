#!/usr/bin/env bash
# test-reliability.sh: every test layer again in a build with AddressSanitizer and
# UndefinedBehaviorSanitizer (a finding fails the run), then a short run of each libFuzzer
# target. Called by tools/test.sh after the ordinary tests; docs/RELIABILITY.md has the long runs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
asan="${SNAKE_ASAN_BUILD:-$root/build-asan}"
fuzz="${SNAKE_FUZZ_BUILD:-$root/build-fuzz}"

cmake -S "$root" -B "$asan" -DSNAKE_BUILD_TESTS=ON -DSNAKE_SANITIZE=ON >/dev/null
cmake --build "$asan" -j"$(nproc)"
(
  cd "$asan"
  export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  export LSAN_OPTIONS="suppressions=$root/tools/sanitizers/lsan.supp:print_suppressions=0"
  # The install tests package and install the program; that is the ordinary build's job.
  ctest --output-on-failure -j"$(nproc)" --timeout 600 -E "^install_"
)

CC=clang CXX=clang++ cmake -S "$root" -B "$fuzz" -DSNAKE_FUZZ=ON -DSNAKE_BUILD_TESTS=OFF >/dev/null
cmake --build "$fuzz" -j"$(nproc)" --target fuzz_high_score fuzz_rules
(cd "$fuzz" && ctest --output-on-failure -L fuzz -j2)
