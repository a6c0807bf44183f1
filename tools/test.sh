#!/usr/bin/env bash
# Sets up, builds and runs every test headless. With --sanitize the build uses
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
dir=build/test
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [[ "${1:-}" == --sanitize ]]; then
    dir=build/sanitize
    flags=(-DCMAKE_BUILD_TYPE=Debug -DSONDREL_SANITIZE=ON)
    export LSAN_OPTIONS="suppressions=$PWD/tools/leak_suppressions.txt print_suppressions=0"
fi
cmake -S . -B "$dir" -G Ninja "${flags[@]}"
cmake --build "$dir"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j2
