#!/usr/bin/env bash
# Fails when a C++ file differs from .clang-format and names the files to run clang-format -i on.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
abweichend=$(clang-format --dry-run "${files[@]}" 2>&1 | grep -E '^[^:]+:[0-9]+:[0-9]+: (warning|error)' | cut -d: -f1 | sort -u || true)
if [ -n "$abweichend" ]; then
    echo "Nicht nach .clang-format formatiert (clang-format -i DATEI):" >&2
    echo "$abweichend" | sed 's/^/  /' >&2
    exit 1
fi
echo "Formatierung geprüft: ${#files[@]} Dateien."
