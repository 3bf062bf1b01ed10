#!/usr/bin/env bash
# Builds and runs every test: a normal build, Release with GCC and the default
# build with clang (all with warnings as errors), configuring without
# GoogleTest and Google Benchmark, an outside program built against the
# installed and the embedded library, the .deb installed on this machine and
# the Windows .zip, the Windows cross builds with their tests under Wine, the
# same under AddressSanitizer and UndefinedBehaviorSanitizer, the threaded
# tests under ThreadSanitizer, and a short run of each fuzz target. Ends with
# a table of the stages: their test counts and wall times. Exits non-zero on
# any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_deps.sh
# The X11 stages test X11: a desktop's Wayland session must not take them.
unset WAYLAND_DISPLAY WAYLAND_SOCKET KRGFX_WINDOW_SYSTEM
jobs=$(nproc)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# A real X server for the window tests: screen 0 is 800x600 at 24 bits (a
# full-screen mode of the game's size exists), screen 1 is 16-bit. It does not
# reset when its last client leaves, so the next test can connect at once.
xvfb_pid=""
if [ -z "${KRGFX_TEST_DISPLAY:-}" ]; then
  display=:77
  Xvfb $display -screen 0 800x600x24 -screen 1 800x600x16 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do xdpyinfo -display $display >/dev/null 2>&1 && break; sleep 0.1; done
  export KRGFX_TEST_DISPLAY=$display
fi
export DISPLAY=$KRGFX_TEST_DISPLAY

# A HiDPI desktop for the window, input and game tests: screen 0 is 1920x1200
# at Xft.dpi 192 (windows at scale 2), screen 1 a 1920x1080 panel without an
# 800x600 mode (windows shrink to scale 1, full screen keeps the desktop's
# mode). The Windows stage plays the game there too.
hidpi=:78
Xvfb $hidpi -screen 0 1920x1200x24 -screen 1 1920x1080x16 -nolisten tcp -noreset >/dev/null 2>&1 &
hidpi_pid=$!
for _ in $(seq 50); do xdpyinfo -display $hidpi >/dev/null 2>&1 && break; sleep 0.1; done
echo "Xft.dpi: 192" | xrdb -display $hidpi -merge
export KRGFX_TEST_HIDPI_DISPLAY=$hidpi

# Each stage's output also goes to a log, from which its test count comes.
logs=build-logs
rm -rf "$logs"
mkdir -p "$logs"
summary=()
stage_name=""
stage_start=0

# Tests in a log: ctest's "... out of N", GoogleTest's passed and skipped
# counts, the consumer test's checks and libFuzzer's finished targets.
count_tests() {
  awk '/tests? failed out of [0-9]+/ { n += $NF }
       /^\[  (PASSED  |SKIPPED )\] [0-9]+ tests?/ { n += $4 }
       /^-- ok: / { n += 1 }
       /^Done [0-9]+ runs in/ { n += 1 }
       END { print n + 0 }' "$1"
}

# stage NAME COMMAND...: runs one stage and notes its count and time.
stage() {
  stage_name=$1
  shift
  stage_start=$SECONDS
  echo "== $stage_name"
  "$@" 2>&1 | tee "$logs/stage.log"
  summary+=("$stage_name|$(count_tests "$logs/stage.log")|$((SECONDS - stage_start))")
  mv "$logs/stage.log" "$logs/$((${#summary[@]})).log"
}

print_summary() {
  local row name count seconds total=0 tests=0
  echo
  printf '%-52s %7s %10s\n' stage tests time
  for row in "${summary[@]}"; do
    IFS='|' read -r name count seconds <<<"$row"
    printf '%-52s %7s %6dm%02ds\n' "$name" "$count" $((seconds / 60)) $((seconds % 60))
    total=$((total + seconds))
    tests=$((tests + count))
  done
  printf '%-52s %7s %6dm%02ds\n' total "$tests" $((total / 60)) $((total % 60))
}

