#!/usr/bin/env bash
# The instrument and the echosounder pulled and put back at the same device paths, over and
# over (default 50 cycles): reading and sending must resume every time, retries come no faster
# than once a second, and the window must not spin while the devices are gone.
set -euo pipefail
cd "$(dirname "$0")/.."
cycles="${1:-50}"
bash tools/deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/test --target sondrel_tests
SONDREL_REPLUG_CYCLES="$cycles" QT_QPA_PLATFORM=offscreen \
    build/test/tests/sondrel_tests --gtest_filter='Replug.*'
