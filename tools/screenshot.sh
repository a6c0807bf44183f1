#!/usr/bin/env bash
# Takes pictures of the window with simulated data flowing: docs/window.png as it opens and
# docs/window-wide.png widened to show the calculator, and docs/trend.png of the trend window
# after two and a half minutes of readings; then docs/stale.png of a CTD that has fallen silent,
# and docs/resumed.png of a window that started again what ran before.
# Runs under a virtual display.
#   bash tools/screenshot.sh [BUILD_DIR]   (default: build/release, built if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=tools/lib.sh
source tools/lib.sh
bash tools/deps.sh
command -v import >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y imagemagick
bin=${1:-$release_build}
if [[ ! -x "$bin/app/sondrel" ]]; then
    build_release "$bin"
fi
mkdir -p docs
out=$(mktemp)
journal=$(mktemp)
trap 'rm -f "$out" "$journal"' EXIT
xvfb-run -a -s "-screen 0 800x700x24" bash -c "
    source tools/demo_driver.sh
    start_demo '$bin' '$out'
    wait_for_telegrams '$out' 4
    import -window \"\$DEMO_WINDOW\" docs/window.png
    xdotool windowsize \"\$DEMO_WINDOW\" 610 533
    sleep 1
    import -window \"\$DEMO_WINDOW\" docs/window-wide.png
    click \"\${TREND_BUTTON[@]}\"
    trend=\$(wait_for_window '^Trend\$') || { echo 'the trend window did not appear' >&2; exit 1; }
    sleep 150
    import -window \"\$trend\" docs/trend.png
    stop_demo
"
# Ten records, then silence on an open line; the picture is taken well past the stale limit of
# 5 s, once the simulator has written its last record.
: >"$out"
: >"$journal"
xvfb-run -a -s "-screen 0 800x700x24" bash -c "
    source tools/demo_driver.sh
    export SONDREL_DEMO_CTD='--count 10 --hold --journal $journal'
    start_demo '$bin' '$out'
    for _ in \$(seq 300); do grep -q '^sent' '$journal' && break; sleep 0.1; done
    sleep 8
    import -window \"\$DEMO_WINDOW\" docs/stale.png
    stop_demo
"
# Started on settings that say what ran before, with "Resume after a restart" checked: the
# instrument, the output and the log run again with nobody touching the window.
resumed=$(mktemp -d)
sim=$bin/tools/sondrel-sim/sondrel-sim
"$sim" --mode kestrane --drift --link "$resumed/ctd" >/dev/null &
ctd=$!
"$sim" --mode receiver --link "$resumed/echosounder" >"$out" &
receiver=$!
for _ in $(seq 300); do [[ -e "$resumed/ctd" && -e "$resumed/echosounder" ]] && break; sleep 0.1; done
cat >"$resumed/settings.ini" <<CONF
[COM_Port]
IN=1:19200,N,8,1
OUT=2:4800,N,8,1
[Ports]
COM1=$resumed/ctd
COM2=$resumed/echosounder
[Options]
ResumeAtStart=true
[Run]
Instrument=Kestrane
Input=true
Output=true
Telegram=App. Microsystems
SendInterval=500
LogFile=$resumed/survey-log.txt
SampleInterval=1
CONF
xvfb-run -a -s "-screen 0 800x700x24" bash -c "
    source tools/lib.sh
    '$bin/app/sondrel' --settings '$resumed/settings.ini' &
    id=\$(wait_for_window 'Sondrel  Converter')
    xdotool windowsize \"\$id\" 610 533
    sleep 5
    import -window \"\$id\" docs/resumed.png
    kill %1
    wait
"
kill "$ctd" "$receiver"
wait "$ctd" "$receiver" 2>/dev/null || true
rm -rf "$resumed"
echo "wrote docs/window.png, docs/window-wide.png, docs/trend.png, docs/stale.png and docs/resumed.png"
