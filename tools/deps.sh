#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need, and any further
# packages named as arguments (tools/fuzz.sh adds clang). Run as root.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config
          qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-charts-dev libqt6opengl6-dev
          qt6-qpa-plugins
          libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool dpkg-dev desktop-file-utils
          lintian man-db fuse3 python3-fusepy
          "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
