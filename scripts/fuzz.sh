#!/usr/bin/env bash
# Builds the libFuzzer targets (clang) and runs each for about SECONDS seconds (default 20)
# on a copy of its seed corpus, so the repository stays unchanged.
# Exits non-zero when a target finds a crash; its input is kept in build/fuzz/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
crashes="build/fuzz/crashes"

# One target for SECONDS on its corpus copy; its report goes to $work/NAME.report.
fuzz_one() {
  local name="$1" corpus="$2" binary="build/fuzz/bin/fuzz_$1"
  [ -x "$binary" ] || binary="build/fuzz/fuzz/fuzz_${name}"
  mkdir -p "$work/$name" "$work/$name.artifacts"
  cp -r "$corpus". "$work/$name/"
  if ! "$binary" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$work/$name.artifacts/" "$work/$name" >"$work/$name.log" 2>&1; then
    mkdir -p "$crashes/$name"
    cp "$work/$name.artifacts/"* "$crashes/$name/" 2>/dev/null || true
    { tail -n 40 "$work/$name.log"; echo "fuzz_${name}: FOUND A CRASH (inputs in $crashes/$name)"; } >"$work/$name.report"
    return 1
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$work/$name.log" | tr '\n' ' ' >"$work/$name.report"
  echo >>"$work/$name.report"
}

# Each target is single-threaded: one per core at a time, so the runs take SECONDS per
# core's share of the targets instead of SECONDS per target.
status=0
names=()
running=0
for corpus in fuzz/corpus/*/; do
  name="$(basename "$corpus")"
  names+=("$name")
  if [ "$running" -ge "$(nproc)" ]; then
    wait -n || status=1
    running=$((running - 1))
  fi
  fuzz_one "$name" "$corpus" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done
for name in "${names[@]}"; do
  echo "== fuzz_${name} for ${seconds} s"
  cat "$work/$name.report"
done
exit "$status"
