#!/usr/bin/env bash
# Times the run-loop benchmark: ten trivial blocks in a chain over 525 600 steps through
# the host, against the same block functions called in a bare loop, each as a whole
# process, RUNS times (default 9) in turns; prints the medians of the wall-clock times
# and their ratio (the engine's target: at most 1.5). Twice: with the step blocks built
# on the block frame (chain.vireo), and written bare (chain-raw.vireo), where nearly all
# the time left is the engine's own. "loop only" takes off the time of a run that does
# everything but the steps (the host with -s; the bare loop with 0 steps).
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
bare() {  # function steps
    "$build/bin/vireo_bench_bare" "$blocks/libVireoBench.so" "$2" "$1" >/dev/null
}

source "$(dirname "$0")/timing.sh"

measure() {  # label model function
    local e=() es=() b=() bs=()
    engine "$2" && bare "$3" 525600  # warm the caches once
    for ((i = 0; i < runs; ++i)); do
        e+=("$(seconds engine "$2")")
        es+=("$(seconds engine "$2" -s)")
        b+=("$(seconds bare "$3" 525600)")
        bs+=("$(seconds bare "$3" 0)")
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
        printf "  ratio:     %.2f whole process, %.2f loop only (engine / bare loop, medians of '"$runs"' runs)\n",
               e / b, (e - es) / (b - bs) }'
}

measure "step blocks on the block frame (chain.vireo)" chain.vireo bb0002
measure "step blocks written bare (chain-raw.vireo)" chain-raw.vireo bb0003
