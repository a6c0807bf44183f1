#!/usr/bin/env bash
# The soak (tests/soak/soak.cpp) for as long as wanted: the argument is the length in seconds
# (default 600). Prints what was read, rejected, sent, logged and the memory held.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/test --target sondrel_soak sondrel-sim
build/test/tests/soak/sondrel_soak --seconds "${1:-600}"
