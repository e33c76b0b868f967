#!/usr/bin/env bash
# Times the run-loop benchmark: a free timer and ten trivial blocks in a chain through the
# host, against the same block functions called in a bare loop, each as a whole process,
# RUNS times (default 9) in turns; prints the medians and their ratio (the engine's
# target: at most 1.2, loop only, for the bare blocks). "loop only" takes off the time of
# a run that does everything but the steps (the host with -s; the bare loop with 0 steps).
#
# The models step a year of minutes (525 600 steps); the benchmark runs them for STEPS
# (default ten years of minutes), since the steps of one year take less time than the start
# of a process and than the noise of a busy machine. Times are the processes' CPU time
# (user and system), which other work on the machine disturbs far less than the wall clock.
#
# Three comparisons:
#   bare blocks      timer and steps written bare (chain-raw.vireo), against the bare loop
#                    that does what a run must do at every call besides following the
#                    links: refill the input, set the protocol slots, read the answers.
#   frame blocks     timer and steps on the block frame (chain.vireo), the same bare loop.
#   as first measured  the benchmark's first figure, kept beside the others and measured as
#                    it was: bare steps under the frame's timer (chain-raw-frame-timer.vireo)
#                    for one year of minutes, wall-clock time, against the bare loop that
#                    sets only the call mode. The frame's timer costs several bare steps on
#                    both sides, and the start of the processes weighs as much as the
#                    steps, which pulls the ratio towards 1.
#   bench/run-bench.sh [BUILD_DIR] [RUNS] [STEPS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-9}
steps=${3:-5256000}
blocks=$build/bench-blocks
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/none" "$work/long"
for model in chain.vireo chain-raw.vireo chain-raw-frame-timer.vireo; do
    cp "$build/bench/$model" "$work/$model"
    sed "s/^p 1 525600\$/p 1 $steps/" "$build/bench/$model" >"$work/long/$model"
done

engine() {  # model [option]
    VIREO_HOME=$blocks VIREO_USER_BLOCKS=$work/none VIREO_STATE_DIR=$work/none VIREO_CONFIG_DIR=$work/none \
        "$build/bin/vireo" "$work/$1" -c ${2:+"$2"} >/dev/null
}
bare() {  # steps step-function timer-function form
    "$build/bin/vireo_bench_bare" "$blocks/libVireoBench.so" "$1" "$2" "$3" "$4" >/dev/null
}

source "$(dirname "$0")/timing.sh"

measure() {  # label clock model-steps model step-function timer-function form
    local clock=$2 n=$3 e=() es=() b=() bs=()
    engine "$4" && bare "$n" "$5" "$6" "$7"  # warm the caches once
    for ((i = 0; i < runs; ++i)); do
        e+=("$($clock engine "$4")")
        es+=("$($clock engine "$4" -s)")
        b+=("$($clock bare "$n" "$5" "$6" "$7")")
        bs+=("$($clock bare 0 "$5" "$6" "$7")")
    done
    local me mes mb mbs
    me=$(printf '%s\n' "${e[@]}" | median)
    mes=$(printf '%s\n' "${es[@]}" | median)
    mb=$(printf '%s\n' "${b[@]}" | median)
    mbs=$(printf '%s\n' "${bs[@]}" | median)
    echo "$1 ($n steps, $clock time)"
    echo "  engine:    $me s (all runs: ${e[*]}); without the steps $mes s"
    echo "  bare loop: $mb s (all runs: ${b[*]}); without the steps $mbs s"
    awk -v e="$me" -v es="$mes" -v b="$mb" -v bs="$mbs" 'BEGIN {
        printf "  ratio:     %.2f loop only, %.2f whole process (engine / bare loop, medians of '"$runs"' runs)\n",
               (e - es) / (b - bs), e / b }'
}

measure "bare blocks: timer and steps written bare; target at most 1.2" \
    cpu "$steps" long/chain-raw.vireo bb0003 bb0004 protocol
measure "frame blocks: timer and steps on the block frame" cpu "$steps" long/chain.vireo bb0002 bb0001 protocol
measure "as first measured: bare steps under the frame's timer, bare loop setting the call mode only" \
    wall 525600 chain-raw-frame-timer.vireo bb0003 bb0001 mode
