#!/usr/bin/env bash
# What `cmake --install` puts in place, and the Debian package built from the same tree: the
# three programs, the desktop entry and the icons, with the Qt run-time dependencies declared.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

expected=(
    bin/sondrel bin/sondrel-calc bin/sondrel-sim
    share/applications/sondrel.desktop
    share/icons/hicolor/36x36/apps/sondrel.png
    share/icons/hicolor/scalable/apps/sondrel.svg
)

cmake --install "$build" --prefix "$work/install" >/dev/null
for f in "${expected[@]}"; do
    [[ -e "$work/install/$f" ]] || { echo "FAIL: cmake --install did not install $f"; exit 1; }
done

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >/dev/null)
deb=$(ls "$work"/deb/*.deb)
dpkg-deb -x "$deb" "$work/root"
for f in "${expected[@]}"; do
    [[ -e "$work/root/usr/$f" ]] || { echo "FAIL: the package does not hold /usr/$f"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 libqt6serialport6 qt6-qpa-plugins; do
    [[ "$depends" == *"$dep"* ]] || { echo "FAIL: Depends lacks $dep: $depends"; exit 1; }
done
desktop-file-validate "$work/root/usr/share/applications/sondrel.desktop"
echo "package: $(basename "$deb") holds ${#expected[@]} files; Depends: $depends"
