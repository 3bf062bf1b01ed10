#!/usr/bin/env bash
# Installs what building, testing and running need on Debian 12, when missing.
set -euo pipefail
packages=(cmake ninja-build g++ clang libclang-rt-dev pkg-config python3
          libgtest-dev libgmock-dev libbenchmark-dev
          libstb-dev libx11-dev libxext-dev libxrandr-dev libxtst-dev libxfixes-dev libsdl2-dev
          libwayland-dev wayland-protocols libxkbcommon-dev libdecor-0-dev weston
          python3-pil xvfb x11-utils x11-xserver-utils clang-format shellcheck dpkg-dev unzip
          g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest wine wine64)
# The Windows builds: the -posix mingw-w64 compilers (std::thread), GoogleTest's
# sources to cross-compile, and 64-bit Wine to run the tests (the 32-bit build
# is only compiled, so no i386 architecture is needed). dpkg-dev finds the
# .deb's library dependencies; unzip lists the Windows .zip.
# The web build and its test: Emscripten, node, and Chromium driven headless;
# their recommendations (a desktop's worth) are not needed.
web_packages=(emscripten nodejs chromium)
missing_of() {
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      echo "$package"
  done
}
mapfile -t missing < <(missing_of "${packages[@]}")
mapfile -t missing_web < <(missing_of "${web_packages[@]}")
[ ${#missing[@]} -eq 0 ] && [ ${#missing_web[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]} ${missing_web[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
if [ ${#missing[@]} -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
if [ ${#missing_web[@]} -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    "${missing_web[@]}" >/dev/null
fi
