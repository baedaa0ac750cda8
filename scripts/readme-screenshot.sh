#!/usr/bin/env bash
# Regenerates the screenshot shown in the README: the main window on the demo start page,
# drawn off screen, so no display is needed.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
cmake -S . -B "$BUILD" -G Ninja >/dev/null
cmake --build "$BUILD" --target lumora
mkdir -p docs
(cd "$BUILD" && QT_QPA_PLATFORM=offscreen ./lumora --snapshot "$OLDPWD/docs/screenshot.png" "$PWD/Lumora.htm")
echo "wrote docs/screenshot.png"
