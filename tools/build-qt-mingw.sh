#!/usr/bin/env bash
# Builds Qt 6.4.2 for 64-bit Windows into PREFIX, for tools/windows.sh when no ready-built Qt is
# at hand (about an hour on two cores): qtbase from Debian's source package qt6-base, qtserialport
# and qtcharts from their v6.4.2 source archives, taken from ../shared/windows/src/ when there
# and otherwise from the Qt project's download site. Core, Gui, Widgets, Network, Test, the
# windows and offscreen platform plugins, SerialPort and Charts; no OpenGL, SQL or print support.
# The host tools (moc, uic, rcc) are Debian's Qt 6.4.2. The folder can be moved afterwards.
#   bash tools/build-qt-mingw.sh PREFIX [WORKDIR]   (as root)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=${1:?usage: build-qt-mingw.sh PREFIX [WORKDIR]}
work=${2:-$root/build/cache/qt-build}
sources=$root/../shared/windows/src
download=https://download.qt.io/archive/qt/6.4/6.4.2/submodules
toolchain=$root/cmake/mingw64.cmake
bash "$root/tools/deps.sh" g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev perl xz-utils wget \
    qt6-tools-dev-tools

mkdir -p "$work"
cd "$work"
# qtbase: Debian's own source package, fetched with a list of sources of our own so that the
# system's lists stay as they are.
if [[ ! -d qtbase-src ]]; then
    mkdir -p apt/lists/partial apt/cache/archives/partial apt/sources
    cat >apt/sources/src.sources <<SOURCES
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    apt=(-o Dir::Etc::sourcelist=/dev/null -o "Dir::Etc::sourceparts=$work/apt/sources"
         -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache")
    apt-get "${apt[@]}" update -qq
    (cd apt && apt-get "${apt[@]}" source --download-only qt6-base=6.4.2+dfsg-10)
    mkdir qtbase-src.part
    tar -xJf apt/qt6-base_6.4.2+dfsg.orig.tar.xz -C qtbase-src.part --strip-components=1
    mv qtbase-src.part qtbase-src
fi
for module in qtserialport qtcharts; do
    archive=$module-everywhere-src-6.4.2.tar.xz
    if [[ ! -d $module-src ]]; then
        if [[ -f $sources/$archive ]]; then
            cp "$sources/$archive" .
        elif [[ ! -f $archive ]]; then
            wget -q "$download/$module/$archive"
        fi
        mkdir "$module-src.part"
        tar -xJf "$archive" -C "$module-src.part" --strip-components=1
        mv "$module-src.part" "$module-src"
    fi
done

# DirectWrite 3 is off: 6.4's windows plugin needs it from QtGui, which builds it only together
# with Direct2D; the GDI font database is used instead.
mkdir -p build-qtbase
if [[ ! -f build-qtbase/.built ]]; then
    (cd build-qtbase &&
        ../qtbase-src/configure -prefix "$prefix" -release -shared -strip \
            -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32- \
            -qt-host-path /usr -nomake examples -nomake tests \
            -no-opengl -no-dbus -no-icu -no-glib -no-fontconfig -no-pkg-config -no-zstd \
            -no-openssl -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre \
            -qt-doubleconversion -no-feature-sql -no-feature-printsupport \
            -no-feature-tabletevent -no-feature-direct2d -no-feature-directwrite3 \
            -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
            -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake &&
        cmake --build . --parallel "$(nproc)" && cmake --install . && touch .built)
fi
for module in qtserialport qtcharts; do
    mkdir -p "build-$module"
    if [[ ! -f build-$module/.built ]]; then
        (cd "build-$module" &&
            "$prefix/bin/qt-configure-module" "../$module-src" -- -G Ninja \
                -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake &&
            cmake --build . --parallel "$(nproc)" && cmake --install . && touch .built)
    fi
done
# Qt's toolchain file loads the compiler settings it was built with; a copy inside the prefix,
# named relative to it, keeps the folder movable.
cp "$toolchain" "$prefix/lib/cmake/Qt6/mingw64.cmake"
# shellcheck disable=SC2016 # the variable is CMake's, for CMake to expand
sed -i 's|^set(__qt_initially_configured_toolchain_file ".*")|set(__qt_initially_configured_toolchain_file "${CMAKE_CURRENT_LIST_DIR}/mingw64.cmake")|' \
    "$prefix/lib/cmake/Qt6/qt.toolchain.cmake"
echo "Qt 6.4.2 for Windows (MinGW-w64) in $prefix"
