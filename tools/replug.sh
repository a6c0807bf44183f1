#!/usr/bin/env bash
# The replug test (tests/replug_test.cpp) over as many cycles as wanted (default 50).
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=tools/lib.sh
source tools/lib.sh
bash tools/deps.sh
build_test --target sondrel_tests
SONDREL_REPLUG_CYCLES="${1:-50}" "$test_build"/tests/sondrel_tests --gtest_filter='Replug.*'
