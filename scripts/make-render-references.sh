#!/usr/bin/env bash
# Draws every demo page with lumora --render into tests/render/references, the pictures the
# render tests compare with pixel for pixel. Run it only when a change of the drawing is meant,
# look at every picture it writes before committing them, and use a machine with fonts-liberation
# (scripts/install-deps.sh): the references depend on those fonts.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
cmake -S . -B "$BUILD" -G Ninja >/dev/null
cmake --build "$BUILD" --target lumora
mkdir -p tests/render/references
for page in demo/*.htm demo/*.html demo/*.txt; do
  [ -f "$page" ] || continue
  name=$(basename "$page")
  QT_QPA_PLATFORM=offscreen "$BUILD/lumora" --render "$page" -o "tests/render/references/$name.png" \
    --width 800 --height 0
  echo "wrote tests/render/references/$name.png"
done
