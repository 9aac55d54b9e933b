#!/bin/bash
# End-to-end test of Planimove in a real X window: drives the program with the
# keyboard and the mouse as a person would and checks the screen; a display of
# few colours and missing fonts are named at start.
# Usage: planimove_e2e.sh <path of the planimove program>
E2E_NAME=planimove
source "$(dirname "$0")/e2e_lib.sh"

[[ $# -eq 1 ]] || fail "usage: $0 <planimove program>"
require_tools
start_xvfb
start_app "$1"

# Colours of the pictures at the start values of the palette (lo 128,
# mid 196, hi 256 counting as 255) and of the fixed colour table.
CRANK="rgb(255,128,128)"      # palette m: crank X-A and the fill of joint A
JOINT_B="255,128,255"         # palette n: fill of joint B (also the rocker)
RAY_BLUE="rgb(0,0,255)"       # fixed j: the pole rays through the velocity tips
LISTING="rgb(100,100,100)"    # text colour of the data read-out

# Everything below the menu bar (the menu bar shows which menu is open).
AREA="1280x990+0+30"
# Right-hand strip of the drawing area, where the data read-out is printed.
READOUT="260x330+1020+180"
# Bottom-left line with the case number and the name of the mechanism type.
TITLE="500x30+0+900"

start=$(settled_shot start "$AREA")

note "menu Analyse > Rautenwerk > Getriebe by the keyboard"
press alt+a
press Right
press g
mechanism=$(wait_for_picture "$start" "$AREA" 500 getriebe)
(($(count_colour "$mechanism" "$CRANK") > 100)) || fail "no crank drawn in topic Getriebe"

note "Space three times turns the crank"
press space space space
turned=$(wait_for_picture "$mechanism" "$AREA" 50 space)
colour_mask "$mechanism" "$CRANK" "$E2E_DIR/crank-before.png"
colour_mask "$turned" "$CRANK" "$E2E_DIR/crank-after.png"
moved=$(pixels_changed "$E2E_DIR/crank-before.png" "$E2E_DIR/crank-after.png")
((moved > 50)) || fail "the crank did not move on Space ($moved pixels of its colour changed)"

note "PgUp chooses the next mechanism type"
press Prior
next_type=$(wait_for_picture "$turned" "$AREA" 500 pgup)
title=$(pixels_changed "$turned" "$next_type" "$TITLE")
((title > 100)) || fail "the title of the mechanism type did not change on PgUp ($title pixels)"
(($(count_colour "$next_type" "$RAY_BLUE") == 0)) || fail "pole rays drawn before they were chosen"

note "menu Analyse > Geschwindigkeit > Polstrahlen"
press alt+a
press g
press p
rays=$(wait_for_picture "$next_type" "$AREA" 200 polstrahlen)
blue=$(count_colour "$rays" "$RAY_BLUE")
((blue > 150)) || fail "the pole rays are missing ($blue pixels of their blue)"

note "F6 shows the data read-out"
before=$(count_colour "$rays" "$LISTING" "$READOUT")
press F6
listing=$(wait_for_picture "$rays" "$READOUT" 100 f6)
after=$(count_colour "$listing" "$LISTING" "$READOUT")
((before == 0 && after > 150)) ||
  fail "no data read-out in the listing colour ($before pixels before F6, $after after)"

note "a smaller window, then B places joint B under the mouse"
xdotool windowsize --sync "$WID" 900 700 2>/dev/null || xdotool windowsize "$WID" 900 700
small=$(wait_for_picture "$listing" "" 1000 resize)
press alt+a
press Right
press g
small_mechanism=$(wait_for_picture "$small" "" 200 getriebe-small)
# A point away from the mechanism. At this window size one drawing unit is
# about 0.88 pixels, so the joint circle (radius 10, outline width 4) puts its
# outline about 9 pixels from its centre.
mouse_x=330
mouse_y=250
JOINT_OUTLINE="196,196,128"  # palette g: outline of the joints
ring=("$((mouse_x + 9)),$mouse_y" "$((mouse_x - 9)),$mouse_y" "$mouse_x,$((mouse_y + 9))"
  "$mouse_x,$((mouse_y - 9))")
under=$(pixels_at "$small_mechanism" "$mouse_x,$mouse_y")
[[ "$under" != "$JOINT_B" ]] || fail "joint B already lies under the chosen point"
xdotool mousemove --sync "$mouse_x" "$mouse_y" 2>/dev/null || xdotool mousemove "$mouse_x" "$mouse_y"
press b
placed=$(wait_for_picture "$small_mechanism" "" 50 key-b)
mapfile -t seen < <(pixels_at "$placed" "$mouse_x,$mouse_y" "${ring[@]}")
[[ "${seen[0]}" == "$JOINT_B" ]] ||
  fail "the pixel under the mouse is ${seen[0]}, not the fill of joint B ($JOINT_B)"
for i in 1 2 3 4; do
  [[ "${seen[i]}" == "$JOINT_OUTLINE" ]] ||
    fail "no joint outline around the mouse: ${ring[i - 1]} is ${seen[i]}, not $JOINT_OUTLINE"
done

note "Esc ends the program"
press Escape
expect_exit_zero

# A display of 256 colours and a system without fonts are named at start, in
# one message, and the program still runs and ends with Esc.
startup_message() {  # label, expected text
  grep -q "$2" "$E2E_DIR/app.log" || fail "$1: no message at start: $(cat "$E2E_DIR/app.log")"
  press Escape
  expect_exit_zero
  note "$1: named at start"
}
stop_xvfb
start_xvfb 1024x768 8
start_app "$1"
startup_message "an 8-bit display" "nur 8 Bit Farbtiefe"
stop_xvfb
start_xvfb
printf '<?xml version="1.0"?>\n<fontconfig></fontconfig>\n' >"$E2E_DIR/no-fonts.conf"
FONTCONFIG_FILE="$E2E_DIR/no-fonts.conf" start_app "$1"
startup_message "no fonts" "keine Schrift installiert"
note "passed"
