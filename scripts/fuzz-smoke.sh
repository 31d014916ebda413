#!/usr/bin/env bash
# Runs each libFuzzer target in build-fuzz/bin for a bounded time on a copy of
# its seed corpus (fuzz/corpus/<name without fuzz_>). Fails on the first crash.
set -euo pipefail
seconds=${FUZZ_SECONDS:-20}
status=0
shopt -s nullglob
for target in build-fuzz/bin/fuzz_*; do
  name=$(basename "$target")
  corpus=fuzz/corpus/${name#fuzz_}
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  echo "fuzz-smoke: $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
       -artifact_prefix="$work/" "$work" >"$work.log" 2>&1; then
    echo "fuzz-smoke: $name FAILED"; tail -n 40 "$work.log"
    mkdir -p build-fuzz/artifacts && cp "$work"/crash-* "$work"/timeout-* "$work"/leak-* build-fuzz/artifacts/ 2>/dev/null || true
    status=1
  else
    grep -E '^Done|DONE' "$work.log" | tail -n 1 || true
  fi
  rm -rf "$work" "$work.log"
done
exit $status
