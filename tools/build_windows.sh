#!/usr/bin/env bash
# Cross-builds the runtime, game.exe and the test programs for Windows with
# mingw-w64 (GoogleTest is compiled from /usr/src/googletest by the same
# compiler, once per build folder).
#   tools/build_windows.sh [x86_64|i686] [build folder] [extra CMake options...]
# The default is the 64-bit build in build-windows-x86_64.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=${1:-x86_64}
case "$arch" in
  x86_64 | i686) ;;
  *) echo "usage: $0 [x86_64|i686] [build folder] [CMake options...]" >&2; exit 2 ;;
esac
dir=${2:-build-windows-$arch}
shift $(($# > 2 ? 2 : $#))
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-w64-$arch.cmake" \
  -DKRGFX_BENCH=OFF "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir" -j"${KRGFX_JOBS:-$(nproc)}"
echo "built $dir/game.exe"
