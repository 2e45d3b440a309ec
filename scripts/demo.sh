#!/usr/bin/env bash
# Installs what is missing, builds, creates the demo repository and generates
# its documents with both classes, each run into a folder and a log of its
# own; the plain text of the legacy class's enciphered files goes to
# DIR/deciphered. Usage: scripts/demo.sh [DIR]   (default DIR: ./movx20xmlgen-demo)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DMX_BUILD_TESTS=OFF >/dev/null
cmake --build build --target movx20xmlgen
build/src/cli/movx20xmlgen demo "${1:-movx20xmlgen-demo}"
