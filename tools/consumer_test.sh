#!/usr/bin/env bash
# Builds the text reader example as an outside program against krgfx and runs
# each build on examples/planets.txt without a display, where the reader
# prints to standard output:
#   tools/consumer_test.sh [build folder]      (default: build) installs that
#       build into a temporary prefix, checks that each public header compiles
#       on its own without a warning under strict flags (GCC and clang), uses
#       the library through find_package and through pkg-config, then embeds
#       the source tree with add_subdirectory (which must not turn the
#       project's warnings into errors);
#   tools/consumer_test.sh --installed PREFIX  uses files already installed
#       there (the .deb puts them in /usr) through find_package and pkg-config;
#   tools/consumer_test.sh --zip ZIP           links the reader for 64-bit
#       Windows (mingw-w64) against the library in the Windows .zip, through
#       find_package and through pkg-config.
# Prints "-- ok: ..." for each check that passed.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The Windows package: a cross build links; running is the Windows stage's.
windows_zip() {
  local root flags=()
  unzip -q "$1" -d "$work/zip"
  root=$(echo "$work"/zip/krgfx-*)
  cmake -S examples -B "$work/zip-cmake" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake" \
    -Dkrgfx_DIR="$root/lib/cmake/krgfx" >/dev/null
  cmake --build "$work/zip-cmake" --target text_reader >/dev/null
  echo "-- ok: a Windows reader linked against the .zip through find_package"
  read -r -a flags <<<"$(PKG_CONFIG_PATH=$root/lib/pkgconfig pkg-config --cflags --libs krgfx)"
  x86_64-w64-mingw32-g++-posix -std=c++20 -o "$work/zip-reader.exe" examples/text_reader.cpp \
    "${flags[@]}"
  echo "-- ok: a Windows reader linked against the .zip through pkg-config"
}

if [ "${1:-}" = "--zip" ]; then
  windows_zip "${2:?usage: $0 --zip ZIP}"
  exit 0
elif [ "${1:-}" = "--installed" ]; then
  prefix=${2:?usage: $0 --installed PREFIX}
  embed=0
else
  prefix=$work/prefix
  cmake --install "${1:-build}" --prefix "$prefix" >/dev/null
  embed=1
fi

# Runs one build of the reader without a display, so that it prints to
# standard output, and checks what it printed and that the link kept the
# start-up object.
run_reader() {
  local program=$1 how=$2 output
  output=$(cd examples && env -u DISPLAY "$program" planets.txt </dev/null)
  if ! grep -q "5 records" <<<"$output" || ! grep -q "Jupiter, the largest" <<<"$output"; then
    printf 'unexpected output of %s:\n%s\n' "$program" "$output" >&2
    return 1
  fi
  # (grep reads the whole list: a grep -q that stops early would fail nm's
  # write, and with it the pipeline.)
  if ! nm "$program" | grep krgfxRuntimeAnchor >/dev/null; then
    echo "$program lacks the runtime's start-up object" >&2
    return 1
  fi
  echo "-- ok: the reader built $how"
}

# Each public header on its own, as a program that asks for many warnings
# includes it. (Only from the temporary prefix: the compilers say nothing
# about headers found in /usr/include.)
strict_flags=(-std=c++20 -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Werror)
check_headers() {
  local compiler header
  for compiler in g++ clang++; do
    command -v "$compiler" >/dev/null || continue
    for header in "$prefix"/include/krgfx/*.h; do
      if ! printf '#include <krgfx/%s>\nint main() { return 0; }\n' "${header##*/}" |
        "$compiler" -x c++ "${strict_flags[@]}" -I"$prefix/include" -fsyntax-only -; then
        echo "<krgfx/${header##*/}> gives warnings under $compiler ${strict_flags[*]}" >&2
        return 1
      fi
    done
    echo "-- ok: the public headers compile without a warning under $compiler ${strict_flags[*]}"
  done
}
if [ "$embed" = 1 ]; then check_headers; fi

cmake -S examples -B "$work/cmake-build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cmake-build" --target text_reader >/dev/null
run_reader "$work/cmake-build/text_reader" "through find_package"

export PKG_CONFIG_PATH=$prefix/lib/pkgconfig${PKG_CONFIG_PATH:+:$PKG_CONFIG_PATH}
read -r -a flags <<<"$(pkg-config --cflags --libs krgfx)"
mkdir -p "$work/pc-build"
c++ -std=c++20 -o "$work/pc-build/text_reader" examples/text_reader.cpp "${flags[@]}"
run_reader "$work/pc-build/text_reader" "through pkg-config"

# A project that builds krgfx as a part of itself, in its own build type.
if [ "$embed" = 1 ]; then
  mkdir -p "$work/embed"
  cat >"$work/embed/CMakeLists.txt" <<EOF
cmake_minimum_required(VERSION 3.20)
project(embeds_krgfx LANGUAGES CXX)
add_subdirectory("$source_dir" krgfx)
add_executable(reader "$source_dir/examples/text_reader.cpp")
target_link_libraries(reader PRIVATE krgfx::krgfx)
EOF
  cmake -S "$work/embed" -B "$work/embed/build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  if ninja -C "$work/embed/build" -t commands reader | grep -q -- '-Werror'; then
    echo "the embedded build treats warnings as errors" >&2
    exit 1
  fi
  if [ -e "$work/embed/build/krgfx/tests" ]; then
    echo "the embedded build configured krgfx's tests" >&2
    exit 1
  fi
  cmake --build "$work/embed/build" --target reader >/dev/null
  run_reader "$work/embed/build/reader" "with krgfx embedded by add_subdirectory"
fi
echo "-- consumer test passed"
