#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite (core and program tests).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --tests
scripts/build.sh
cd build
ctest --output-on-failure -j2 --timeout 300
