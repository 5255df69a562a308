#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-format.sh
scripts/build.sh
BUILD_DIR=${TOVO_BUILD_DIR:-build}
cd "$BUILD_DIR"
ctest --output-on-failure -j2 --timeout 600
