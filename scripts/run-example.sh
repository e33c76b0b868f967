#!/usr/bin/env bash
# Installs what is needed, builds VIREO and runs the example models: a year of hourly sun
# positions and extraterrestrial radiation for Golden, Colorado, written to
# build/examples/sun-2023.csv; a year of hourly weather for Auckland read from a CSV file
# with a time-stamp column, with the sun of each hour, written to
# build/examples/weather-sun-2023.csv; three days of a parabolic-trough field with
# storage, written to build/examples/solar-field.csv; a year of hourly irradiance on a
# tilted surface by three sky models, written to build/examples/tilted-2023.csv; and a
# year of a solar hot-water system at 6-minute steps, written to build/examples/solar-dhw.csv,
# and of the same system with pipes and a controller, to solar-dhw-controlled.csv; and
# three days of the trough field with a steam cycle, to build/examples/trough-plant.csv.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
for example in sun-year:sun-2023 weather-year:weather-sun-2023 solar-field:solar-field tilted-year:tilted-2023 \
               solar-dhw:solar-dhw solar-dhw-controlled:solar-dhw-controlled trough-plant:trough-plant; do
  model=${example%%:*} result=build/examples/${example##*:}.csv
  build/bin/vireo "build/examples/$model.vireo"
  echo "written: $result ($(($(wc -l < "$result") - 1)) rows)"
done
