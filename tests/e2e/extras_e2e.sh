#!/bin/bash
# The menu "E&xtras" in the real window: Alt+x opens it; the picture is saved
# as PNG and SVG and one revolution as an animation through the file dialogs
# into a temporary folder (the animation has the 90 frames of
# planimove-render --gif for the same keys); the picture copied to the
# clipboard is read back with xclip; F11 shows and hides the values panel, the
# drawing area shrinking beside it and growing back; F10 shows the diagrams
# over the crank angle as planimove-render draws them, their cursor follows
# Space, a click in a plot turns the crank, "Diagramme speichern …" writes the
# renderer's table; closing the window while an animation is recorded ends the
# program without a save dialog.
# Usage: extras_e2e.sh <planimove> <planimove-render> <picture folder> <close-request>
E2E_NAME=extras
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/pictures.sh"

[[ $# -eq 4 ]] || fail "usage: $0 <planimove> <planimove-render> <pictures> <close-request>"
PROGRAM=$1
RENDERER=$2
PICTURE_FOLDER=$3
CLOSE_REQUEST=$4
[[ -x "$RENDERER" ]] || fail "renderer not found: $RENDERER"
require_tools
command -v xclip >/dev/null 2>&1 || fail "missing tool: xclip (e.g. with tools/setup-debian.sh)"

# Velocity plan of the crank-rocker, crank turned two steps forward.
EVENTS="F3 Shift+Down Down Down Down Down Space Space"
PLATE="rgb(250,250,0)"      # the emblem's plate
PANEL="rgb(244,244,240)"    # the background of the values panel

start_xvfb 1280x1024
start_app "$PROGRAM"
# A window smaller than the screen, whose height leaves the picture no margin
# for the panel: the drawing area has to shrink beside it.
xdotool windowsize --sync "$WID" 900 560 2>/dev/null || xdotool windowsize "$WID" 900 560
xdotool windowmove --sync "$WID" 40 30 2>/dev/null || xdotool windowmove "$WID" 40 30
rm -f "$(settled_shot ready "")"
keys=()
for token in $EVENTS; do keys+=("$(xkey "$token")"); done
press "${keys[@]}"
sleep 0.3
picture=$(settled_shot picture "")
read -r W H X Y < <(drawing_area "$picture")
note "drawing area ${W}x${H} at $X,$Y"
OUT="$E2E_DIR/out"
mkdir -p "$OUT"

# Waits for a visible window of that exact name and focuses it (there is no
# window manager to do so); prints its id.
dialog() {
  local id
  id=$(timeout "$(limit 30)" xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
  if [[ -z "$id" ]]; then
    E2E_KEEP=1
    fail "no window \"$1\" appeared; screenshot $(shot "no-dialog")"
  fi
  xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
  sleep 0.3
  echo "$id"
}

# Opens "E&xtras" with Alt+x and chooses the item of an access letter. The
# main window is focused first: without a window manager the focus does not
# come back to it by itself (after a resize or a closed dialog).
extras() {
  xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"
  press alt+x
  sleep 1
  press "$1"
}

# Types a path into the file dialog that is open and confirms it.
type_path() {
  xdotool key --delay 60 ctrl+a
  xdotool type --delay 20 "$1"
  xdotool key --delay 60 Return
}

wait_for_file() {
  local deadline=$((SECONDS + $(limit 60)))
  until [[ -s "$1" ]]; do
    app_running || fail "the program ended while $1 was written"
    ((SECONDS < deadline)) || fail "$1 was not written"
    sleep 0.2
  done
  sleep 0.5
}

# --- Bild speichern: PNG and SVG at the drawing area's size ------------------
# A name typed with a dot at its end gets exactly the extension of the format.
for typed in bild. bild.svg; do
  extras s
  dialog "Bild speichern" >/dev/null
  type_path "$OUT/$typed"
  dialog "Bildbreite" >/dev/null
  press Return
  [[ "$typed" == *. ]] && typed=${typed}png
  wait_for_file "$OUT/$typed"
done
size=$(identify -format '%wx%h' "$OUT/bild.png")
[[ "$size" == "${W}x${H}" ]] || fail "the PNG is $size, the drawing area ${W}x${H}"
convert "$picture" -crop "${W}x${H}+${X}+${Y}" +repage -alpha off "png24:$E2E_DIR/area.png"
bad=$(differing_pixels "$E2E_DIR/area.png" "$OUT/bild.png")
((bad * 200 <= W * H)) || fail "the saved PNG differs from the window in $bad pixels"
grep -q "<svg" "$OUT/bild.svg" || fail "bild.svg is no SVG"
rsvg-convert -w "$W" -h "$H" -o "$E2E_DIR/svg.png" "$OUT/bild.svg" 2>/dev/null ||
  convert "$OUT/bild.svg" "$E2E_DIR/svg.png" || fail "bild.svg cannot be read"
[[ "$(identify -format '%wx%h' "$E2E_DIR/svg.png")" == "${W}x${H}" ]] || fail "the SVG has another size"
note "PNG and SVG saved at ${W}x${H}"

# --- Umlauf als Animation speichern -------------------------------------------
# The animation is always a GIF, whatever extension was typed.
extras u
dialog "Umlauf als Animation speichern" >/dev/null
type_path "$OUT/umlauf.png"
wait_for_file "$OUT/umlauf.gif"
[[ ! -e "$OUT/umlauf.png" ]] || fail "the animation was also written as umlauf.png"
frames=$(identify -format '%T %wx%h\n' "$OUT/umlauf.gif" | sort | uniq -c | sed 's/^ *//')
[[ "$frames" == "90 3 ${W}x${H}" ]] || fail "the animation: $frames (want 90 frames, 3 cs, ${W}x${H})"
(cd "$E2E_DIR" && "$RENDERER" --keys "$EVENTS 1" --size "${W}x${H}" --pictures "$PICTURE_FOLDER" \
  --gif "$E2E_DIR/renderer.gif") >>"$E2E_DIR/renderer.log" 2>&1 || fail "the renderer wrote no animation"
# Each animation split into its frames once (reading frame i of a GIF decodes
# all frames before it).
mkdir -p "$E2E_DIR/window-frames" "$E2E_DIR/renderer-frames"
convert "$OUT/umlauf.gif" -coalesce "png24:$E2E_DIR/window-frames/%02d.png" ||
  fail "the animation cannot be read"
convert "$E2E_DIR/renderer.gif" -coalesce "png24:$E2E_DIR/renderer-frames/%02d.png" ||
  fail "the renderer's animation cannot be read"
for ((i = 0; i < 90; i++)); do
  frame=$(printf "%02d.png" "$i")
  n=$(compare -metric AE "$E2E_DIR/window-frames/$frame" "$E2E_DIR/renderer-frames/$frame" null: 2>&1)
  [[ "$n" == 0 ]] || fail "frame $((i + 1)) of the animation differs from the renderer's in $n pixels"
done
# The state stands as before: the window shows the same picture.
after=$(settled_shot after-animation "")
n=$(pixels_changed "$picture" "$after" "${W}x${H}+${X}+${Y}")
((n == 0)) || fail "the picture changed by $n pixels after saving the animation"
note "animation of 90 frames equals the renderer's"

# --- Bild kopieren --------------------------------------------------------------
extras k
sleep 0.5
targets=$(timeout 10 xclip -selection clipboard -t TARGETS -o) || fail "xclip read no targets"
grep -qx "image/png" <<<"$targets" || fail "no image/png on the clipboard: $targets"
grep -qx "image/svg+xml" <<<"$targets" || fail "no image/svg+xml on the clipboard: $targets"
timeout 10 xclip -selection clipboard -t image/png -o >"$E2E_DIR/clip.png" || fail "xclip read no image"
[[ "$(identify -format '%wx%h' "$E2E_DIR/clip.png")" == "${W}x${H}" ]] || fail "the copied picture has another size"
bad=$(differing_pixels "$E2E_DIR/area.png" "$E2E_DIR/clip.png")
((bad * 200 <= W * H)) || fail "the copied picture differs from the window in $bad pixels"
timeout 10 xclip -selection clipboard -t image/svg+xml -o | grep -q "<svg" || fail "the copied SVG is no SVG"
note "clipboard holds image/png and image/svg+xml"

# --- F11: the values panel --------------------------------------------------------
region="${W}x${H}+${X}+${Y}"
plate_before=$(count_colour "$picture" "$PLATE" "$region")
[[ "$(count_colour "$picture" "$PANEL" "$region")" == 0 ]] || fail "a panel is shown before F11"
press F11
shown=$(wait_for_picture "$picture" "$region" 1000 panel)
panel=$(count_colour "$shown" "$PANEL" "$region")
plate_shown=$(count_colour "$shown" "$PLATE" "$region")
((panel > W * H / 10)) || fail "F11 showed no panel ($panel pixels of its colour)"
((plate_shown < plate_before)) || fail "the drawing area did not shrink ($plate_shown vs $plate_before plate pixels)"
press F11
hidden=$(wait_for_picture "$shown" "$region" 1000 hidden)
n=$(pixels_changed "$picture" "$hidden" "$region")
((n == 0)) || fail "after F11 twice the picture differs by $n pixels"
note "F11 shows the panel (emblem $plate_before → $plate_shown pixels) and hides it"

# --- F10: the diagrams over the crank angle -------------------------------------
SEPARATOR="rgb(180,180,170)"  # the line left of the diagrams
press F10
diagrams=$(wait_for_picture "$hidden" "$region" 1000 diagrams)
# The diagrams' left edge: the separator in the middle row of the drawing area.
left=$(convert "$diagrams" -crop "${W}x1+${X}+$((Y + H / 2))" +repage -alpha off -depth 8 txt:- |
  awk -F'[(),: ]+' 'NR > 1 && $3 == 180 && $4 == 180 && $5 == 170 {print $1; exit}')
[[ -n "$left" ]] || fail "F10 showed no diagrams"
DW=$((W - left))
note "diagrams ${DW}x${H} at the right of the drawing area"
# Against the renderer's sheet of that size, without the separator's column.
same_diagrams() {
  local shot=$1 events=$2 tag=$3 bad
  convert "$shot" -crop "$((DW - 1))x${H}+$((X + left + 1))+${Y}" +repage -alpha off "png24:$E2E_DIR/$tag-window.png"
  (cd "$E2E_DIR" && "$RENDERER" --keys "$events" --diagram-size "${DW}x${H}" --diagram-png "$E2E_DIR/$tag-full.png" \
    --diagram-csv "$E2E_DIR/$tag.csv") >>"$E2E_DIR/renderer.log" 2>&1 || fail "the renderer drew no diagrams"
  convert "$E2E_DIR/$tag-full.png" -crop "$((DW - 1))x${H}+1+0" +repage -alpha off "png24:$E2E_DIR/$tag-renderer.png"
  bad=$(differing_pixels "$E2E_DIR/$tag-window.png" "$E2E_DIR/$tag-renderer.png")
  ((bad * 200 <= DW * H)) || { E2E_KEEP=1; fail "the diagrams ($tag) differ from the renderer's in $bad pixels"; }
  note "diagrams ($tag) as the renderer's: $bad pixels differ"
}
same_diagrams "$diagrams" "$EVENTS" start
diagram_region="$((DW - 1))x${H}+$((X + left + 1))+${Y}"
press space
stepped=$(wait_for_picture "$diagrams" "$diagram_region" 50 stepped)
same_diagrams "$stepped" "$EVENTS Space" space
# "Diagramme speichern …" (the last item of the menu) as CSV: the renderer's table.
xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"
press alt+x
sleep 1
press Up Return
dialog "Diagramme speichern" >/dev/null
type_path "$OUT/tabelle.csv"
wait_for_file "$OUT/tabelle.csv"
cmp -s "$OUT/tabelle.csv" "$E2E_DIR/space.csv" || fail "the saved table differs from the renderer's"
note "the saved table is the renderer's ($(wc -l <"$OUT/tabelle.csv") lines)"
# A click in the upper half of the diagrams turns the crank: picture and cursor move.
xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"
before_click=$(settled_shot before-click "")
xdotool mousemove $((X + left + DW * 3 / 4)) $((Y + H / 4))
sleep 0.3
xdotool click 1
clicked=$(wait_for_picture "$before_click" "$((left - 1))x${H}+${X}+${Y}" 100 clicked)
n=$(pixels_changed "$before_click" "$clicked" "$diagram_region")
((n > 50)) || fail "the click moved the crank but not the cursor ($n pixels)"
note "a click in the diagrams turns the crank"
press F10
closed=$(wait_for_picture "$clicked" "$region" 1000 closed)
n=$(count_colour "$closed" "$SEPARATOR" "1x${H}+$((X + left))+${Y}")
((n < H / 2)) || fail "F10 did not hide the diagrams"

# --- Closing the window while the animation is recorded ------------------------
# The recording is cancelled and the program ends; no save dialog follows.
xdotool windowsize --sync "$WID" 1280 1000 2>/dev/null || xdotool windowsize "$WID" 1280 1000
sleep 0.5
extras u
sleep 0.3
"$CLOSE_REQUEST" "$WID" || fail "the close request could not be sent"
expect_exit_zero
if xdotool search --onlyvisible --name "^Umlauf als Animation speichern\$" >/dev/null 2>&1; then
  fail "the save dialog appeared after the window was closed"
fi
note "closing the window during the recording ends the program"
note "passed"
