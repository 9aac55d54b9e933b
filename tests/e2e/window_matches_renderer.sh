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

source "$(dirname "$0")/pictures.sh"
pictures_of "$EDITION"

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
