#!/usr/bin/env bash
# Times the solar hot-water example year through the host, RUNS times (default 9) in
# turns at hourly and at 6-minute steps, and prints the medians of the wall-clock times
# (targets: 0.1 s hourly, 0.5 s at 6-minute steps), with the median of a run that does
# everything but the steps (the host with -s) beside them.
#   bench/run-solar-dhw.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-9}
empty=$(mktemp -d)
trap 'rm -rf "$empty"' EXIT

run() {  # model [option]
    VIREO_HOME=$build/lib VIREO_USER_BLOCKS=$empty VIREO_STATE_DIR=$empty VIREO_CONFIG_DIR=$empty \
        "$build/bin/vireo" "$build/examples/$1" -c ${2:+"$2"} >/dev/null
}

source "$(dirname "$0")/timing.sh"

for model in solar-dhw-hourly.vireo solar-dhw.vireo; do
    run "$model"  # warm the caches once
    t=() s=()
    for ((i = 0; i < runs; ++i)); do
        t+=("$(seconds run "$model")")
        s+=("$(seconds run "$model" -s)")
    done
    echo "$model: median $(printf '%s\n' "${t[@]}" | median) s of $runs runs (all: ${t[*]});" \
         "without the steps $(printf '%s\n' "${s[@]}" | median) s"
done
