#!/usr/bin/env bash
# The Windows stage of the tests: cross-builds the runtime, tests and game.exe
# for 64-bit Windows and the runtime and game for 32-bit Windows, runs the
# unit and thread test programs under Wine, then the window and game tests
# under Wine on the test X server (they need the Linux build in build/).
# One Wine prefix, made fresh in the build folder, and one persistent
# wineserver serve the whole stage. Each test program runs once with all its
# tests in one process (a process per test costs about 0.45 s under Wine);
# the console tests need a console of their own, which a pseudo-terminal from
# script(1) gives them.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS

tools/build_windows.sh x86_64 build-windows-x86_64 -DKRGFX_WERROR=ON
tools/build_windows.sh i686 build-windows-i686 -DKRGFX_TESTS=OFF -DKRGFX_WERROR=ON

export WINEDEBUG=-all
if [ -n "${KRGFX_WINE_PREFIX:-}" ]; then
  export WINEPREFIX=$KRGFX_WINE_PREFIX  # a prefix kept between runs
  [ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
else
  export WINEPREFIX=$PWD/build-windows-x86_64/wine-prefix
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
fi
# wineboot's own server may still be up; it serves as well.
wineserver -p 2>/dev/null || true
trap 'wineserver -k 2>/dev/null || true' EXIT

tests=build-windows-x86_64/tests
console_tests='ConsoleWindowTest.*'
wine "$tests/krgfx_tests.exe" --gtest_filter="-$console_tests" --gtest_brief=1
wine "$tests/krgfx_thread_tests.exe" --gtest_brief=1
# script passes on the program's exit status with -e; its own output is the
# test program's, so it goes to a log that is shown on failure.
log=build-windows-x86_64/console_tests.log
if ! script -qec "wine $tests/krgfx_tests.exe --gtest_filter=$console_tests" /dev/null >"$log" 2>&1
then
  cat "$log"
  exit 1
fi
grep -a 'PASSED\|SKIPPED' "$log" | tr -d '\r' || true

# Real Win32 windows on the test X server: the probe program and the game.
tools/wine_window_tests.sh build-windows-x86_64 "$WINEPREFIX" build
echo "Windows stage took $((SECONDS - start)) s"
