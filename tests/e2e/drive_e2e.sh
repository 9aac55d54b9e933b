#!/bin/bash
# End-to-end test of the drive in a real X window: after Space the crank stays
# where it is while keys and menu commands only change the view, a
# full-revolution run (F7) leaves one picture, the same as a plain rebuild, and
# key storms during runs end within seconds of Esc.
# Usage: drive_e2e.sh <path of the planimove program>
E2E_NAME=drive
source "$(dirname "$0")/e2e_lib.sh"

[[ $# -eq 1 ]] || fail "usage: $0 <planimove program>"
require_tools
start_xvfb
start_app "$1"

CRANK="rgb(255,128,128)"  # palette m: crank X-A and the fill of joint A
AREA="1280x990+0+30"      # everything below the menu bar
# The left part of the drawing, where the mechanism of type 1 stands (the data
# read-out is printed at the right-hand side).
MECHANISM="900x700+0+200"

# Pixels of the crank's colour that differ between two screenshots.
crank_moved() {
  colour_mask "$1" "$CRANK" "$E2E_DIR/crank-a.png"
  colour_mask "$2" "$CRANK" "$E2E_DIR/crank-b.png"
  pixels_changed "$E2E_DIR/crank-a.png" "$E2E_DIR/crank-b.png" "$MECHANISM"
}

# Takes screenshots until one differs from the reference by more than a
# number of pixels; prints nothing. Used to see that a run has begun.
wait_for_change() {
  local reference=$1 minimum=$2 label=$3 current
  local deadline=$((SECONDS + $(limit 30)))
  while true; do
    current=$(shot "$label")
    if (($(pixels_changed "$reference" "$current" "$AREA") > minimum)); then
      rm -f "$current"
      return
    fi
    rm -f "$current"
    ((SECONDS < deadline)) || fail "the picture did not change ($label)"
    sleep 0.05
  done
}

# Analyse > Rautenwerk > Getriebe: a rebuild of the topic shown (key code 5).
menu_getriebe() {
  press alt+a
  press Right
  press g
}

start=$(settled_shot start "$AREA")
menu_getriebe
mechanism=$(wait_for_picture "$start" "$AREA" 500 getriebe)
(($(count_colour "$mechanism" "$CRANK") > 100)) || fail "no crank drawn in topic Getriebe"

note "one Space turns the crank one step"
press space
stepped=$(wait_for_picture "$mechanism" "$AREA" 20 space)
step=$(crank_moved "$mechanism" "$stepped")
((step > 40)) || fail "the crank did not move on Space ($step pixels of its colour changed)"
# Joint letters and the read-out may cover a few crank pixels; a step of the
# crank changes far more of them.
tolerance=$((step / 4))

note "F4 (joint letters) leaves the crank where it is"
press F4
letters=$(wait_for_picture "$stepped" "$AREA" 20 f4)
moved=$(crank_moved "$stepped" "$letters")
((moved <= tolerance)) || fail "F4 moved the crank ($moved pixels, a step is $step)"

note "F6 (data read-out) leaves the crank where it is"
press F6
readout=$(wait_for_picture "$letters" "$AREA" 20 f6)
moved=$(crank_moved "$stepped" "$readout")
((moved <= tolerance)) || fail "F6 moved the crank ($moved pixels, a step is $step)"

note "choosing the topic in the menu leaves the crank where it is"
menu_getriebe
sleep 0.5
menu=$(settled_shot menu "$AREA")
changed=$(pixels_changed "$readout" "$menu" "$AREA")
((changed == 0)) || fail "the menu rebuild changed the picture ($changed pixels)"

note "Enter rebuilds and moves nothing"
press Return
sleep 0.5
enter=$(settled_shot enter "$AREA")
changed=$(pixels_changed "$readout" "$enter" "$AREA")
((changed == 0)) || fail "Enter changed the picture ($changed pixels)"

note "F4 and F6 again: the picture right after Space comes back"
press F4 F6
back=$(wait_for_picture "$readout" "$AREA" 20 back)
changed=$(pixels_changed "$stepped" "$back" "$AREA")
((changed == 0)) || fail "the picture after Space did not come back ($changed pixels differ)"

note "F7 runs one revolution and leaves one picture"
press F4
before_run=$(wait_for_picture "$back" "$AREA" 20 letters-on)
press F7
wait_for_change "$before_run" 500 run
after_run=$(settled_shot after-run "$AREA")
moved=$(crank_moved "$before_run" "$after_run")
((moved <= tolerance)) || fail "the revolution did not end where it began ($moved pixels)"
menu_getriebe
sleep 0.5
rebuilt=$(settled_shot rebuilt "$AREA")
changed=$(pixels_changed "$after_run" "$rebuilt" "$AREA")
((changed == 0)) ||
  fail "the picture after F7 is not that of a rebuild ($changed pixels differ: two pictures?)"
changed=$(pixels_changed "$before_run" "$after_run" "$AREA")
((changed == 0)) || fail "the picture after one revolution differs from before ($changed pixels)"

note "Esc ends the program"
press Escape
expect_exit_zero

# Key storms during runs: a key that starts a run ends the running one instead
# of nesting another, and Esc is never lost, however many keys came first.
# Each storm ends with Esc; the program must be gone within 5 s of it.
storm() {  # label, xdotool delay in ms, keys ...
  local label=$1 delay=$2
  shift 2
  start_app "$storm_program"
  press 1
  xdotool key --delay "$delay" "$@"
  local esc=$SECONDS
  xdotool key Escape
  local deadline=$((esc + $(limit 5)))
  while app_running; do
    ((SECONDS <= deadline)) || fail "$label: the program still runs $(limit 5) s after Esc"
    sleep 0.1
  done
  wait "$APP_PID" || fail "$label: the program ended with status $?"
  APP_PID=""
  ! grep -q "verworfen" "$E2E_DIR/app.log" || fail "$label: keys were dropped: $(grep -m1 verworfen "$E2E_DIR/app.log")"
  note "$label: ended within $(limit 5) s of Esc"
}
ones=()
for ((i = 0; i < 70; i++)); do ones+=(1); done
storm_program=$1
storm "key 1, then 50 times 1 within 0.2 s" 4 "${ones[@]:0:50}"
storm "70 times 1 at 20 ms" 20 "${ones[@]}"
storm "runs, demonstration and steps mixed at 10 ms" 10 $(for ((i = 0; i < 20; i++)); do echo F7 5 space F2 2; done)
note "passed"
