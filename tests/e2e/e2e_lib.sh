# shellcheck shell=bash
# Helpers of the end-to-end tests: a private X server, the program under test,
# key and mouse input through xdotool, and screenshots read with ImageMagick.
# Sourced by the test scripts (bash). Every helper that waits polls with a
# time limit, so a slow machine (sanitizer builds) only waits longer.

set -u

E2E_NAME=${E2E_NAME:-e2e}
# Multiplies every time limit; the sanitizer build runs far slower.
E2E_TIME_FACTOR=${E2E_TIME_FACTOR:-1}
E2E_DIR=""
XVFB_PID=""
APP_PID=""
APP_STATUS=""
WID=""

fail() {
  echo "FAIL [$E2E_NAME]: $*" >&2
  if [[ -n "$E2E_DIR" && -s "$E2E_DIR/app.log" ]]; then
    echo "--- program output ---" >&2
    tail -n 40 "$E2E_DIR/app.log" >&2
  fi
  # Inside a command substitution only the subshell would end: end the test.
  if [[ "$BASHPID" != "$$" ]]; then
    kill -TERM "$$"
  fi
  exit 1
}

note() { echo "[$E2E_NAME] $*"; }

# Seconds scaled by the time factor (integer).
limit() { echo $(($1 * E2E_TIME_FACTOR)); }

require_tools() {
  local missing=""
  for tool in Xvfb xdotool import convert compare; do
    command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
  done
  if [[ -n "$missing" ]]; then
    fail "missing tools:$missing (install the packages xvfb, xdotool and imagemagick," \
      "e.g. with tools/setup-debian.sh)"
  fi
}

# Ends the program under test, if it still runs.
stop_app() {
  if [[ -n "$APP_PID" ]] && kill -0 "$APP_PID" 2>/dev/null; then
    kill "$APP_PID" 2>/dev/null
    local deadline=$((SECONDS + 2))
    while kill -0 "$APP_PID" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.05; done
    kill -9 "$APP_PID" 2>/dev/null
    wait "$APP_PID" 2>/dev/null
  fi
  APP_PID=""
}

# Ends the X server (a test may start another one with another screen).
stop_xvfb() {
  if [[ -n "$XVFB_PID" ]] && kill -0 "$XVFB_PID" 2>/dev/null; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
  fi
  XVFB_PID=""
}

cleanup() {
  stop_app
  stop_xvfb
  if [[ -n "$E2E_DIR" && -d "$E2E_DIR" ]]; then
    if [[ -n "${E2E_KEEP:-}" ]]; then
      echo "[$E2E_NAME] screenshots kept in $E2E_DIR"
    else
      rm -rf "$E2E_DIR"
    fi
  fi
}

# Starts Xvfb on a display number it picks itself (-displayfd), so that tests
# running in parallel never collide. The screen is 1280x1024 unless the first
# argument gives another size (WxH), of 24-bit colour unless the second gives
# another depth.
start_xvfb() {
  local screen=${1:-1280x1024} depth=${2:-24}
  if [[ -z "$E2E_DIR" ]]; then
    E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/planimove-e2e.XXXXXX") || fail "no temporary folder"
  fi
  trap cleanup EXIT
  trap "exit 1" INT TERM
  local fdfile="$E2E_DIR/display"
  rm -f "$fdfile"
  Xvfb -displayfd 3 -screen 0 "${screen}x${depth}" -nolisten tcp -noreset \
    3>"$fdfile" >"$E2E_DIR/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local deadline=$((SECONDS + $(limit 15)))
  while [[ ! -s "$fdfile" ]] || ! grep -q '^[0-9][0-9]*$' "$fdfile"; do
    kill -0 "$XVFB_PID" 2>/dev/null || fail "Xvfb did not start: $(cat "$E2E_DIR/xvfb.log")"
    ((SECONDS < deadline)) || fail "Xvfb gave no display number"
    sleep 0.1
  done
  DISPLAY=":$(head -n 1 "$fdfile")"
  export DISPLAY
  note "Xvfb on $DISPLAY"
}

# Starts the program (first argument) in the temporary folder, so that no
# picture file of the working folder comes into view, and waits for "Form1".
start_app() {
  local program=$1
  [[ -x "$program" ]] || fail "program not found: $program"
  (cd "$E2E_DIR" && exec env QT_QPA_PLATFORM=xcb "$program") \
    >"$E2E_DIR/app.log" 2>&1 &
  APP_PID=$!
  WID=$(timeout "$(limit 30)" xdotool search --sync --onlyvisible --name '^Form1$' 2>/dev/null |
    head -n 1)
  [[ -n "$WID" ]] || fail "no visible window \"Form1\" appeared"
  xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"
  note "window $WID of process $APP_PID"
}

