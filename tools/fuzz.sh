#!/usr/bin/env bash
# Builds the libFuzzer programs (clang, AddressSanitizer, UndefinedBehaviorSanitizer) and runs
# each for a bounded time: `tools/fuzz.sh [seconds per program, default 60] [program...]`.
# Fails when any program reports a crash, a leak, a sanitizer finding or a broken property;
# the input that did it is kept as build/fuzz/findings/<program>-crash-..., and can be replayed
# with `build/fuzz/fuzz/<program> <file>`.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=tools/lib.sh
source tools/lib.sh
seconds=${1:-60}
shift || true
bash tools/deps.sh clang libclang-rt-14-dev

dir=build/fuzz
CC=clang CXX=clang++ configure_and_build "$dir" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DSONDREL_TESTS=OFF -DSONDREL_FUZZ=ON \
    -- --target sondrel_fuzzers -j2

programs=("$@")
if ((${#programs[@]} == 0)); then
    for source in fuzz/*_fuzz.cpp; do
        programs+=("$(basename "$source" .cpp)")
    done
fi

mkdir -p "$dir/findings"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=()
for program in "${programs[@]}"; do
    name=${program%_fuzz}
    # New inputs go to the build tree; the seeds in the repository stay as they are.
    corpus="$dir/corpus/$name"
    mkdir -p "$corpus"
    echo "== $program: ${seconds} s"
    if ! "$dir/fuzz/$program" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=30 \
        -detect_leaks=1 -print_final_stats=1 -artifact_prefix="$dir/findings/$program-" \
        "$corpus" "fuzz/corpus/$name" 2>"$dir/findings/$program.log"; then
        tail -n 60 "$dir/findings/$program.log"
        failed+=("$program")
    else
        grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added)' \
            "$dir/findings/$program.log" || true
    fi
done

if ((${#failed[@]})); then
    echo "fuzzing found faults in: ${failed[*]} (inputs in $dir/findings)" >&2
    exit 1
fi
echo "fuzzing: ${#programs[@]} programs, ${seconds} s each, nothing found"
