#!/usr/bin/env bash
# Installs what is needed, builds VIREO and runs the example model: a year of hourly sun
# positions and extraterrestrial radiation, written to build/examples/sun-2023.csv.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
build/bin/vireo build/examples/sun-year.vireo
echo "written: build/examples/sun-2023.csv ($(($(wc -l < build/examples/sun-2023.csv) - 1)) rows)"