finish() {
  local status=$?
  kill "$hidpi_pid" ${xvfb_pid:+"$xvfb_pid"} 2>/dev/null || true
  if [ $status -ne 0 ] && [ -n "$stage_name" ]; then
    summary+=("$stage_name (FAILED)|$(count_tests "$logs/stage.log" 2>/dev/null || echo 0)|$((SECONDS - stage_start))")
  fi
  [ ${#summary[@]} -gt 0 ] && print_summary
  return $status
}
trap finish EXIT

build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DKRGFX_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
}

# The tests without a display: the logic and the threaded ones.
unit_and_thread_tests() {
  (cd "$1" && ctest --output-on-failure -j"$jobs" -L '^(unit|threaded)$')
}

normal_build() {
  build build
  (cd build && ctest --output-on-failure -j"$jobs")
  # A parameterised suite without a name generator shows up as ".../0".
  if (cd build && ctest -N) | grep -E '/[0-9]+$'; then
    echo "the parameterised tests above need a name generator" >&2
    return 1
  fi
}

# The game plays at KRGFX_SCALE=2 there.
hidpi_tests() {
  (cd build && DISPLAY=$hidpi KRGFX_TEST_DISPLAY=$hidpi ctest --output-on-failure \
    -R 'X11Window|X11FullScreen|X11DesktopFullScreen|RealInputTest')
  (cd build && DISPLAY=$hidpi KRGFX_TEST_DISPLAY=$hidpi KRGFX_SCALE=2 ctest --output-on-failure \
    -R 'GameWindowTest.*Linux')
}

release_build_gcc() {
  build build-release -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++
  unit_and_thread_tests build-release
}

clang_build() {
  build build-clang -DCMAKE_CXX_COMPILER=clang++
  unit_and_thread_tests build-clang
}

# A machine without the test libraries still configures, leaving them out.
configure_without_test_libraries() {
  local output
  output=$(cmake -S . -B build-no-test-libraries -G Ninja -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
    -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON)
  grep -q "tests left out" <<<"$output"
  grep -q "benchmarks left out" <<<"$output"
  echo "-- ok: configured without GoogleTest and Google Benchmark"
}

# What the .deb put below /usr, used as an outside program would.
check_installed_deb() {
  local file
  for file in /usr/bin/krgfx-game /usr/share/krgfx/assets/2.spr /usr/include/krgfx \
    /usr/libexec/krgfx/game /usr/libexec/krgfx/examples/text_reader; do
    [ -e "$file" ] || { echo "the package lacks $file" >&2; return 1; }
  done
  echo "-- ok: the .deb installed the game, its assets, the examples and the headers"
  tools/consumer_test.sh --installed /usr
}

# The .zip unpacks to one folder with these files.
check_zip() {
  local listing file
  listing=$(unzip -l "$1")
  for file in game/game.exe game/2.spr examples/text_reader.exe lib/libkrgfx.a include/krgfx/; do
    grep -q "/$file" <<<"$listing" || { echo "the .zip lacks $file" >&2; return 1; }
  done
  echo "-- ok: the .zip holds game.exe with its assets, the examples, the library and headers"
  tools/consumer_test.sh --zip "$1"
}

# The .deb is installed with apt on this machine and removed again.
packages() {
  tools/package.sh deb zip
  local status=0
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    "./$(echo build-package-linux/packages/krgfx_*.deb)" >/dev/null
  check_installed_deb || status=$?
  $sudo apt-get remove -y -qq krgfx >/dev/null
  [ $status -eq 0 ] || return $status
  check_zip build-package-windows/packages/krgfx-*-win64.zip
}

asan_build() {
  export ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=1:abort_on_error=0
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  build build-asan -DKRGFX_SANITIZE=address,undefined -DKRGFX_BENCH=OFF
  (cd build-asan && ctest --output-on-failure -j"$jobs")
}

tsan_build() {
  export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tools/tsan.supp
  build build-tsan -DKRGFX_SANITIZE=thread -DKRGFX_BENCH=OFF
  (cd build-tsan && ctest --output-on-failure -j"$jobs" -L threaded --no-tests=ignore)
}

fuzz_runs() {
  build build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DKRGFX_FUZZ=ON -DKRGFX_SANITIZE=address,undefined \
    -DKRGFX_BENCH=OFF -DKRGFX_TESTS=OFF
  local target name seeds corpora
  for target in build-fuzz/fuzz/*_fuzz; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    seeds=fuzz/seeds/$name
    mkdir -p "build-fuzz/corpus/$name"
    corpora=("build-fuzz/corpus/$name")
    [ -d "$seeds" ] && corpora+=("$seeds")
    "$target" -runs=20000 -max_total_time=60 "${corpora[@]}"
  done
}

stage "normal build (GCC, RelWithDebInfo)" normal_build
stage "window, input and game tests on a HiDPI desktop" hidpi_tests
stage "window and input tests on Wayland (weston)" tools/wayland_tests.sh build
stage "Release build (GCC)" release_build_gcc
stage "default build (clang)" clang_build
stage "configure without GoogleTest and Google Benchmark" configure_without_test_libraries
stage "installed and embedded library used by an outside program" tools/consumer_test.sh build
stage "packages: .deb installed with apt, Windows .zip" packages
stage "Windows build under Wine" tools/test_windows.sh
stage "AddressSanitizer + UndefinedBehaviorSanitizer" asan_build
stage "ThreadSanitizer (threaded tests)" tsan_build
stage "fuzz targets (short runs over their seeds)" fuzz_runs
stage "web: Emscripten build, unit tests under node, game in Chromium" tools/test_web.sh
stage_name=""
echo "== all tests passed"
