#!/usr/bin/env bash
# The real window under an X server, driven by real mouse events: a link in one frame loads a
# page into the other, a frame border is dragged, Back and Forward step the frame's history
# and bring its scroll position back. What the window shows is read from the state report the
# program writes (LUMORA_STATE_FILE) and kept as screenshots (xwd) in the output folder.
#   frames_e2e.sh PATH/TO/lumora OUTPUT_DIR
set -u
LUMORA=$1
OUT=$2

for tool in Xvfb xdotool xwd; do
  if ! command -v "$tool" >/dev/null; then
    if [ "${CI:-}" = true ]; then
      echo "FAIL: $tool is not installed on CI (scripts/install-deps.sh installs it)"
      exit 1
    fi
    echo "SKIP: $tool is not installed (Debian packages xvfb, xdotool, x11-apps)"
    exit 77
  fi
done

rm -rf "$OUT"
mkdir -p "$OUT/pages"
PAGES=$OUT/pages
STATE=$OUT/state.txt
cat >"$PAGES/set.htm" <<'EOF'
<title>Two frames</title>
<frameset cols="40%,*"><frame name=left src=left.htm><frame name=right src=one.htm></frameset>
EOF
cat >"$PAGES/left.htm" <<'EOF'
<body bgcolor=white><a href="two.htm" target="right"><img src="none.gif" width=3000 height=3000 alt="two"></a>
EOF
{
  echo "<title>One</title><body bgcolor=white>"
  for i in $(seq 1 200); do echo "<p>Line $i of page one"; done
} >"$PAGES/one.htm"
echo '<title>Two</title><body bgcolor=red><p>Page two' >"$PAGES/two.htm"

PIDS=()
cleanup() {
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number.
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$OUT/display" >"$OUT/xvfb.log" 2>&1 &
PIDS+=($!)
NUMBER=
for _ in $(seq 1 200); do
  NUMBER=$(tr -dc 0-9 <"$OUT/display")
  [ -n "$NUMBER" ] && break
  sleep 0.1
done
[ -n "$NUMBER" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=:$NUMBER
export QT_QPA_PLATFORM=xcb
LUMORA_STATE_FILE=$STATE "$LUMORA" "$PAGES/set.htm" >"$OUT/lumora.log" 2>&1 &
PIDS+=($!)

FAILED=0
PASSED=0
check() { # description, then a command that must succeed
  local what=$1
  shift
  if "$@"; then
    PASSED=$((PASSED + 1))
    echo "ok: $what"
  else
    FAILED=$((FAILED + 1))
    echo "FAIL: $what"
    [ -f "$STATE" ] && sed 's/^/  | /' "$STATE"
  fi
}
wait_for() { # a pattern the state report must show within WAIT tenths of a second
  for _ in $(seq 1 "${WAIT:-150}"); do
    grep -q -- "$1" "$STATE" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}
value() { # the number after key= on the first line matching pattern
  grep -m1 -- "$1" "$STATE" | sed -n "s/.* $2=\(-\{0,1\}[0-9]*\).*/\1/p"
}
shot() { xwd -root -silent -out "$OUT/$1.xwd"; }

# The first start of the program may be slow on a busy machine: fonts, file lists.
WAIT=600 check "the window shows the frameset" wait_for "name=\"right\" src=\"$PAGES/one.htm\""
[ "$FAILED" = 0 ] || exit 1
sleep 0.5
shot start
VX=$(value '^Viewer' x)
VY=$(value '^Viewer' y)
LW=$(value 'name="left"' w)
LH=$(value 'name="left"' h)
RX=$(value 'name="right"' x)
RW=$(value 'name="right"' w)

# Scroll the right frame with the wheel, then follow the link in the left frame.
xdotool mousemove $((VX + RX + RW / 2)) $((VY + LH / 2))
xdotool click --repeat 8 --delay 50 5
sleep 0.5
check "the wheel scrolls the right frame" wait_for 'Position name="right" pos=[1-9]'
SCROLLED=$(value 'Position name="right"' pos)
xdotool mousemove $((VX + LW / 2)) $((VY + LH / 2)) click 1
check "a click on the link in the left frame loads page two on the right" \
  wait_for "name=\"right\" src=\"$PAGES/two.htm\""
check "the left frame keeps its page" wait_for "name=\"left\" src=\"$PAGES/left.htm\""
shot after-link

# Drag the border 120 pixels to the right; it goes where the mouse lets go of it, the left
# frame's last column of pixels.
BX=$((VX + LW - 1))
BY=$((VY + LH / 2))
xdotool mousemove $BX $BY
sleep 0.2
xdotool mousedown 1
for step in 30 60 90 120; do xdotool mousemove $((BX + step)) $BY; sleep 0.05; done
xdotool mouseup 1
check "dragging the border widens the left frame" wait_for "name=\"left\" .* w=$((LW + 119)) "
shot after-drag

BACK_X=$(($(value 'btnback' x) + $(value 'btnback' w) / 2))
BACK_Y=$(($(value 'btnback' y) + $(value 'btnback' h) / 2))
FWD_X=$(($(value 'btnfwd' x) + $(value 'btnfwd' w) / 2))
FWD_Y=$(($(value 'btnfwd' y) + $(value 'btnfwd' h) / 2))
xdotool mousemove $BACK_X $BACK_Y click 1
check "Back brings page one back into the right frame" wait_for "name=\"right\" src=\"$PAGES/one.htm\""
check "Back restores the scroll position of the right frame" \
  wait_for "Position name=\"right\" pos=$SCROLLED\$"
shot after-back
xdotool mousemove $FWD_X $FWD_Y click 1
check "Forward shows page two again" wait_for "name=\"right\" src=\"$PAGES/two.htm\""
check "the document stays the frameset" wait_for "^Document $PAGES/set.htm"
shot after-forward
for name in start after-link after-drag after-back after-forward; do
  check "screenshot $name was taken" test -s "$OUT/$name.xwd"
done

echo "$PASSED passed, $FAILED failed"
[ "$FAILED" = 0 ]
