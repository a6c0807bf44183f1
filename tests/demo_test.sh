#!/usr/bin/env bash
# The demo, headless: with both "Start Connection" buttons clicked, telegrams reach the
# simulated echosounder; once the demo is stopped, nothing of it is left running.
set -euo pipefail
bin=$1
src=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR=$work
# The window must reach the virtual display, not the offscreen platform the other tests use.
unset QT_QPA_PLATFORM

xvfb-run -a -s "-screen 0 800x700x24" bash -c "
    source '$src/tools/demo_driver.sh'
    start_demo '$bin' '$work/out'
    wait_for_telegrams '$work/out' 3 && echo telegrams-arrived > '$work/result'
    stop_demo
"
cat "$work/out"
[[ -f "$work/result" ]] || { echo "FAIL: no telegrams reached the simulated echosounder"; exit 1; }

# The program and both simulators carried the demo's private directory, in their arguments or
# their environment.
for f in $(grep -l -s -F "$work" /proc/[0-9]*/cmdline /proc/[0-9]*/environ || true); do
    cmdline=$(tr '\0' ' ' <"$(dirname "$f")/cmdline" 2>/dev/null || true)
    if [[ "$cmdline" == *sondrel* && "$cmdline" != *demo_test.sh* ]]; then
        echo "FAIL: left running: $cmdline"
        exit 1
    fi
done
echo "demo: telegrams arrived and nothing was left running"
