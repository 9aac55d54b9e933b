#!/bin/bash
# The real window shows exactly the picture that planimove-render computes for
# the same keys: for every picture of the list and three window geometries,
# the drawing area of a screenshot is compared pixel by pixel with the
# renderer's PNG at the same size. A picture fails when more than 0.5 % of its
# pixels differ by more than 48 in a colour channel; both pictures and their
# difference are then kept in $E2E_ARTIFACTS (beside the test log) or else in
# the temporary folder named in the log.
# Usage: window_matches_renderer.sh <program> <planimove-render> <planimove|rautenwerk> <picture folder>
# The picture folder is the one the program finds its background pictures in.
E2E_NAME=compare-$3
source "$(dirname "$0")/e2e_lib.sh"

[[ $# -eq 4 ]] || fail "usage: $0 <program> <planimove-render> <planimove|rautenwerk> <pictures>"
PROGRAM=$1
RENDERER=$2
EDITION=$3
PICTURE_FOLDER=$4
[[ -x "$RENDERER" ]] || fail "renderer not found: $RENDERER"
require_tools

# Pictures as "name|events": events in the renderer's notation, sent to the
# window as the same keys. Together they use every kind of primitive: traces
# with their dots, arrows, arcs and sectors, hatch-free fills, point circles,
# joint symbols, texts of both fonts and the background pictures.
if [[ "$EDITION" == planimove ]]; then
  PICTURES=(
    "coupler-curve|F3 Down Down Down Down Down Down Space Space"
    "centrodes|F3 Down Down Down Down Space Space Space Down"
    "velocity-plan|F3 Shift+Down Down Down Down Down"
    "burmester-mehmke|F3 Shift+Down Shift+Down Down Down Down Down Down"
    "inflection-circle|F3 Shift+Down Shift+Down Shift+Down Down Down Space"
    "path-curvature|F3 Shift+Down Shift+Down Shift+Down Down Down Down Down"
    "roberts|F3 Shift+Down Shift+Down Shift+Down Shift+Down Down Down Down"
    "six-bar|PgUp PgUp PgUp PgUp F3 Shift+Down Shift+Down Shift+Down Shift+Down Shift+Down Shift+Down Shift+Down"
    "coriolis|F3 Shift+Down Shift+Down Shift+Down Shift+Down Shift+Down Shift+Down Down Down Down Down Down Down"
    "synthesis|F3 4 Space Space"
    "example|F3 Shift+Down Shift+Down Shift+Down Shift+Down Shift+Down Shift+Down Shift+Down Shift+Down Down Down Down"
    "readout|F3 Shift+Down Down Down Down F6"
    "help|F1"
    "letters|F3 Shift+Down Down Down Down F4 F5"
    "start|"
  )
else
  PICTURES=(
    "coupler-curve|F9 Down Down Down Down Down Down Space"
    "velocity-plan|F9 Shift+Down Down Down Down Down F2"
    "grid-readout|F9 Shift+Down Shift+Down Down Down Down Down F5 F7"
    "help|F1"
  )
fi

# The xdotool name of a key in the renderer's notation.
xkey() {
  local token=$1 mods="" name
  while true; do
    case "$token" in
      Shift+*) mods+="shift+"; token=${token#Shift+} ;;
      Ctrl+*) mods+="ctrl+"; token=${token#Ctrl+} ;;
      Alt+*) mods+="alt+"; token=${token#Alt+} ;;
      *) break ;;
    esac
  done
  case "$token" in
    Space) name=space ;;
    Backspace) name=BackSpace ;;
    PgUp) name=Prior ;;
    PgDn) name=Next ;;
    [A-Z]) name=${token,,} ;;
    *) name=$token ;;
  esac
  echo "$mods$name"
}

