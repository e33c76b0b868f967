#!/usr/bin/env bash
# Installs what is needed, builds VIREO and runs the example models: a year of hourly sun
# positions and extraterrestrial radiation, written to build/examples/sun-2023.csv, and a
# year of a solar hot-water system at 6-minute steps, written to
# build/examples/solar-dhw.csv.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
for example in sun-year:sun-2023 solar-dhw:solar-dhw; do
    build/bin/vireo "build/examples/${example%%:*}.vireo"
    csv=build/examples/${example#*:}.csv
    echo "written: $csv ($(($(wc -l < "$csv") - 1)) rows)"
done
