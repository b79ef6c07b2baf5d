#!/usr/bin/env bash
# Starts the configurator after a build (called by scripts/run.sh).
#   start.sh [FILE]   FILE: a project to open at start instead of the demo network's
#
# With TALVIK_DEVICE set (real hardware on a serial adapter), talvikcfg starts as
# installed, with the user's own talvikcfg.ini; the port is chosen in
# "Настройки" -> "Настройки COM порта".
#
# Without it, the simulator's demo network (PD 250, BC 238 with 4 lines, BC 240 with 2)
# runs on a pseudo-terminal and talvikcfg starts already set to its COM number, with the
# demo network's project open. The demo gets a folder of its own, build/default/demo/:
# the program keeps talvikcfg.ini
# and ports/ beside its own file, so a link of the program in that folder reads and
# writes the demo's settings there, and the user's own settings file is never touched.
# The simulator stops when the program exits.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${TALVIK_BUILD_DIR:-$PWD/build/default}"
bin="$build/bin"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
No display found (neither DISPLAY nor WAYLAND_DISPLAY is set).
To run the configurator on a virtual X server:
    xvfb-run -a -s "-screen 0 1024x1000x24" ./scripts/run.sh
(install it with: sudo apt-get install xvfb xauth). To see the window from another
machine, log in with X forwarding (ssh -X) instead.
MSG
  exit 1
fi

if [ -n "${TALVIK_DEVICE:-}" ]; then
  exec "$bin/talvikcfg" "$@"
fi

demo="$build/demo"
mkdir -p "$demo/ports"
# A link of the current build (a hard link names this folder as the program's own;
# a copy where the file system refuses one).
ln -f "$bin/talvikcfg" "$demo/talvikcfg" 2>/dev/null || cp -f "$bin/talvikcfg" "$demo/talvikcfg"

exec {simout}< <(exec "$bin/talvik-sim" --ports-dir "$demo/ports" --dump "$demo/demo-network.cfg" \
                   2>"$demo/talvik-sim.log")
sim_pid=$!
stop_sim() {
  kill -TERM "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
}
trap stop_sim EXIT
trap "exit 130" INT TERM HUP

# The simulator's first line names its port: "COM3 -> /dev/pts/5".
if ! IFS= read -r -t 15 -u "$simout" line || [[ ! "$line" =~ ^COM([0-9]+)\ -\>\  ]]; then
  echo "talvik-sim did not report its port; its log:" >&2
  cat "$demo/talvik-sim.log" >&2 || true
  exit 1
fi
com="${BASH_REMATCH[1]}"
echo "Simulator: $line"

ini="$demo/talvikcfg.ini"
if [ -f "$ini" ] && grep -q '^Number=' "$ini"; then
  # Only the port number follows the simulator; the rest is what the demo user set last.
  sed -i "s/^Number=.*/Number=$com/" "$ini"
else
  printf '[COM]\nNumber=%s\nSpeed=19200\nAddr=254\n\n[SCAN]\nStart=1\nStop=255\n' "$com" >"$ini"
fi

# The simulator wrote the demo network as a project file before it announced its port; the
# configurator opens it at start, so the first screen is the network.
echo "Demo network project: $demo/demo-network.cfg"
echo "Starting talvikcfg on COM$com (settings: $ini)"
"$demo/talvikcfg" "${1:-$demo/demo-network.cfg}"
