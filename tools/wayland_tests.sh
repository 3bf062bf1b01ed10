#!/usr/bin/env bash
# The window, drawing and input tests over the Wayland back end: weston runs
# inside an Xvfb of its own with its X11 back end and the kiosk shell (which
# centres a fixed-size window on black), the tests inject input with XTest
# on that Xvfb and read weston's window back with XGetImage. Xvfb and weston
# are started and stopped here by their process ids.
# Usage: tools/wayland_tests.sh [BUILD-FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
display=${KRGFX_WAYLAND_TEST_DISPLAY:-:79}
runtime=$(mktemp -d /tmp/krgfx-wayland-XXXXXX)
chmod 700 "$runtime"
xvfb_pid=""
weston_pid=""
cleanup() {
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$runtime"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
# Another server on that display would leave this one ended.
kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb could not start on $display" >&2; exit 1; }

XDG_RUNTIME_DIR=$runtime DISPLAY=$display weston --backend=x11-backend.so --use-pixman \
  --shell=kiosk-shell.so --width=1024 --height=768 --socket=krgfx-test --idle-time=0 \
  >"$runtime/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do [ -S "$runtime/krgfx-test" ] && break; sleep 0.1; done
[ -S "$runtime/krgfx-test" ] || { cat "$runtime/weston.log"; exit 1; }

# The suites that read back a window and inject input; their X11-only cases
# (window properties, 16-bit X screens, X errors) stay on the X11 stages.
filter='DriversAndScreens/X11Window.AnEightHundred*On24Bits'
filter+=':DriversAndScreens/X11Window.AnEightBit*On24Bits'
filter+=':DriversAndScreens/DrawOnWindow.Shapes*_24:DriversAndScreens/DrawOnWindow.APalette*_24'
filter+=':RealInputTest.*:Builds/GameWindowTest.PlaysThroughEveryState/Linux'
XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=krgfx-test KRGFX_TEST_COMPOSITOR=weston \
  DISPLAY=$display KRGFX_TEST_DISPLAY=$display KRGFX_WINDOW_SYSTEM=wayland \
  "$build/tests/krgfx_x11_tests" --gtest_filter="$filter"
