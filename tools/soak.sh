#!/usr/bin/env bash
# The soak (tests/soak/soak.cpp) for as long as wanted: the argument is the length in seconds
# (default 600). Prints what was read, rejected, sent, logged and the memory held.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=tools/lib.sh
source tools/lib.sh
bash tools/deps.sh
build_test --target sondrel_soak sondrel-sim
"$test_build"/tests/soak/sondrel_soak --seconds "${1:-600}"
