#!/usr/bin/env bash
# Regenerates the screenshot shown in the README: the main window on the demo start page,
# drawn off screen, so no display is needed. The demo folder is put on a volume of its own in a
# private mount namespace, so the file pane shows the demo folder and nothing of this machine.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
cmake -S . -B "$BUILD" -G Ninja >/dev/null
cmake --build "$BUILD" --target lumora
mkdir -p docs
LUMORA="$PWD/$BUILD/lumora"
OUT="$PWD/docs/screenshot.png"
DEMO="$PWD/demo"
snapshot='mount -t tmpfs demo /mnt && mkdir /mnt/demo && cp -r "$2"/. /mnt/demo/ &&
  cd /mnt/demo && QT_QPA_PLATFORM=offscreen "$0" --snapshot "$1" /mnt/demo/Lumora.htm'
if unshare -rm true 2>/dev/null; then
  unshare -rm sh -c "$snapshot" "$LUMORA" "$OUT" "$DEMO"
else
  echo "warning: no private mount namespace here; the file pane shows this machine's folders" >&2
  (cd "$DEMO" && QT_QPA_PLATFORM=offscreen "$LUMORA" --snapshot "$OUT" "$DEMO/Lumora.htm")
fi
echo "wrote docs/screenshot.png"
