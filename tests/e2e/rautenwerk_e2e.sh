#!/bin/bash
# End-to-end test of Rautenwerk in a real X window: its own function keys for
# the grid and the data listing, then Esc.
# Usage: rautenwerk_e2e.sh <path of the rautenwerk program>
E2E_NAME=rautenwerk
source "$(dirname "$0")/e2e_lib.sh"

[[ $# -eq 1 ]] || fail "usage: $0 <rautenwerk program>"
require_tools
start_xvfb
start_app "$1"

GRID="rgb(220,220,220)"     # grid lines
LISTING="rgb(100,100,100)"  # text colour of the data listing

AREA="1280x990+0+30"        # everything below the menu bar
READOUT="260x330+1020+180"  # right-hand strip where the data listing is printed

start=$(settled_shot start "$AREA")
grid_before=$(count_colour "$start" "$GRID" "$AREA")

note "F5 switches the grid on"
press F5
grid=$(wait_for_picture "$start" "$AREA" 1000 f5)
grid_after=$(count_colour "$grid" "$GRID" "$AREA")
((grid_before < 100 && grid_after > 10000)) ||
  fail "no grid after F5 ($grid_before grid pixels before, $grid_after after)"

note "F7 shows the data listing"
listing_before=$(count_colour "$grid" "$LISTING" "$READOUT")
press F7
listing=$(wait_for_picture "$grid" "$READOUT" 100 f7)
listing_after=$(count_colour "$listing" "$LISTING" "$READOUT")
((listing_before == 0 && listing_after > 150)) ||
  fail "no data listing after F7 ($listing_before pixels before, $listing_after after)"

note "F5 again switches the grid off"
press F5
no_grid=$(wait_for_picture "$listing" "$AREA" 1000 f5-off)
grid_off=$(count_colour "$no_grid" "$GRID" "$AREA")
((grid_off < 100)) || fail "the grid stays after the second F5 ($grid_off grid pixels)"

note "Esc ends the program"
press Escape
expect_exit_zero
note "passed"
