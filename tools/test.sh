#!/usr/bin/env bash
# Builds and runs every test: a normal build, an outside program built against
# the installed library, the Windows cross builds with the unit and thread
# tests under Wine, the same under AddressSanitizer and UndefinedBehaviorSanitizer,
# the threaded tests under ThreadSanitizer, and a short run of each fuzz
# target. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_deps.sh
jobs=$(nproc)

# A real X server for the window tests: screen 0 is 800x600 at 24 bits (a
# full-screen mode of the game's size exists), screen 1 is 16-bit. It does not
# reset when its last client leaves, so the next test can connect at once.
if [ -z "${KRGFX_TEST_DISPLAY:-}" ]; then
  display=:77
  Xvfb $display -screen 0 800x600x24 -screen 1 800x600x16 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  for _ in $(seq 50); do xdpyinfo -display $display >/dev/null 2>&1 && break; sleep 0.1; done
  export KRGFX_TEST_DISPLAY=$display
fi
export DISPLAY=$KRGFX_TEST_DISPLAY

build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
}

echo "== normal build"
build build
(cd build && ctest --output-on-failure -j"$jobs")

echo "== window, input and game tests on a HiDPI desktop"
# Screen 0 is 1920x1200 at Xft.dpi 192 (windows at scale 2), screen 1 a
# 1920x1080 panel without an 800x600 mode (windows shrink to scale 1, full
# screen keeps the desktop's mode). The game plays at KRGFX_SCALE=2.
hidpi=:78
Xvfb $hidpi -screen 0 1920x1200x24 -screen 1 1920x1080x16 -nolisten tcp -noreset >/dev/null 2>&1 &
hidpi_pid=$!
trap 'kill ${xvfb_pid:-} $hidpi_pid 2>/dev/null || true' EXIT
for _ in $(seq 50); do xdpyinfo -display $hidpi >/dev/null 2>&1 && break; sleep 0.1; done
echo "Xft.dpi: 192" | xrdb -display $hidpi -merge
(cd build && DISPLAY=$hidpi KRGFX_TEST_DISPLAY=$hidpi ctest --output-on-failure \
  -R 'X11Window|X11FullScreen|X11DesktopFullScreen|RealInputTest')
(cd build && DISPLAY=$hidpi KRGFX_TEST_DISPLAY=$hidpi KRGFX_SCALE=2 ctest --output-on-failure \
  -R 'GameWindowTest.*Linux')
export KRGFX_TEST_HIDPI_DISPLAY=$hidpi  # the Windows stage plays the game there too

echo "== installed library used by an outside program"
tools/consumer_test.sh build

echo "== Windows build under Wine"
tools/test_windows.sh

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
export ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
build build-asan -DKRGFX_SANITIZE=address,undefined -DKRGFX_BENCH=OFF
(cd build-asan && ctest --output-on-failure -j"$jobs")

echo "== ThreadSanitizer (threaded tests)"
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tools/tsan.supp
build build-tsan -DKRGFX_SANITIZE=thread -DKRGFX_BENCH=OFF
(cd build-tsan && ctest --output-on-failure -j"$jobs" -L threaded --no-tests=ignore)

echo "== fuzz targets (short runs over their seeds)"
build build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DKRGFX_FUZZ=ON -DKRGFX_SANITIZE=address,undefined \
  -DKRGFX_BENCH=OFF -DKRGFX_TESTS=OFF
for target in build-fuzz/fuzz/*_fuzz; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  seeds=fuzz/seeds/$name
  mkdir -p "build-fuzz/corpus/$name"
  corpora=("build-fuzz/corpus/$name")
  [ -d "$seeds" ] && corpora+=("$seeds")
  "$target" -runs=20000 -max_total_time=60 "${corpora[@]}"
done
echo "== all tests passed"
