#!/usr/bin/env bash
# Builds the optimised benchmarks and runs each one; every benchmark prints its
# budget next to its figure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release
cmake --build --preset release
export QT_QPA_PLATFORM=offscreen
status=0
for bench in build/release/bench/bench_*; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  "$bench" "$@" || status=1
done
exit $status
