#!/usr/bin/env bash
# Takes screenshots of the stream from the real game at 1024 x 768 under Xvfb,
# driven by synthetic keys and mouse (xdotool), for comparing builds:
#   default.png      the view the game starts with, no keys
#   open-sea.png     turned half round, away from the island, over the open sea
#   close.png        flown in over the island's near half, tilted down a little
#   stream-sand.png  flown out over the island, looking down, Space held
#   stream-sea.png   flown back over the open sea, looking down, Space held
#   hit.png          Space held over the people until the first hit, right after it
# Usage: scripts/look-shots.sh OUT_DIR [BUILD_DIR]   (BUILD_DIR defaults to build/)
# The game runs in real time, so two runs differ in the small things (the
# wave of the wings, where a walking person is); the views are the same.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$(mkdir -p "$1" && cd "$1" && pwd)"
build="$(cd "${2:-$root/build}" && pwd)"

run_view() { # name, then the steps as a shell snippet using $w and the helpers below
  local name="$1" steps="$2" log
  log="$(mktemp)"
  (
    cd "$build/run/game"
    exec env ALSOFT_DRIVERS=null "$build/app/skyhog" 1024 768 >"$log" 2>&1
  ) &
  local pid=$!
  local w
  w=$(timeout 60 xdotool search --sync --onlyvisible --pid $pid | head -n1)
  local i=0
  while ! grep -q "models loaded" "$log"; do
    i=$((i + 1)); [ $i -gt 600 ] && { echo "$name: the game did not load" >&2; kill $pid; return 1; }
    sleep 0.1
  done
  xdotool windowfocus --sync "$w"
  sleep 1
  shot() { import -window root "$out/$name.png"; }
  tilt() { for _ in $(seq "$1"); do xdotool mousemove_relative -- 0 -90; sleep 0.3; done; }
  turn() { for _ in $(seq "$1"); do xdotool mousemove_relative -- 90 0; sleep 0.3; done; }
  until_hit() { i=0; while ! grep -q "totally hit that person" "$log"; do
      i=$((i + 1)); [ $i -gt 200 ] && return 1; sleep 0.05; done; }
  local status=0
  eval "$steps" || status=1
  xdotool windowfocus --sync "$w" key Escape
  wait $pid || true
  rm -f "$log"
  return $status
}

# As the game starts, after two seconds of no keys.
run_view default 'sleep 2; shot'
# Turned half round (180 degrees: 40 steps of 90 pixels), over the open sea.
run_view open-sea 'turn 40; sleep 1; shot'
# Flown in for 1.2 s, tilted down 27 degrees (6 steps), no Space.
run_view close 'xdotool keydown w; sleep 1.2; xdotool keyup w; tilt 6; sleep 1; shot'
# The view tilts down as far as it goes (89 degrees of pitch: 20 steps of 90
# pixels), so that the stream is in view down to where it lands.
# Out over the island's near half, hovering, Space held.
run_view stream-sand 'xdotool keydown w; sleep 1.2; xdotool keyup w; tilt 20;
  xdotool keydown space; sleep 2; shot; xdotool keyup space'
# Back from the start, out over the open sea, hovering, Space held.
run_view stream-sea 'xdotool keydown s; sleep 2; xdotool keyup s; tilt 20;
  xdotool keydown space; sleep 2; shot; xdotool keyup space'
# Over the people with the stream on, until somebody is hit. The pig has to
# stop right over a person, which the frame rate makes a matter of luck:
# a few tries, each given up after ten seconds of the stream.
for try in 1 2 3 4 5 6 7 8; do
  run_view hit 'xdotool keydown w; sleep 2.49; xdotool keyup w; tilt 20; xdotool keydown space;
    if until_hit; then sleep 0.25; shot; hit=1; else hit=0; fi; xdotool keyup space; [ $hit = 1 ]' && break
  echo "hit: nobody was hit on try $try" >&2
done
ls "$out"
