#!/usr/bin/env bash
# Every performance figure of the README in one run, printed as a table with the machine it came
# from: a reading through the two seawater computations, ASCII records through framing, reading
# and computing, sondrel-calc on a million lines beside python3-gsw on the same file, the whole
# window's reader, the latency from the last byte of a record to the
# updated fields, the idle window, the longest gap between telegrams while the log's disk hangs,
# records through a TCP link into the headless program, and the resident memory after a soak.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=tools/lib.sh
source tools/lib.sh
bash tools/deps.sh python3-gsw python3-numpy
dir=build/bench
configure_and_build "$dir" -DCMAKE_BUILD_TYPE=Release -- \
    --target sondrel sondrel_bench sondrel_window_bench sondrel_soak sondrel-sim sondrel-calc >&2
export QT_QPA_PLATFORM=offscreen
soak_seconds=120

# The machine may be shared; what else ran is part of the figures.
load=$(cut -d' ' -f1-3 /proc/loadavg)
echo "Measuring (about four minutes)..." >&2
# Google Benchmark's CSV: name, iterations, real_time, cpu_time, time_unit, bytes/s, items/s.
seawater=$("$dir/bench/sondrel_bench" --benchmark_format=csv 2>/dev/null)
column() { # benchmark name, column number
    echo "$seawater" | LC_ALL=C awk -F, -v name="\"$1\"" -v col="$2" '$1 == name { printf "%.0f", $col }'
}
ratio() { # faster benchmark, slower benchmark: items/s of the first over the second
    LC_ALL=C awk -v a="$(column "$1" 7)" -v b="$(column "$2" 7)" 'BEGIN { printf "%.1f", a / b }'
}
# A million lines of conductivity, temperature and pressure, the same every run.
cast=$dir/cast.txt
LC_ALL=C awk 'BEGIN { srand(1); for (i = 0; i < 1000000; ++i)
    printf "%.3f %.3f %.3f\n", 30 + 30 * rand(), 30 * rand(), 1000 * rand() }' >"$cast"
lines=1000000
calc=$dir/tools/sondrel-calc/sondrel-calc
seconds() { # command...: the best wall time of three runs
    local best="" start end
    for _ in 1 2 3; do
        start=$(date +%s.%N)
        "$@" >/dev/null
        end=$(date +%s.%N)
        best=$(LC_ALL=C awk -v s="$start" -v e="$end" -v b="$best" \
            'BEGIN { t = e - s; print (b == "" || t < b) ? t : b }')
    done
    echo "$best"
}
per_second() { LC_ALL=C awk -v n="$lines" -v t="$1" 'BEGIN { printf "%.2f", n / t / 1e6 }'; }
times() { LC_ALL=C awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / b }'; }
calc_file=$(seconds "$calc" "$cast")
# Standard input as a pipe, as from `cat file | sondrel-calc`: a file redirected to it could be
# read faster than a pipe delivers.
# shellcheck disable=SC2002 # the pipe is what is measured
piped() { cat "$1" | "$2"; }
calc_stdin=$(seconds piped "$cast" "$calc")
# TEOS-10 through Debian's python3-gsw: salinity by gsw.SP_from_C as here, but its sound speed
# (through absolute salinity and conservative temperature) is not the UNESCO one computed here,
# so only the times compare. Reading, computing and writing, and the computing alone.
gsw=$(/usr/bin/python3 - "$cast" "$dir/cast-gsw.txt" <<'PY'
import sys, time
import gsw, numpy as np
best_total = best_compute = float("inf")
for _ in range(3):
    start = time.perf_counter()
    c, t, p = np.loadtxt(sys.argv[1], unpack=True)
    read = time.perf_counter()
    sp = gsw.SP_from_C(c, t, p)
    sa = gsw.SA_from_SP(sp, p, 0, 0)
    speed = gsw.sound_speed(sa, gsw.CT_from_t(sa, t, p), p)
    computed = time.perf_counter()
    np.savetxt(sys.argv[2], np.column_stack((c, t, p, sp, speed)), fmt="%.17g", delimiter="\t")
    best_total = min(best_total, time.perf_counter() - start)
    best_compute = min(best_compute, computed - read)
print(best_total, best_compute)
PY
)
gsw_total=${gsw% *}
gsw_compute=${gsw#* }
window=$("$dir/bench/sondrel_window_bench" --records 1000 --idle-seconds 30 2>/dev/null)
figure() { echo "$window" | awk -F'\t' -v name="$1" '$1 == name { print $2 }'; }
hang=$(/usr/bin/python3 tools/log_hang_bench.py "$dir/app/sondrel" 30)
# records/s, records rejected, resident MiB at the connection, at the highest and at the end.
IFS=$'\t' read -r link_rate link_rejected link_start link_peak link_end \
    < <(/usr/bin/python3 tools/link_bench.py "$dir/app/sondrel" 1000000)
gap() { echo "$hang" | awk -F'\t' -v name="$1" '$1 == name { print $2 }'; }
if ! soak=$("$dir/tests/soak/sondrel_soak" --seconds "$soak_seconds" 2>/dev/null); then
    echo "$soak"
    echo "The soak failed; no figures." >&2
    exit 1
fi
soak_memory=$(echo "$soak" | awk '/resident memory/ { print $(NF-1) " MiB (" $(NF-5) " MiB at the start)" }')

cpu=$(lscpu | sed -n 's/^Model name: *//p' | head -n1)
cores=$(nproc)
debian=$(cat /etc/debian_version 2>/dev/null || echo unknown)
qt=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || echo unknown)
cat <<TABLE
Machine: $cpu, $cores cores, Debian $debian, Qt $qt, Release build (GCC -O3), offscreen;
load average $load before measuring.

