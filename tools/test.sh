#!/usr/bin/env bash
# Sets up, builds and runs every test headless. With --sanitize the build uses
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=tools/lib.sh
source tools/lib.sh
bash tools/deps.sh
dir=$test_build
if [[ "${1:-}" == --sanitize ]]; then
    dir=build/sanitize
    export LSAN_OPTIONS="suppressions=$PWD/tools/leak_suppressions.txt print_suppressions=0"
    configure_and_build "$dir" -DCMAKE_BUILD_TYPE=Debug -DSONDREL_SANITIZE=ON
else
    build_test --target all
fi
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j2
