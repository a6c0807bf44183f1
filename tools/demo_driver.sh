#!/usr/bin/env bash
# Runs the demo on the X display in $DISPLAY and presses both "Start Connection" buttons the
# way a user would, with the mouse. Sourced by the demo test and the screenshot script; it
# defines start_demo, focus_window, choose_log, wait_for_telegrams and stop_demo, and brings
# wait_for_window from tools/lib.sh.

# shellcheck source=tools/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# Centres of the buttons in window coordinates, from the window's form.
readonly INPUT_START=(300 64)
readonly OUTPUT_START=(300 277)
readonly LOG_BROWSE=(48 353)
# "Trend ..." shows only in the widened window.
# shellcheck disable=SC2034 # clicked by tools/screenshot.sh, which sources this file
readonly TREND_BUTTON=(546 372)

# start_demo BIN_DIR OUTPUT_FILE [demo options]: starts the demo, waits for the window and
# clicks both buttons; on a loaded machine the first clicks can come before the window takes
# input, so they are repeated (pressing "Start Connection" again only reopens the port) until
# telegrams arrive. Sets DEMO_PID and DEMO_WINDOW.
start_demo() {
    local bin=$1 out=$2
    shift 2
    SONDREL_BIN_DIR="$bin" bash "$(dirname "${BASH_SOURCE[0]}")/demo.sh" "$@" >"$out" 2>&1 &
    DEMO_PID=$!
    DEMO_WINDOW=$(wait_for_window "Sondrel  Converter") ||
        { echo "the window did not appear" >&2; return 1; }
    for _ in 1 2 3; do
        click "${INPUT_START[@]}"
        click "${OUTPUT_START[@]}"
        wait_for_telegrams "$out" 1 10 && return 0
    done
    return 1
}

# choose_log PATH: picks the log file through the real chooser and answers its question Yes.
choose_log() {
    click "${LOG_BROWSE[@]}"
    focus_window "Save As" && xdotool type --delay 20 "$1" && xdotool key Return
    focus_window "Log file" && xdotool key Return
    for _ in $(seq 100); do
        [[ -s "$1" ]] && return 0
        sleep 0.1
    done
    echo "the log file was not created" >&2
    return 1
}

# focus_window TITLE: gives the keyboard to the window once it shows. Without a window manager
# the keys go wherever the pointer is until the program's own focus request lands, which a slow
# (sanitized) build makes late.
focus_window() {
    local id
    id=$(wait_for_window "$1") && xdotool windowfocus --sync "$id"
}

click() {
    xdotool mousemove --window "$DEMO_WINDOW" "$1" "$2" click 1
}

# wait_for_telegrams OUTPUT_FILE COUNT [SECONDS]: true once COUNT telegrams arrived.
wait_for_telegrams() {
    for _ in $(seq $((${3:-30} * 10))); do
        (($(grep -c -E 'App\. Microsystems +" [0-9]+\.[0-9]{2} <CR><LF>"' "$1") >= $2)) && return 0
        sleep 0.1
    done
    return 1
}

stop_demo() {
    kill "$DEMO_PID" 2>/dev/null
    wait "$DEMO_PID" 2>/dev/null || true
}
