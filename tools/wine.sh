#!/usr/bin/env bash
# Runs a program of the Windows build under Wine, as ctest's emulator does: the Qt and MinGW DLLs
# on its path, Qt's plugins found, Wine's own chatter off, no Mono or Gecko asked for. The prefix
# is build/windows/wine unless WINEPREFIX names another. "wineserver" first runs Wine's server of
# that prefix instead. A test program that Wine did not start is tried once more.
#   bash tools/wine.sh build/windows/tools/sondrel-calc/sondrel-calc.exe --help
#   bash tools/wine.sh wineserver -k
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
qt=$root/build/cache/qt-6.4.2-mingw64
windowsPath() { printf 'Z:%s' "${1//\//\\}"; }
export WINEPREFIX=${WINEPREFIX:-$root/build/windows/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
WINEPATH="$(windowsPath "$qt/bin");$(windowsPath /usr/lib/gcc/x86_64-w64-mingw32/12-posix)"
WINEPATH+=";$(windowsPath /usr/x86_64-w64-mingw32/lib)"
export WINEPATH
QT_PLUGIN_PATH=$(windowsPath "$qt/plugins")
export QT_PLUGIN_PATH
if [[ ${1:-} == wineserver ]]; then
    exec env -u WINEDEBUG "$@"
fi
# Now and then Wine does not start a program at all: no output, a failure at once, and the same
# program passes when run again. A test program always writes something, so one that failed
# without a byte was never started; it is tried once more, and the run says so. A test that ran
# and failed is not tried again.
if [[ ${1:-} == *_tests.exe ]]; then
    out=$(mktemp)
    trap 'rm -f "$out"' EXIT
    for attempt in 1 2; do
        status=0
        wine "$@" 2>&1 | tee "$out" || status=${PIPESTATUS[0]}
        if [[ $status -eq 0 || -s $out || $attempt -eq 2 ]]; then
            exit "$status"
        fi
        echo "wine.sh: Wine did not start $1 (no output, exit status $status); trying once more" >&2
    done
fi
exec wine "$@"
