# The timing helpers of the benchmark scripts, sourced by them.

wall() {  # the wall-clock time of a command, in seconds
    local start=$EPOCHREALTIME
    "$@"
    local end=$EPOCHREALTIME
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f\n", b - a }'
}
seconds() { wall "$@"; }

TIMEFORMAT='%3U %3S'
cpu() {  # the CPU time of a command, in seconds
    { time "$@"; } 2>&1 | awk '{ printf "%.3f\n", $1 + $2 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
