#!/usr/bin/env bash
# Builds Markvane (optimised) and runs it on the current display. Without a
# display it starts a virtual one (Xvfb with a compositor) so the program can
# still be tried.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release
cmake --build --preset release --target markvane
binary=$PWD/build/release/markvane

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$binary" "$@"
fi

tmp=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$tmp/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$tmp/display")"
picom --backend xrender --config /dev/null >/dev/null 2>&1 &
pids+=($!)
echo "No display was found: Markvane runs on the virtual display $DISPLAY (Ctrl+C stops it)." >&2
"$binary" "$@"
