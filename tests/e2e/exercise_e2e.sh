#!/bin/bash
# An exercise in the real window: "Ü&bungen" > "Momentanpol" opens exercise 1;
# a click on the solution that planimove-render gives is judged "richtig"
# (the verdict in dark green), "N" opens exercise 2, and Enter with the
# pointer 60 mm beside its solution is judged "falsch" (the verdict and the
# answer's cross in red); "L" then shows the construction.
# Usage: exercise_e2e.sh <planimove> <planimove-render>
E2E_NAME=exercise
source "$(dirname "$0")/e2e_lib.sh"

[[ $# -eq 2 ]] || fail "usage: $0 <planimove> <planimove-render>"
PROGRAM=$1
RENDERER=$2
[[ -x "$RENDERER" ]] || fail "renderer not found: $RENDERER"
require_tools

RIGHT="rgb(0,128,0)"  # the verdict "richtig" and its cross
WRONG="rgb(255,0,0)"  # the verdict "falsch" and its cross (also the ring of C)

# The solution of exercise N of the Momentanpol, in drawing units ("X Y").
solution() {
  QT_QPA_PLATFORM=offscreen "$RENDERER" --exercise momentanpol --seed "$1" --solution --json - \
    2>/dev/null | python3 -c 'import json, sys; s = json.load(sys.stdin)["exercise"]["solution"]; print(s[0], s[1])'
}

# The screen pixel of a drawing point: the picture is fitted into the drawing
# area and centred, the user scale starting at y = 40.
screen_point() {
  python3 -c "
w, h, x, y, dx, dy = map(float, '$W $H $X $Y $1 $2'.split())
unit = min(w / 1022, h / 691)
print(round(x + (w - 1022 * unit) / 2 + dx * unit), round(y + (h - 691 * unit) / 2 + (dy - 40) * unit))"
}

start_xvfb 1366x768
start_app "$PROGRAM"
start=$(settled_shot start "")
read -r W H X Y < <(drawing_area "$start")
note "drawing area ${W}x${H} at $X,$Y"
AREA="${W}x${H}+${X}+${Y}"

# Extras, one menu to the right: "Ü&bungen"; "&Momentanpol".
press alt+x Right m
task=$(wait_for_picture "$start" "$AREA" 500 task)
(($(count_colour "$task" "$RIGHT" "$AREA") == 0)) || fail "a verdict before any answer"
red_task=$(count_colour "$task" "$WRONG" "$AREA")

read -r sx sy < <(solution 1)
read -r px py < <(screen_point "$sx" "$sy")
note "exercise 1: solution ($sx, $sy) at screen ($px, $py)"
xdotool mousemove --sync "$px" "$py" click 1
right=$(wait_for_picture "$task" "$AREA" 50 right)
green=$(count_colour "$right" "$RIGHT" "$AREA")
red=$(($(count_colour "$right" "$WRONG" "$AREA") - red_task))
((green > 100 && red <= 0)) || fail "the click on the solution is not judged right ($green green, $red more red pixels)"

press n
next=$(wait_for_picture "$right" "$AREA" 500 next)
(($(count_colour "$next" "$RIGHT" "$AREA") == 0)) || fail "N kept the verdict of exercise 1"
red_next=$(count_colour "$next" "$WRONG" "$AREA")
read -r sx sy < <(solution 2)
read -r px py < <(screen_point "$(python3 -c "print($sx + 60)")" "$sy")
xdotool mousemove --sync "$px" "$py"
press Return
wrong=$(wait_for_picture "$next" "$AREA" 50 wrong)
red=$(($(count_colour "$wrong" "$WRONG" "$AREA") - red_next))
((red > 100)) || fail "Enter 60 mm beside the solution is not judged wrong ($red more red pixels)"

press l
shown=$(wait_for_picture "$wrong" "$AREA" 200 solution)
note "verdicts: $green green, then $red more red pixels; the solution changed the picture"
press Escape
expect_exit_zero
