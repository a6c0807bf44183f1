# shellcheck shell=bash
# Sourced, not run, by the scripts of tools/ and tests/: the build trees several of them make,
# configured one way so that a tree one script made is the tree the next one reuses, and the
# wait for a window on an X display.

# The build trees, relative to the source tree, where the scripts run.
test_build=build/test
release_build=build/release
sondrel_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# configure_and_build [--quiet] DIR [CMAKE_FLAG...] [-- BUILD_ARG...]: configures DIR from the
# sources with Ninja and the flags, then builds it with the build arguments (--target ..., -j2).
# --quiet drops what configuring prints, for a tree that is only a side step of the script.
configure_and_build() {
    local quiet=false
    if [[ ${1:-} == --quiet ]]; then
        quiet=true
        shift
    fi
    local dir=$1 flags=()
    shift
    while (($#)) && [[ $1 != -- ]]; do
        flags+=("$1")
        shift
    done
    if (($#)); then
        shift
    fi
    if $quiet; then
        cmake -S "$sondrel_root" -B "$dir" -G Ninja "${flags[@]}" >/dev/null
    else
        cmake -S "$sondrel_root" -B "$dir" -G Ninja "${flags[@]}"
    fi
    cmake --build "$dir" "$@"
}

# build_test [--quiet] [BUILD_ARG...]: the RelWithDebInfo tree the tests, the soak and the
# replug run from; a target or two is enough for a script that runs only those.
build_test() {
    local quiet=()
    if [[ ${1:-} == --quiet ]]; then
        quiet=(--quiet)
        shift
    fi
    configure_and_build "${quiet[@]}" "$test_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -- "$@"
}

# build_release [DIR]: the program alone, optimised and without its tests, in DIR (by default
# build/release).
build_release() {
    configure_and_build "${1:-$release_build}" -DCMAKE_BUILD_TYPE=Release -DSONDREL_TESTS=OFF
}

# wait_for_window TITLE: prints the id of the first visible window with a title matching TITLE
# (a regular expression), once there is one; false if none shows within 30 s. A window that
# exists but is not yet mapped would take neither input nor a picture.
wait_for_window() {
    local id
    for _ in $(seq 300); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        [[ -n "$id" ]] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
