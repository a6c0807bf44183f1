#!/usr/bin/env bash
# The setup program in a fresh Wine prefix, with nothing of the build on Wine's path: a silent
# install puts the programs into Program Files with a Start-menu entry and an "Apps & features"
# entry; the installed sondrel.exe shows its window with its exact title (a screenshot of the
# virtual display is taken); the installed sondrel-calc.exe converts a file into the same lines
# as the Linux build's; a silent uninstall takes away all the install put there.
#   windows_setup_test.sh SETUP.exe LINUX-SONDREL-CALC SCREENSHOT.png
set -euo pipefail
# shellcheck source=tools/lib.sh
source "$(dirname "$0")/../tools/lib.sh"
setup=$(realpath "$1")
linux_calc=$(realpath "$2")
screenshot=$(realpath "$3")
title='Sondrel  Converter  -  Version-1.3.1'
work=$(mktemp -d)
export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
unset WINEPATH QT_PLUGIN_PATH QT_QPA_PLATFORM
fail() {
    echo "FAIL: $*"
    exit 1
}


Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
cleanup() {
    wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 100); do
    [[ -s "$work/display" ]] && break
    sleep 0.1
done
DISPLAY=:$(cat "$work/display")
export DISPLAY

wineboot -i >/dev/null 2>&1
wineserver -w
drive=$WINEPREFIX/drive_c
snapshot() {
    find "$drive" -path "$drive/windows" -prune -o -path "$drive/users" -prune -o -print | sort
}
snapshot >"$work/before"

wine "$setup" /S
wineserver -w
folder="$drive/Program Files/Sondrel Converter"
for f in sondrel.exe sondrel-calc.exe sondrel-sim.exe uninstall.exe Qt6Core.dll \
    platforms/qwindows.dll styles/qwindowsvistastyle.dll libstdc++-6.dll licences/GPL-3.0.txt \
    licences/LGPL-3.0.txt licences/SOURCES.txt; do
    [[ -f "$folder/$f" ]] || fail "the install holds no $f"
done
[[ -f "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Sondrel Converter.lnk" ]] ||
    fail "no Start-menu entry"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Sondrel Converter'
entry=$(wine reg query "$key" | tr -d '\r')
for value in 'DisplayName|Sondrel Converter' 'DisplayVersion|1.3.1' \
    'Publisher|Sondrel Converter developers' \
    'UninstallString|"C:\Program Files\Sondrel Converter\uninstall.exe"' \
    'QuietUninstallString|"C:\Program Files\Sondrel Converter\uninstall.exe" /S' \
    'InstallLocation|C:\Program Files\Sondrel Converter' \
    'DisplayIcon|C:\Program Files\Sondrel Converter\sondrel.exe'; do
    grep -qxF "    ${value%%|*}    REG_SZ    ${value#*|}" <<<"$entry" ||
        fail "Apps & features lacks ${value%%|*} ${value#*|}: $entry"
done

# Without a window manager Wine draws the title bar itself, inside the window that the picture
# is taken of.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null
wine "C:\\Program Files\\Sondrel Converter\\sondrel.exe" >"$work/window.log" 2>&1 &
window=$(wait_for_window "^${title}\$") || fail "no window titled \"$title\": $(cat "$work/window.log")"
# The first paint follows the window's mapping.
sleep 2
import -window "$window" "$screenshot"
wine taskkill /im sondrel.exe >/dev/null
wineserver -w

printf '# C T P\r\n42.914 15 0\r\n35 10 1000\n1 2 x\n50\t20\t6000\n' >"$work/cast.txt"
status=0
wine "C:\\Program Files\\Sondrel Converter\\sondrel-calc.exe" "Z:${work//\//\\}\\cast.txt" \
    >"$work/windows.txt" 2>"$work/windows.err" || status=$?
linux_status=0
"$linux_calc" "$work/cast.txt" >"$work/linux.txt" 2>/dev/null || linux_status=$?
[[ $status == "$linux_status" ]] || fail "sondrel-calc.exe ends with $status, Linux's with $linux_status"
[[ -s "$work/linux.txt" ]] || fail "the Linux sondrel-calc wrote nothing"
diff <(tr -d '\r' <"$work/windows.txt") "$work/linux.txt" ||
    fail "sondrel-calc.exe and Linux's sondrel-calc differ"

wine "C:\\Program Files\\Sondrel Converter\\uninstall.exe" /S
wineserver -w
snapshot >"$work/after"
diff "$work/before" "$work/after" || fail "the uninstall left the above behind"
if wine reg query "$key" >/dev/null 2>&1; then
    fail "the Apps & features entry is still there"
fi
echo "setup: installed, window shown, $(wc -l <"$work/linux.txt") lines converted as on Linux, uninstalled"
