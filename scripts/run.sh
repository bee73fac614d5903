#!/usr/bin/env bash
# Builds Markvane (optimised) and runs it on the current display. Without a
# display it starts a virtual one (Xvfb with a compositor), lets Markvane draw
# a short demonstration driven from its command line and simulated input, and
# saves a screenshot of the result.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release
cmake --build --preset release --target markvane markvane_screenshot markvane_icons
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

# A private display, desktop background, compositor, tray and session bus.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$tmp/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$tmp/display")"
xsetroot -solid '#2d4f7c'
picom --backend xrender --config /dev/null >/dev/null 2>&1 &
pids+=($!)
trayer --edge top --align right --widthtype request --height 28 >/dev/null 2>&1 &
pids+=($!)
bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS=$(echo "$bus" | sed -n 1p)
pids+=("$(echo "$bus" | sed -n 2p)")
export XDG_RUNTIME_DIR=$tmp/runtime MARKVANE_CONFIG_DIR=$tmp/config
mkdir -m 700 "$XDG_RUNTIME_DIR" && mkdir "$MARKVANE_CONFIG_DIR"
echo '{"hasShownWelcome": true}' >"$MARKVANE_CONFIG_DIR/preferences.json"
echo "No display was found: Markvane draws a demonstration on the virtual display $DISPLAY." >&2

drag() { # x1 y1 x2 y2 ...: press at the first point, move through the others, release
  xdotool mousemove "$1" "$2" mousedown 1
  shift 2
  while [ $# -ge 2 ]; do
    xdotool mousemove "$1" "$2"
    sleep 0.02
    shift 2
  done
  xdotool mouseup 1
  sleep 0.2
}

# A command for a Markvane that is not running starts it; choosing a tool
# switches draw mode on.
"$binary" --tool pen --color 1 --width 2
sleep 1
drag 200 300 260 250 320 300 380 250 440 300 500 250 560 300
"$binary" --tool rectangle --color 4
drag 650 200 1000 420
"$binary" --tool arrow --color 2 --width 3
drag 300 600 620 420
"$binary" --tool ellipse --color 3
drag 700 500 1050 700
"$binary" --tool text --color 5
xdotool mousemove 120 130 click 1
sleep 0.3
xdotool type --delay 30 "Markvane"
xdotool key Escape
sleep 0.5

mkdir -p build/demo
shot=$PWD/build/demo/markvane-demo.png
"$PWD/build/release/tools/markvane_screenshot" "$shot"
"$binary" --quit
echo "Screenshot of the demonstration: $shot"
