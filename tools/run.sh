#!/usr/bin/env bash
# Sets up, builds in Release and starts Sondrel Converter.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DSONDREL_TESTS=OFF
cmake --build build/release
exec build/release/app/sondrel "$@"
