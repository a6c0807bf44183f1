#!/usr/bin/env bash
# The replug test (tests/replug_test.cpp) over as many cycles as wanted (default 50).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/test --target sondrel_tests
SONDREL_REPLUG_CYCLES="${1:-50}" build/test/tests/sondrel_tests --gtest_filter='Replug.*'
