// The diagrams over the crank angle as one picture: a plot per quantity
// (angles, ω, α of the links, speeds and accelerations of the points, the
// transmission angle, the slider's way), stacked, or in columns where the
// sheet is wide, under a common φ axis with the shown crank angle as a
// cursor. Drawn through a Canvas into a display list, so that the window,
// the page, PNG and SVG show the same picture.
#pragma once

#include <optional>
#include <vector>

#include "diagrams/motion_of_form.h"
#include "draw/canvas.h"

namespace pm {

// Where the plots lie on the sheet: what the pointer needs to pick an angle.
struct DiagramLayout {
  struct Box {
    double left = 0, top = 0, right = 0, bottom = 0;
  };
  std::vector<Box> plots;
  double first = 0, last = 0;  // φ at the left and right end of every plot (unwrapped degrees)
};

// A sheet of width × height drawing units: the backends show one unit as one
// pixel at that size. Texts grow with the sheet.
struct DiagramSheetSize {
  double width = 0, height = 0;
};

// Draws the sheet of `shown` (or, without a table, its reason) from (0, 0)
// to (width, height) on a cleared canvas.
DiagramLayout drawDiagrams(Canvas& canvas, const ShownTable& shown, DiagramSheetSize size);

// The crank angle (degrees, as φ is listed) under a point of the sheet, or
// nothing where the point lies in no plot.
std::optional<double> crankAngleAt(const DiagramLayout& layout, double x, double y);

}  // namespace pm
