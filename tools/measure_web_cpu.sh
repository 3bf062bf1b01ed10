#!/usr/bin/env bash
# The browser's CPU share while the game's page plays, without and with the
# button held, the time to the first frame, and the share for a bare canvas
# changing as often as the game's: RUNS runs per driver of the browser
# test's measuring mode, each value printed as its range.
#   tools/measure_web_cpu.sh [build folder] [runs] [seconds]   (build-web 3 5)
# Build first (tools/build_web.sh with KRGFX_WEB_TARGETS="game glyph_dump").
# KRGFX_WEB_HEADFUL=1 measures a browser with a window on $DISPLAY (an Xvfb);
# KRGFX_WEB_QUERY adds settings to the page's query (KRGFX_SCALE=2, say).
# Keep seconds at 8 or below: the score wraps past 200.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-web}
runs=${2:-3}
seconds=${3:-5}
range() { sort -n | awk 'NR == 1 {low = $1} {high = $1} END {printf "%s-%s", low, high}'; }
for driver in DirectX GDI; do
  log=$(mktemp)
  for ((run = 0; run < runs; run++)); do
    KRGFX_WEB_MEASURE=$seconds node tests/game/web/browser_game_test.js "$dir" . "$driver" >>"$log"
  done
  idle=$(sed -n 's/^browser CPU while the game plays: \([0-9.]*\)%.*/\1/p' "$log" | range)
  held=$(sed -n 's/^browser CPU with the button held: \([0-9.]*\)%.*/\1/p' "$log" | range)
  first=$(sed -n 's/^time to the first frame: \([0-9]*\) ms/\1/p' "$log" | range)
  bare=$(sed -n 's/^browser CPU for a bare canvas changing .*: \([0-9.]*\)%/\1/p' "$log" | range)
  echo "$driver: browser CPU ${idle}% idle, ${held}% with the button held;" \
    "first frame ${first} ms; a bare canvas changing as often ${bare}% ($runs runs of ${seconds} s)"
  rm -f "$log"
done
