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

# Ended from outside, by each signal that ends a program unattended, with a log chosen through
# the real file chooser at one sample a second: the program exits with status 0 and the file
# holds a line for every second it logged, not the header alone.
for signal in TERM HUP INT; do
    log="$work/log-$signal.txt"
    xvfb-run -a -s "-screen 0 800x700x24" bash -c "
        source '$src/tools/demo_driver.sh'
        start_demo '$bin' '$work/out-$signal'
        choose_log '$log'
        started=\$(date +%s)
        sleep 6
        kill -$signal \$(pgrep -P \$DEMO_PID -f app/sondrel)
        for _ in \$(seq 150); do kill -0 \$DEMO_PID 2>/dev/null || break; sleep 0.1; done
        kill -0 \$DEMO_PID 2>/dev/null && { echo 'still running after SIG$signal'; stop_demo; exit 1; }
        wait \$DEMO_PID && echo \$((\$(date +%s) - started)) > '$work/seconds-$signal'
    "
    [[ -f "$work/seconds-$signal" ]] || { echo "FAIL: SIG$signal: no clean exit"; cat "$work/out-$signal"; exit 1; }
    lines=$(($(wc -l <"$log") - 1))
    seconds=$(cat "$work/seconds-$signal")
    if ((lines < seconds - 2 || lines > seconds + 1)); then
        echo "FAIL: SIG$signal after $seconds s of logging left $lines lines in the log"
        exit 1
    fi
    echo "SIG$signal: exit status 0, $lines lines after $seconds s"
done

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
