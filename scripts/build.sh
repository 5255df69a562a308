#!/usr/bin/env bash
# Configures and builds into build/ (or $TOVO_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${TOVO_BUILD_DIR:-build}
launcher=()
if command -v ccache >/dev/null; then
    # Paths below the parent folder are hashed relative to the build folder, so several
    # checkouts of the project share one cache.
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(cd .. && pwd)}
    export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
