#!/usr/bin/env bash
# Times compiling, checking, sorting and initialising models of growing size through the
# host (-s): chains of 1 000, 10 000 and 100 000 blocks (a free timer, then blocks that each
# read the one before and take two parameters), and 500 and 1 000 timers nested in each
# other (each fed by the one before, so each owns all that follow). Prints the least time
# of RUNS runs (default 5; the least is the one other work on the machine disturbed least)
# and the growth from one size to the next: about 10 for a chain ten times longer, about
# 4 for twice as many nested timers (twice the blocks, each twice as deep). Times are the
# processes' CPU time (user and system), less the time of a model of one block, so that
# the start of the process does not hide the growth; the chain of 1 000 blocks takes about
# as long as that start, so its time, and the growth from it, are rough.
#   bench/compile-bench.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-5}
blocks=$build/bench-blocks
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/none"

chain() {  # blocks
    awk -v n="$1" 'BEGIN { print "b 1 BTIMER"; print "p 1 2";
        for (k = 2; k <= n; ++k) { print "b " k " BSTEP " k - 1; print "p " k " 0.5 1" } }'
}
nested() {  # timers
    awk -v n="$1" 'BEGIN { print "b 1 BCLOCK"; print "p 1 2";
        for (k = 2; k <= n; ++k) { print "b " k " BCLOCK " k - 1; print "p " k " 2" } }'
}

TIMEFORMAT='%3U %3S'
seconds() {  # the CPU time of a syntax check of the model, in seconds
    { time VIREO_HOME=$blocks VIREO_USER_BLOCKS=$work/none VIREO_STATE_DIR=$work/none VIREO_CONFIG_DIR=$work/none \
        "$build/bin/vireo" "$work/$1" -s -c >/dev/null; } 2>&1 | awk '{ printf "%.3f\n", $1 + $2 }'
}
least() { sort -n | head -1; }
timeOf() {  # model: the least time less the start-up
    local t=()
    for ((i = 0; i < runs; ++i)); do t+=("$(seconds "$1")"); done
    printf '%s\n' "${t[@]}" | least | awk -v s="$startup" '{ v = $1 - s; printf "%.3f\n", (v > 0.001 ? v : 0.001) }'
}

printf "b 1 BTIMER\np 1 2\n" >"$work/empty.vireo"
startup=$(for ((i = 0; i < runs; ++i)); do seconds empty.vireo; done | least)
echo "start-up (a model of one block): $startup s, taken off the times below"

series() {  # model-maker label-format growth-words sizes...: the time of each, and its growth
    local make=$1 label=$2 words=$3 previous= t growth n
    shift 3
    for n in "$@"; do
        "$make" "$n" >"$work/$make-$n.vireo"
        t=$(timeOf "$make-$n.vireo")
        growth=${previous:+$(awk -v a="$t" -v b="$previous" -v w="$words" 'BEGIN { printf ", %.1f times %s", a / b, w }')}
        # shellcheck disable=SC2059  # the label is a format
        printf "$label: %s s%s\n" "$n" "$t" "$growth"
        previous=$t
    done
}
series chain "chain of %s blocks" "the chain ten times shorter" 1000 10000 100000
series nested "%s nested timers" "half as many" 500 1000
echo "(the least of $runs runs, CPU time)"
