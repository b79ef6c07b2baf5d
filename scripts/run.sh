#!/usr/bin/env bash
# Installs what is missing, builds, and starts the configurator. Without hardware
# (no TALVIK_DEVICE given) the simulator's demo network is started on a pseudo-terminal
# first and the configurator is pointed at its COM number.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target talvikcfg talvik-sim
exec ./scripts/start.sh "$@"
