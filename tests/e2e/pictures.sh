# shellcheck shell=bash
# The pictures that the pixel comparisons check, as "name|events": events in
# planimove-render's notation (the window gets the same keys). Together they
# use every kind of primitive: traces with their dots, arrows, arcs and
# sectors, fills, point circles, joint symbols, the texts of both fonts and the
# background pictures. pictures_of EDITION sets the array PICTURES.
pictures_of() {
  if [[ "$1" == planimove ]]; then
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
}

# Pixels of two equally large pictures that differ by more than 48 in a
# colour channel.
differing_pixels() {
  convert "$1" "$2" -alpha off -compose difference -composite -separate \
    -evaluate-sequence max -threshold 18.9% -format '%[fx:round(mean*w*h)]' info:
}
