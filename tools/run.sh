#!/usr/bin/env bash
# Sets up, builds in Release and starts Sondrel Converter.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=tools/lib.sh
source tools/lib.sh
bash tools/deps.sh
build_release "$release_build"
exec "$release_build"/app/sondrel "$@"
