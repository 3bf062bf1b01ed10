#!/usr/bin/env bash
# The window and game tests under Wine: Linux-side X11 tests start the cross
# build's window_probe.exe and game.exe with wine on the test X server, read
# their windows back with XGetImage and inject keys and the pointer with XTest.
#
# Usage: tools/wine_window_tests.sh CROSS_BUILD WINEPREFIX [LINUX_BUILD]
#   CROSS_BUILD  the mingw-w64 build folder (game.exe, tests/window_probe.exe)
#   WINEPREFIX   the Wine prefix, already made (wineboot -i)
#   LINUX_BUILD  the Linux build folder with tests/krgfx_x11_tests (default: the
#                project's build)
# The X server is $KRGFX_TEST_DISPLAY, else $DISPLAY.
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 CROSS_BUILD WINEPREFIX [LINUX_BUILD]" >&2; exit 2; }
cross=$(realpath "$1")
prefix=$(realpath "$2")
cd "$(dirname "$0")/.."
linux=$(realpath "${3:-build}")
tests=$linux/tests/krgfx_x11_tests
for needed in "$cross/game.exe" "$cross/tests/window_probe.exe" "$tests"; do
  [ -e "$needed" ] || { echo "$0: $needed is missing" >&2; exit 1; }
done
export WINEPREFIX=$prefix WINEDEBUG=-all
export DISPLAY=${KRGFX_TEST_DISPLAY:-${DISPLAY:?no X display}}

# One wineserver for every program of this stage (one that already runs for
# the prefix serves as well).
wineserver -p 2>/dev/null || true
trap 'wineserver -k 2>/dev/null || true' EXIT
# DirectDraw on Xvfb: wined3d's GDI renderer works and starts faster than
# OpenGL through Mesa (both work).
wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /t REG_SZ /d gdi /f >/dev/null 2>&1

KRGFX_WINE_BUILD=$cross "$tests" --gtest_filter='*Wine*' 2> >(grep -v -e 'wine32' -e 'multiarch' \
  -e 'dpkg --add-architecture' -e 'apt-get install wine32' >&2)

# At a DPI of 192 (Wine's LogPixels) the probe's windows come at scale 2;
# the setting goes back to 96 afterwards.
# (Each Wine program reads the setting when it starts.)
setDpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}
setDpi 192
KRGFX_TEST_WINE_SCALE=2 KRGFX_WINE_BUILD=$cross "$tests" \
  --gtest_filter='*WineWindow.*:*WineWindowInput.*' 2> >(grep -v -e 'wine32' -e 'multiarch' \
  -e 'dpkg --add-architecture' -e 'apt-get install wine32' >&2)
setDpi 96

# The game at scale 2 on a HiDPI test server, when one is named: its
# 1600x1200 window does not fit the ordinary test screen.
# Wine's desktop belongs to the display its server started on: a new server
# for that display.
if [ -n "${KRGFX_TEST_HIDPI_DISPLAY:-}" ]; then
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  export DISPLAY=$KRGFX_TEST_HIDPI_DISPLAY
  wineserver -p 2>/dev/null || true
  KRGFX_SCALE=2 KRGFX_WINE_BUILD=$cross "$tests" \
    --gtest_filter='*GameWindowTest*Wine*' 2> >(grep -v -e 'wine32' -e 'multiarch' \
    -e 'dpkg --add-architecture' -e 'apt-get install wine32' >&2)
fi
