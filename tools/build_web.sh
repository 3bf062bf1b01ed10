#!/usr/bin/env bash
# Builds the runtime, the game and the examples for web browsers with
# Emscripten: build-web/game.html with its .js, .wasm and .data (the game's
# assets preloaded), an .html page per example, and with KRGFX_TESTS=ON the
# unit tests that run under node.
#   tools/build_web.sh [build folder] [extra CMake options...]
# KRGFX_WEB_TARGETS names the targets to build (default: all).
# Serve the folder with tools/serve_web.py (pages need its COOP/COEP headers).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-web}
shift $(($# > 1 ? 1 : $#))
# Debian's em++ finds its JavaScript optimiser's modules there.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
emcmake cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKRGFX_BENCH=OFF \
  -DKRGFX_INSTALL=OFF -DKRGFX_GAME=ON -DKRGFX_TESTS=OFF "$@" >/dev/null
read -ra targets <<<"${KRGFX_WEB_TARGETS:-all}"
cmake --build "$dir" -j"${KRGFX_JOBS:-$(nproc)}" --target "${targets[@]}"
echo "built $dir/game.html (serve with: tools/serve_web.py $dir)"
