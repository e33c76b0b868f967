#!/usr/bin/env bash
# Installs what is needed, builds VIREO and runs the example model.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
build/bin/vireo || true
