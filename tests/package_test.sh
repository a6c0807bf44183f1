#!/usr/bin/env bash
# What `cmake --install` puts in place, and the Debian package built from the same tree: the
# three programs with their manual pages, the desktop entry, the icons, the user service, the
# copyright and the changelog, with the Qt run-time dependencies declared, and nothing lintian
# would object to.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

expected=(
    bin/sondrel bin/sondrel-calc bin/sondrel-sim
    share/applications/sondrel.desktop
    lib/systemd/user/sondrel.service
    share/icons/hicolor/36x36/apps/sondrel.png
    share/icons/hicolor/scalable/apps/sondrel.svg
    share/man/man1/sondrel.1.gz share/man/man1/sondrel-calc.1.gz share/man/man1/sondrel-sim.1.gz
    share/doc/sondrel/copyright share/doc/sondrel/changelog.gz
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

# The service starts the packaged program, without a window.
start=$(sed -n 's/^ExecStart=//p' "$work/root/usr/lib/systemd/user/sondrel.service")
[[ -x "$work/root${start%% *}" && "$start" == *" --headless"* ]] ||
    { echo "FAIL: sondrel.service starts: $start"; exit 1; }

version=$(dpkg-deb -f "$deb" Version)
# Asked for its version or its options, the program answers without a display.
reply=$(env -u DISPLAY -u QT_QPA_PLATFORM "$work/root/usr/bin/sondrel" --version)
[[ "$reply" == "Sondrel $version"$'\n'"Licence: GPL-3.0-or-later" ]] ||
    { echo "FAIL: sondrel --version says: $reply"; exit 1; }
env -u DISPLAY -u QT_QPA_PLATFORM "$work/root/usr/bin/sondrel" --help | grep -q -- '--version' ||
    { echo "FAIL: sondrel --help does not list --version"; exit 1; }
newest=$(zcat "$work/root/usr/share/doc/sondrel/changelog.gz" | head -n 1)
[[ "$newest" == "sondrel ($version) "* ]] ||
    { echo "FAIL: the changelog's newest entry is not version $version: $newest"; exit 1; }
page=$work/root/usr/share/man/man1/sondrel-calc.1.gz
troff=$(man --warnings -l "$page" 2>&1 >"$work/page.txt")
[[ -z "$troff" ]] || { echo "FAIL: the sondrel-calc manual page renders with warnings: $troff"; exit 1; }
grep -q -- '--salinity' "$work/page.txt" || { echo "FAIL: the sondrel-calc manual page is empty"; exit 1; }

if command -v lintian >/dev/null; then
    lintian --allow-root --fail-on error,warning "$deb" >"$work/lintian.txt" 2>&1 ||
        { echo "FAIL: lintian objects to the package:"; cat "$work/lintian.txt"; exit 1; }
fi
echo "package: $(basename "$deb") holds ${#expected[@]} files; Depends: $depends"
