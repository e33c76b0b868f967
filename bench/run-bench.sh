#!/usr/bin/env bash
# Times the run-loop benchmark: a free timer and ten trivial blocks in a chain over 525 600
# steps through the host, against the same block functions called in a bare loop, each as
# a whole process, RUNS times (default 9) in turns; prints the medians and their ratio
# (the engine's target: at most 1.2, loop only, for the bare blocks). Times are the
# processes' CPU time (user and system), which other work on the machine disturbs far
# less than the wall clock. "loop only" takes off the time of a run that does everything
# but the steps (the host with -s; the bare loop with 0 steps).
#
# Three comparisons:
#   bare blocks      timer and steps written bare (chain-raw.vireo), against the bare loop
#                    that does what a run must do at every call besides following the
#                    links: refill the input, set the protocol slots, read the answers.
#   frame blocks     timer and steps on the block frame (chain.vireo), the same bare loop.
#   as first measured  bare steps under the frame's timer (chain-raw-frame-timer.vireo),
#                    against the bare loop that sets only the call mode: the figure the
#                    benchmark first gave, kept beside the others. The frame's timer costs
#                    several bare steps on both sides, which pulls the ratio towards 1.
#   bench/run-bench.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-9}
blocks=$build/bench-blocks
empty=$(mktemp -d)
trap 'rm -rf "$empty"' EXIT

engine() {  # model [option]
    VIREO_HOME=$blocks VIREO_USER_BLOCKS=$empty VIREO_STATE_DIR=$empty VIREO_CONFIG_DIR=$empty \
        "$build/bin/vireo" "$build/bench/$1" -c ${2:+"$2"} >/dev/null
}
bare() {  # steps step-function timer-function form
    "$build/bin/vireo_bench_bare" "$blocks/libVireoBench.so" "$1" "$2" "$3" "$4" >/dev/null
}

TIMEFORMAT='%3U %3S'
seconds() {  # the CPU time of a command, in seconds
    { time "$@"; } 2>&1 | awk '{ printf "%.3f\n", $1 + $2 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

measure() {  # label model step-function timer-function form
    local e=() es=() b=() bs=()
    engine "$2" && bare 525600 "$3" "$4" "$5"  # warm the caches once
    for ((i = 0; i < runs; ++i)); do
        e+=("$(seconds engine "$2")")
        es+=("$(seconds engine "$2" -s)")
        b+=("$(seconds bare 525600 "$3" "$4" "$5")")
        bs+=("$(seconds bare 0 "$3" "$4" "$5")")
    done
    local me mes mb mbs
    me=$(printf '%s\n' "${e[@]}" | median)
    mes=$(printf '%s\n' "${es[@]}" | median)
    mb=$(printf '%s\n' "${b[@]}" | median)
    mbs=$(printf '%s\n' "${bs[@]}" | median)
    echo "$1"
    echo "  engine:    $me s (all runs: ${e[*]}); without the steps $mes s"
    echo "  bare loop: $mb s (all runs: ${b[*]}); without the steps $mbs s"
    awk -v e="$me" -v es="$mes" -v b="$mb" -v bs="$mbs" 'BEGIN {
        printf "  ratio:     %.2f loop only, %.2f whole process (engine / bare loop, medians of '"$runs"' runs)\n",
               (e - es) / (b - bs), e / b }'
}

measure "bare blocks: timer and steps written bare (chain-raw.vireo); target at most 1.2" \
    chain-raw.vireo bb0003 bb0004 protocol
measure "frame blocks: timer and steps on the block frame (chain.vireo)" chain.vireo bb0002 bb0001 protocol
measure "as first measured: bare steps under the frame's timer, bare loop setting the call mode only" \
    chain-raw-frame-timer.vireo bb0003 bb0001 mode
