#!/usr/bin/env bash
# Installs what is needed, builds VIREO and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
ctest --test-dir build -j "$(nproc)" --output-on-failure --timeout 600
