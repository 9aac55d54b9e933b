// A place for a block of explanatory text where it covers as little of the
// picture already drawn as possible.
#pragma once

#include <span>

#include "draw/colour.h"
#include "draw/display_list.h"
#include "script/registers.h"

namespace pm {

// The top-left corner, among the candidates, of the width × height box that
// meets the fewest visible primitives of the list (points in the background
// colour only set text positions and do not count); the first of equals wins.
Point leastCoveredPlace(const DisplayList& list, Rgb background, double width, double height,
                        std::span<const Point> candidates);

}  // namespace pm
