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
status=0
for corpus in fuzz/corpus/*/; do
  name="$(basename "$corpus")"
  binary="build/fuzz/bin/fuzz_${name}"
  [ -x "$binary" ] || binary="build/fuzz/fuzz/fuzz_${name}"
  mkdir -p "$work/$name" "$work/$name.artifacts"
  cp -r "$corpus". "$work/$name/"
  echo "== fuzz_${name} for ${seconds} s"
  if ! "$binary" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$work/$name.artifacts/" "$work/$name" >"$work/$name.log" 2>&1; then
    status=1
    mkdir -p "$crashes/$name"
    cp "$work/$name.artifacts/"* "$crashes/$name/" 2>/dev/null || true
    tail -n 40 "$work/$name.log"
    echo "fuzz_${name}: FOUND A CRASH (inputs in $crashes/$name)"
  else
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$work/$name.log" | tr '\n' ' '
    echo
  fi
done
exit "$status"
