#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package; prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
BUILD_DIR=${TOVO_BUILD_DIR:-build}
rm -f "$BUILD_DIR"/tovo-raumverw_*.deb
(cd "$BUILD_DIR" && cpack -G DEB >cpack.log) || { cat "$BUILD_DIR/cpack.log" >&2; exit 1; }
realpath "$BUILD_DIR"/tovo-raumverw_*.deb
