#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test suite (plus short fuzz runs when clang is there).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

jobs=$(nproc)
cmake --preset default
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs"

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