| Figure | Value | Command |
|---|---|---|
| One reading through salinity and sound velocity | $(column readingThroughBothComputations 3) ns | \`build/bench/bench/sondrel_bench\` |
| The same with the two-decimal rounding of the sound velocity | $(column readingWithTwoDecimalRounding 3) ns | \`build/bench/bench/sondrel_bench\` |
| ASCII records framed, read and computed | $(column asciiRecordsFramedReadAndComputed/bytes 7) records/s | \`build/bench/bench/sondrel_bench\` |
| The same with the earlier reader through Qt text, same run | $(column asciiRecordsFramedReadAndComputed/qt_text 7) records/s (the reader in place $(ratio asciiRecordsFramedReadAndComputed/bytes asciiRecordsFramedReadAndComputed/qt_text) times as fast) | \`build/bench/bench/sondrel_bench\` |
| SV probe records framed, read and computed, same run | $(column asciiLayoutFramedReadAndComputed/sv_probe 7) records/s ($(ratio asciiLayoutFramedReadAndComputed/sv_probe asciiRecordsFramedReadAndComputed/qt_text) times the Qt-text reader) | \`build/bench/bench/sondrel_bench\` |
| Valeport miniCTD records framed, read and computed, same run | $(column asciiLayoutFramedReadAndComputed/minictd 7) records/s ($(ratio asciiLayoutFramedReadAndComputed/minictd asciiRecordsFramedReadAndComputed/qt_text) times the Qt-text reader) | \`build/bench/bench/sondrel_bench\` |
| Valeport miniSVP records framed, read and computed, same run | $(column asciiLayoutFramedReadAndComputed/minisvp 7) records/s ($(ratio asciiLayoutFramedReadAndComputed/minisvp asciiRecordsFramedReadAndComputed/qt_text) times the Qt-text reader) | \`build/bench/bench/sondrel_bench\` |
| SBE 45 records framed, read and computed, same run | $(column asciiLayoutFramedReadAndComputed/sbe45 7) records/s ($(ratio asciiLayoutFramedReadAndComputed/sbe45 asciiRecordsFramedReadAndComputed/qt_text) times the Qt-text reader) | \`build/bench/bench/sondrel_bench\` |
| sondrel-calc, a million lines of \`C T P\` from a named file | $(per_second "$calc_file") M lines/s | \`$calc $cast\` |
| The same from standard input | $(per_second "$calc_stdin") M lines/s | \`cat $cast \| $calc\` |
| python3-gsw and numpy, the same file read, converted and written | $(per_second "$gsw_total") M lines/s (sondrel-calc $(times "$gsw_total" "$calc_file") times as fast) | \`tools/bench.sh\` |
| python3-gsw, the computing alone (SP_from_C, SA_from_SP, CT_from_t, sound_speed) | $(per_second "$gsw_compute") M lines/s (sondrel-calc, with its reading and writing, $(times "$gsw_compute" "$calc_file") times this rate) | \`tools/bench.sh\` |
| ASCII records through the whole window (display, labels, painting) | $(figure window_records_per_second) records/s | \`build/bench/bench/sondrel_window_bench\` |
| Last byte of a record into a pseudo-terminal to the fields updated, median of 1000 | $(figure latency_median) µs | \`build/bench/bench/sondrel_window_bench\` |
| The same, 99th percentile | $(figure latency_p99) µs | \`build/bench/bench/sondrel_window_bench\` |
| Idle window, both ports open, every timer running, 30 s | $(figure idle_cpu) % of one core | \`build/bench/bench/sondrel_window_bench\` |
| Longest gap between SVP 20 telegrams every 250 ms while a log write hangs 30 s | $(gap during_ms) ms ($(gap before_ms) ms before the hang, $(gap after_ms) ms after; 29.3 s when the log was written on the sending thread) | \`tools/log_hang_bench.py $dir/app/sondrel 30\` |
| Kestrane records through a tcp:// link into \`sondrel --headless\`, 1,000,000 as fast as the connection takes them | $link_rate records/s, $link_rejected rejected; resident $link_start MiB at the connection, $link_peak MiB at the highest, $link_end MiB at the end | \`tools/link_bench.py $dir/app/sondrel 1000000\` |
| Resident memory after a ${soak_seconds}-s soak at 115200 baud | $soak_memory | \`build/bench/tests/soak/sondrel_soak --seconds $soak_seconds\` |

gsw's TEOS-10 sound speed is not the UNESCO 1983 sound velocity that sondrel-calc writes: the two
rows compare times, not values.
TABLE
