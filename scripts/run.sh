#!/usr/bin/env bash
# Builds Lumora and opens it on the bundled demo start page.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
exec "$BUILD/lumora" "$@"