# The drawing area of the window in screen pixels ("W H X Y"): the window's
# width, from the bottom of the menu bar (the first white row of the window's
# right-most column, which the picture leaves free) to the window's bottom.
drawing_area() {
  local file=$1 x y w h col top
  eval "$(xdotool getwindowgeometry --shell "$WID")"
  x=$X y=$Y w=$WIDTH h=$HEIGHT
  col=$(convert "$file" -crop "1x${h}+$((x + w - 1))+${y}" +repage -alpha off \
    -depth 8 txt:- | awk -F'[(),: ]+' 'NR > 1 && $3 == 255 && $4 == 255 && $5 == 255 {print $2; exit}')
  [[ -n "$col" ]] || fail "no drawing area found below the menu bar"
  top=$col
  echo "$w $((h - top)) $x $((y + top))"
}

# Pixels of two equally large pictures that differ by more than 48 in a channel.
differing_pixels() {
  convert "$1" "$2" -alpha off -compose difference -composite -separate \
    -evaluate-sequence max -threshold 18.9% -format '%[fx:round(mean*w*h)]' info:
}

FAILED=0
check_picture() {
  local geometry=$1 name=$2 events=$3 shot_file area w h x y window rendered bad total
  start_app "$PROGRAM"
  if [[ "$geometry" == window ]]; then
    # A small window away from the screen's corner.
    xdotool windowsize --sync "$WID" 900 560 2>/dev/null || xdotool windowsize "$WID" 900 560
    xdotool windowmove --sync "$WID" 57 43 2>/dev/null || xdotool windowmove "$WID" 57 43
  fi
  rm -f "$(settled_shot ready "")"
  local keys=() token
  for token in $events; do
    keys+=("$(xkey "$token")")
  done
  ((${#keys[@]} > 0)) && press "${keys[@]}"
  sleep 0.3
  shot_file=$(settled_shot "$name" "")
  read -r w h x y < <(drawing_area "$shot_file")
  window="$E2E_DIR/$geometry-$name-window.png"
  rendered="$E2E_DIR/$geometry-$name-renderer.png"
  convert "$shot_file" -crop "${w}x${h}+${x}+${y}" +repage -alpha off "png24:$window"
  (cd "$E2E_DIR" && "$RENDERER" --edition "$EDITION" --keys "$events" --size "${w}x${h}" \
    --pictures "$PICTURE_FOLDER" \
    --png "$rendered") >>"$E2E_DIR/renderer.log" 2>&1 || fail "renderer failed on $name"
  bad=$(differing_pixels "$window" "$rendered")
  total=$((w * h))
  stop_app
  rm -f "$shot_file"
  if ((bad * 200 > total)); then
    compare "$window" "$rendered" "$E2E_DIR/$geometry-$name-difference.png" 2>/dev/null
    if [[ -n "${E2E_ARTIFACTS:-}" ]]; then
      mkdir -p "$E2E_ARTIFACTS"
      cp "$window" "$rendered" "$E2E_DIR/$geometry-$name-difference.png" "$E2E_ARTIFACTS/"
    fi
    echo "FAIL [$E2E_NAME]: $geometry $name (${w}x${h} at $x,$y): $bad of $total pixels differ" >&2
    FAILED=1
    E2E_KEEP=1
  else
    note "$geometry $name: ${w}x${h} at $x,$y, $bad of $total pixels differ"
    [[ -n "${E2E_KEEP:-}" ]] || rm -f "$window" "$rendered"
  fi
}

for geometry in full-1280x1024 full-1366x768 window; do
  case $geometry in
    full-1280x1024 | window) start_xvfb 1280x1024 ;;
    full-1366x768) start_xvfb 1366x768 ;;
  esac
  for picture in "${PICTURES[@]}"; do
    # E2E_ONLY=name checks one picture (while looking into a difference).
    [[ -n "${E2E_ONLY:-}" && "${picture%%|*}" != "$E2E_ONLY" ]] && continue
    check_picture "$geometry" "${picture%%|*}" "${picture#*|}"
  done
  stop_xvfb
done

if ((FAILED)); then
  fail "the window and the renderer disagree; pictures kept in $E2E_DIR"
fi
note "passed"
