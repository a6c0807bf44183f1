#!/usr/bin/env bash
# The soak: the window, offscreen with real serial ports, reading a simulated instrument that
# floods a 115200-baud line with records, garbage, binary noise and over-long records, while it
# logs every 0.1 s and sends a telegram every 100 ms to a simulated echosounder. Prints what was
# read, rejected, sent and logged and the memory held; fails when a record, log line or telegram
# was lost or memory kept growing. The argument is the length in seconds (default 600).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
bash tools/deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/test --target sondrel_soak sondrel-sim
QT_QPA_PLATFORM=offscreen build/test/tests/soak/sondrel_soak --seconds "$seconds"
