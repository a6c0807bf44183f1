#!/usr/bin/env bash
# The Windows x64 port, built and tested on Debian 12 (run as root): installs what is missing,
# takes Qt 6.4.2 for Windows from ../shared/windows/qt-6.4.2-mingw64.tar.xz (or builds it once
# with tools/build-qt-mingw.sh; either way it is kept in build/cache), cross-compiles the
# programs, their tests and build/windows/sondrel-<version>-win64-setup.exe with MinGW-w64 and
# NSIS in build/windows, runs the tests through ctest under Wine in a fresh Wine prefix, then
# installs, runs and uninstalls the setup program in another and saves docs/windows.png.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=tools/lib.sh
source tools/lib.sh
root=$PWD
bash tools/deps.sh g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev googletest wine wine64 \
    fonts-wine nsis socat imagemagick xz-utils

cache=build/cache
qt=$cache/qt-6.4.2-mingw64
if [[ ! -d $qt ]]; then
    archive=../shared/windows/qt-6.4.2-mingw64.tar.xz
    mkdir -p "$cache"
    if [[ -f $archive ]]; then
        rm -rf "$qt.unpacking"
        mkdir "$qt.unpacking"
        tar -xJf "$archive" -C "$qt.unpacking"
        mv "$qt.unpacking/qt-6.4.2-mingw64" "$qt"
        rm -rf "$qt.unpacking"
    else
        bash tools/build-qt-mingw.sh "$root/$qt"
    fi
fi

# GoogleTest for Windows, from the sources Debian ships with its own.
gtest=$cache/googletest-mingw64
if [[ ! -d $gtest ]]; then
    cmake -S /usr/src/googletest -B "$cache/googletest-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw64.cmake" -DCMAKE_INSTALL_PREFIX="$root/$gtest.part"
    cmake --build "$cache/googletest-build"
    cmake --install "$cache/googletest-build"
    mv "$gtest.part" "$gtest"
fi

dir=build/windows
configure_and_build "$dir" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/cmake/mingw64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_FIND_ROOT_PATH="$root/$gtest" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$root/tools/wine.sh"

# A Wine server kept running, with Wine's services started outside ctest, spares each test
# Wine's start. The tests run one after another: the COM ports' check restarts the server.
export WINEPREFIX=$root/$dir/wine
rm -rf "$WINEPREFIX"
bash tools/wine.sh wineboot -i >/dev/null 2>&1
bash tools/wine.sh wineserver -w
bash tools/wine.sh wineserver -p
trap 'bash tools/wine.sh wineserver -k 2>/dev/null || true' EXIT
bash tools/wine.sh wineboot >/dev/null 2>&1
ctest --test-dir "$dir" --output-on-failure

# The installed sondrel-calc.exe is compared with the Linux build's.
build_test --quiet --target sondrel-calc
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$dir/CMakeCache.txt")
bash tests/windows_setup_test.sh "$dir/sondrel-$version-win64-setup.exe" \
    "$test_build"/tools/sondrel-calc/sondrel-calc docs/windows.png
echo "made $dir/sondrel-$version-win64-setup.exe"
