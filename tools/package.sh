#!/usr/bin/env bash
# Makes the release packages with CPack: a .deb for Linux (library, headers,
# CMake package, pkg-config file, the game with its assets, the examples) and
# a .zip for 64-bit Windows (game.exe with its assets, the examples, the static
# library and headers), each from a Release build without tests or benchmarks.
#   tools/package.sh [deb] [zip]   (both when none is named)
# The packages land in build-package-linux/packages/ and
# build-package-windows/packages/; their paths are printed last.
set -euo pipefail
cd "$(dirname "$0")/.."
kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || kinds=(deb zip)

jobs=${KRGFX_JOBS:-$(nproc)}
release_options=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DKRGFX_TESTS=OFF -DKRGFX_BENCH=OFF
  -DKRGFX_EXAMPLES=ON -DKRGFX_GAME=ON -DKRGFX_INSTALL=ON)

# package DIR [CMake options...]: configures, builds and packs one folder.
package() {
  local dir=$1
  shift
  rm -rf "$dir/packages"
  cmake -S . -B "$dir" "${release_options[@]}" "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  (cd "$dir" && cpack >/dev/null)
}

made=()
for kind in "${kinds[@]}"; do
  case $kind in
    deb)
      package build-package-linux
      made+=(build-package-linux/packages/*.deb)
      ;;
    zip)
      package build-package-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
      made+=(build-package-windows/packages/*.zip)
      ;;
    *) echo "usage: $0 [deb] [zip]" >&2; exit 2 ;;
  esac
done
printf '%s\n' "${made[@]}"
