#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program (on the demo project without argument).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
BUILD_DIR=${TOVO_BUILD_DIR:-build}
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "Kein Bildschirm gefunden: starte unter xvfb-run." >&2
    exec xvfb-run -a "$BUILD_DIR/bin/tovo-raumverw" "$@"
fi
exec "$BUILD_DIR/bin/tovo-raumverw" "$@"
