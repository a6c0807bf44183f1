#!/usr/bin/env bash
# Every performance figure of the README in one run, printed as a table with the machine it came
# from: a reading through the two seawater computations, ASCII records through framing, reading
# and computing, the whole window's reader, the latency from the last byte of a record to the
# updated fields, the idle window, and the resident memory after a soak.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
dir=build/bench
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >&2
cmake --build "$dir" --target sondrel_bench sondrel_window_bench sondrel_soak sondrel-sim >&2
export QT_QPA_PLATFORM=offscreen
soak_seconds=120

# The machine may be shared; what else ran is part of the figures.
load=$(cut -d' ' -f1-3 /proc/loadavg)
echo "Measuring (about three minutes)..." >&2
# Google Benchmark's CSV: name, iterations, real_time, cpu_time, time_unit, bytes/s, items/s.
seawater=$("$dir/bench/sondrel_bench" --benchmark_format=csv 2>/dev/null)
column() { # benchmark name, column number
    echo "$seawater" | LC_ALL=C awk -F, -v name="\"$1\"" -v col="$2" '$1 == name { printf "%.0f", $col }'
}
ratio() { # faster benchmark, slower benchmark: items/s of the first over the second
    LC_ALL=C awk -v a="$(column "$1" 7)" -v b="$(column "$2" 7)" 'BEGIN { printf "%.1f", a / b }'
}
window=$("$dir/bench/sondrel_window_bench" --records 1000 --idle-seconds 30 2>/dev/null)
figure() { echo "$window" | awk -F'\t' -v name="$1" '$1 == name { print $2 }'; }
if ! soak=$("$dir/tests/soak/sondrel_soak" --seconds "$soak_seconds" 2>/dev/null); then
    echo "$soak"
    echo "The soak failed; no figures." >&2
    exit 1
fi
soak_memory=$(echo "$soak" | awk '/resident memory/ { rss = $(NF-1); start = $(NF-5) }
                                   /heap in use/ { heap = $(NF-1) }
                                   END { print rss " MiB (" start " MiB at the start; heap in use " heap " MiB)" }')

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
| The same with the earlier reader through Qt text, same run | $(column asciiRecordsFramedReadAndComputed/qt_text 7) records/s ($(ratio asciiRecordsFramedReadAndComputed/bytes asciiRecordsFramedReadAndComputed/qt_text) times slower) | \`build/bench/bench/sondrel_bench\` |
| ASCII records through the whole window (display, labels, painting) | $(figure window_records_per_second) records/s | \`build/bench/bench/sondrel_window_bench\` |
| Last byte of a record into a pseudo-terminal to the fields updated, median of 1000 | $(figure latency_median) µs | \`build/bench/bench/sondrel_window_bench\` |
| The same, 99th percentile | $(figure latency_p99) µs | \`build/bench/bench/sondrel_window_bench\` |
| Idle window, both ports open, every timer running, 30 s | $(figure idle_cpu) % of one core | \`build/bench/bench/sondrel_window_bench\` |
| Resident memory after a ${soak_seconds}-s soak at 115200 baud | $soak_memory | \`build/bench/tests/soak/sondrel_soak --seconds $soak_seconds\` |
TABLE
