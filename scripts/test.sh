#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test suite (plus short fuzz runs when clang is there).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

jobs=$(nproc)
cmake --preset default
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs"

# The suites without widgets once more under AddressSanitizer + UndefinedBehaviorSanitizer:
# "never reads past the end" of the record parsers is only checked there.
if [ -z "${TALVIK_SKIP_ASAN:-}" ]; then
  cmake --preset asan >/dev/null
  cmake --build --preset asan -j "$jobs" --target util_tests model_tests protocol_frame_tests dispatch_tests sim_tests
  ctest --preset asan -R '^(util|model|protocol_frame|dispatch|sim)_tests$' -j "$jobs"
fi

# The Debian package, built as a packager builds it and checked as Debian checks packages.
if [ -z "${TALVIK_SKIP_PACKAGE:-}" ]; then
  ./scripts/package-check.sh
fi

# The thread-heavy serial suites once more under ThreadSanitizer.
if [ -z "${TALVIK_SKIP_TSAN:-}" ]; then
  cmake --preset tsan >/dev/null
  cmake --build --preset tsan -j "$jobs" --target serial_tests
  ctest --preset tsan -R '^serial_' -j "$jobs"
fi

if command -v clang++ >/dev/null && [ -z "${TALVIK_SKIP_FUZZ:-}" ]; then
  ./scripts/fuzz.sh "${TALVIK_FUZZ_SECONDS:-20}"
fi
