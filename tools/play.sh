#!/usr/bin/env bash
# Builds the game and runs it from assets/ (its sprite index and images).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j"$(nproc)" --target game
cd assets && exec ../build/game
