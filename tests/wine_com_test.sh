#!/usr/bin/env bash
# The Windows build's telegrams on real COM ports under Wine: two ports joined by a pair of
# pseudo-terminals (socat), the window with real serial ports writing into COM21 and the test
# reading COM22. Runs the output's end-to-end test of the suite.
#   wine_com_test.sh PATH/sondrel_tests.exe
set -euo pipefail
tests=$1
wine=$(cd "$(dirname "$0")/.." && pwd)/tools/wine.sh
work=$(mktemp -d)
socat pty,raw,echo=0,link="$work/program" pty,raw,echo=0,link="$work/test" &
socat=$!
# Wine's server has taken a terminal for its own: it goes before the terminals do, which would
# otherwise hang up on it.
cleanup() {
    for port in COM21 COM22; do
        bash "$wine" reg delete 'HKLM\Software\Wine\Ports' /v "$port" /f >/dev/null 2>&1 || true
    done
    bash "$wine" wineserver -k || true
    kill "$socat" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 100); do
    [[ -e "$work/program" && -e "$work/test" ]] && break
    sleep 0.1
done
bash "$wine" reg add 'HKLM\Software\Wine\Ports' /v COM21 /d "$work/program" /f >/dev/null
bash "$wine" reg add 'HKLM\Software\Wine\Ports' /v COM22 /d "$work/test" /f >/dev/null
# Wine reads the table of ports when its server starts: the running one goes first.
bash "$wine" wineserver -k || true
SONDREL_TEST_LINE=COM21:COM22 bash "$wine" "$tests" --gtest_filter='OutputEndToEnd.*'
