#!/usr/bin/env bash
# Installs what is needed, builds VIREO and runs the example models: a year of hourly sun
# positions and extraterrestrial radiation (build/examples/sun-2023.csv), and three days
# of a parabolic-trough field with storage (build/examples/solar-field.csv).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
build/bin/vireo build/examples/sun-year.vireo
echo "written: build/examples/sun-2023.csv ($(($(wc -l < build/examples/sun-2023.csv) - 1)) rows)"
build/bin/vireo build/examples/solar-field.vireo
echo "written: build/examples/solar-field.csv ($(($(wc -l < build/examples/solar-field.csv) - 1)) rows)"
