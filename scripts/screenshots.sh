#!/usr/bin/env bash
# Retakes the screenshots in docs/ as a user sees the windows: on a virtual X server with a
# window manager (openbox), so each window has its frame and title bar. The project files the
# windows show in their footer lie in a neutral folder, /home/engineer/Проекты (a private
# mount namespace when the machine allows one, else /tmp/Проекты), never in this checkout.
#   ./scripts/screenshots.sh [OUT_DIR]     (default: docs/)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--inside-x" ]; then
  # Started by openbox once it manages the display; ends it when the pictures are taken.
  shot=$2 out=$3 status=$4
  rc=0
  if unshare -m true 2>/dev/null; then
    unshare -m sh -c 'mount -t tmpfs tmpfs /home && mkdir -p "/home/engineer/Проекты" &&
                      exec "$0" "$1" "/home/engineer/Проекты"' "$shot" "$out" || rc=$?
  else
    mkdir -p /tmp/Проекты
    "$shot" "$out" /tmp/Проекты || rc=$?
  fi
  echo "$rc" >"$status"
  openbox --exit
  exit 0
fi

./scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target app_screenshot
out=$(realpath "${1:-docs}")
shot="$PWD/build/default/bin/app_screenshot"
status=$(mktemp)
trap 'rm -f "$status"' EXIT
xvfb-run -a -s "-screen 0 1280x1024x24" \
  openbox --startup "$PWD/scripts/screenshots.sh --inside-x $shot $out $status"
rc=$(cat "$status")
[ "$rc" = "0" ] || { echo "screenshots failed ($rc)" >&2; exit 1; }
