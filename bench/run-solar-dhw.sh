#!/usr/bin/env bash
# Times the solar hot-water example year through the host, RUNS times (default 9) in
# turns at hourly and at 6-minute steps, and prints the medians of the wall-clock times
# (target at 6-minute steps: 0.30 s) beside references measured in the same turns: the
# same model with its results written to /dev/null (what writing the file costs), a run
# that does everything but the steps (the host with -s), and, when REFERENCE_BUILD_DIR is
# given, the same model through another build (an earlier one, say).
#   bench/run-solar-dhw.sh [BUILD_DIR] [RUNS] [REFERENCE_BUILD_DIR]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-9}
reference=${3:+$(cd "$3" && pwd)}
empty=$(mktemp -d)
trap 'rm -rf "$empty"' EXIT

run() {  # build model [option]
    VIREO_HOME=$1/lib VIREO_USER_BLOCKS=$empty VIREO_STATE_DIR=$empty VIREO_CONFIG_DIR=$empty \
        "$1/bin/vireo" "$2" -c ${3:+"$3"} >/dev/null
}

source "$(dirname "$0")/timing.sh"
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "load: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
for model in solar-dhw-hourly.vireo solar-dhw.vireo; do
    # The same model writing to /dev/null, beside the weather it reads.
    null=$empty/null-$model
    for f in "$build"/examples/*.csv; do ln -sf "$f" "$empty/"; done
    sed "s#^p \([0-9]*\) 'solar-dhw[a-z-]*\.csv'#p \1 '/dev/null'#" "$build/examples/$model" >"$null"
    grep -q "'/dev/null'" "$null" || { echo "$model: no result file to redirect" >&2; exit 1; }
    run "$build" "$build/examples/$model"  # warm the caches once
    t=() n=() s=() r=()
    for ((i = 0; i < runs; ++i)); do
        t+=("$(seconds run "$build" "$build/examples/$model")")
        n+=("$(seconds run "$build" "$null")")
        s+=("$(seconds run "$build" "$build/examples/$model" -s)")
        if [[ -n $reference ]]; then r+=("$(seconds run "$reference" "$reference/examples/$model")"); fi
    done
    tm=$(printf '%s\n' "${t[@]}" | median)
    nm=$(printf '%s\n' "${n[@]}" | median)
    echo "$model: median $tm s of $runs runs (all: ${t[*]})"
    echo "    to /dev/null $nm s (file / null $(ratio "$tm" "$nm"));" \
         "without the steps $(printf '%s\n' "${s[@]}" | median) s"
    if [[ -n $reference ]]; then
        rm_=$(printf '%s\n' "${r[@]}" | median)
        echo "    reference build $rm_ s (this / reference $(ratio "$tm" "$rm_"))"
    fi
done
