#!/usr/bin/env bash
# Sets up, builds and starts Sondrel Converter wired to simulated hardware: port 1 is a
# simulated CTD sending drifting values, port 2 a simulated echosounder that prints every
# telegram it receives in this terminal. The user's own settings are not touched: the program
# runs with a private settings directory that exists only while the demo runs.
#
#   bash tools/demo.sh            a Kestrane instrument (ASCII records)
#   bash tools/demo.sh --seasun   a Sea & Sun instrument (choose "Sea & Sun" in the window)
#
# With SONDREL_BIN_DIR set to a build directory, nothing is installed or built.
# SONDREL_DEMO_CTD adds options for the simulated CTD (the screenshots make it fall silent).
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=tools/lib.sh
source tools/lib.sh

instrument=kestrane
[[ "${1:-}" == --seasun ]] && instrument=seasun

bin="${SONDREL_BIN_DIR:-}"
if [[ -z "$bin" ]]; then
    bash tools/deps.sh
    bin=$release_build
    build_release "$bin"
fi
sim="$bin/tools/sondrel-sim/sondrel-sim"

demo=$(mktemp -d "${TMPDIR:-/tmp}/sondrel-demo.XXXXXX")
pids=()
cleanup() {
    trap - EXIT INT TERM
    ((${#pids[@]})) && kill "${pids[@]}" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$demo"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# shellcheck disable=SC2086 # the options are words
"$sim" --mode "$instrument" --drift ${SONDREL_DEMO_CTD:-} --link "$demo/ctd" >/dev/null &
pids+=($!)
"$sim" --mode receiver --link "$demo/echosounder" &
pids+=($!)
for _ in $(seq 300); do
    [[ -e "$demo/ctd" && -e "$demo/echosounder" ]] && break
    sleep 0.1
done

mkdir -p "$demo/config/Sondrel"
cat > "$demo/config/Sondrel/Sondrel.conf" <<CONF
[Ports]
COM1=$demo/ctd
COM2=$demo/echosounder
CONF

echo "Demo: port 1 is a simulated $instrument CTD, port 2 a simulated echosounder."
if [[ "$instrument" == seasun ]]; then
    echo "Choose \"Sea & Sun\", then press both \"Start Connection\" buttons."
else
    echo "Press both \"Start Connection\" buttons; telegrams appear below."
fi
XDG_CONFIG_HOME="$demo/config" "$bin/app/sondrel" &
pids+=($!)
wait "${pids[-1]}"