app_running() { kill -0 "$APP_PID" 2>/dev/null; }

# Sends keys (xdotool key names) to the focused window.
press() {
  app_running || fail "the program ended before the keys $*"
  xdotool key --delay 60 "$@"
}

# Writes a screenshot of the whole screen (the window fills it: no window
# manager) to a new file and prints the file name.
shot() {
  local file
  file="$E2E_DIR/shot-$(date +%s%N)-$1.png"
  import -window root "png24:$file" 2>>"$E2E_DIR/import.log" || fail "screenshot failed"
  echo "$file"
}

# Number of pixels of an exact colour ("rgb(r,g,b)") in a region WxH+X+Y of a
# screenshot (the whole screenshot when the region is empty).
count_colour() {
  local file=$1 colour=$2 region=${3:-}
  local crop=()
  [[ -n "$region" ]] && crop=(-crop "$region" +repage)
  convert "$file" "${crop[@]}" -alpha off +transparent "$colour" -alpha extract \
    -format '%[fx:round(mean*w*h)]' info:
}

# The colours "r,g,b" of pixels given as "x,y" arguments after the file, one
# line each (one ImageMagick call for all of them).
pixels_at() {
  local file=$1 format="" point x y
  shift
  for point in "$@"; do
    x=${point%,*}
    y=${point#*,}
    format+="%[fx:round(255*p{$x,$y}.r)],%[fx:round(255*p{$x,$y}.g)],%[fx:round(255*p{$x,$y}.b)]\n"
  done
  convert "$file" -alpha off -format "$format" info:
}

# Number of pixels in which two screenshots differ, in a region (or all).
pixels_changed() {
  local a=$1 b=$2 region=${3:-} n
  local extract=()
  [[ -n "$region" ]] && extract=(-extract "$region")
  # compare prints the count on stderr and exits 1 when the images differ.
  n=$(compare -metric AE "${extract[@]}" "$a" "$b" null: 2>&1)
  # Large counts may come in exponent form (1.2e+06).
  printf "%.0f\n" "${n%% *}" 2>/dev/null || fail "compare failed on $a and $b: $n"
}

# Black-and-white mask of the pixels of one exact colour in a screenshot.
colour_mask() {
  local file=$1 colour=$2 mask=$3
  convert "$file" -alpha off +transparent "$colour" -alpha extract "$mask"
}

# Takes screenshots until the region differs from a reference screenshot by
# more than a number of pixels and two screenshots in a row agree (the picture
# has settled); prints the last one. With minimum -1 it only waits for the
# picture to settle. Fails after the time limit.
wait_for_picture() {
  local reference=$1 region=$2 minimum=$3 label=$4 previous="" current
  local deadline=$((SECONDS + $(limit 30)))
  while true; do
    current=$(shot "$label")
    if ((minimum < 0)) || (($(pixels_changed "$reference" "$current" "$region") > minimum)); then
      if [[ -n "$previous" && "$(pixels_changed "$previous" "$current" "$region")" == 0 ]]; then
        rm -f "$previous"
        echo "$current"
        return
      fi
      [[ -n "$previous" ]] && rm -f "$previous"
      previous=$current
    else
      rm -f "$current"
    fi
    ((SECONDS < deadline)) || fail "the picture did not change or settle ($label)"
    sleep 0.2
  done
}

settled_shot() { wait_for_picture "" "$2" -1 "$1"; }

# Waits for the process to end by itself and checks its exit status.
expect_exit_zero() {
  local deadline=$((SECONDS + $(limit 10)))
  while app_running; do
    ((SECONDS < deadline)) || fail "the program still runs $(limit 10) s after the key"
    sleep 0.1
  done
  wait "$APP_PID"
  APP_STATUS=$?
  APP_PID=""
  [[ "$APP_STATUS" == 0 ]] || fail "the program ended with status $APP_STATUS"
  if grep -q -E 'ERROR: (Address|Leak|Undefined)Sanitizer|runtime error:' "$E2E_DIR/app.log"; then
    fail "the sanitizer reported a fault"
  fi
}

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
