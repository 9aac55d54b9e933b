// The picture of one command as a list of primitives in drawing units. The core
// records it; backends (Qt painter, PNG, SVG, JSON) replay it.
#pragma once

#include <cstdint>
#include <string>
#include <optional>
#include <utility>
#include <vector>

#include "draw/colour.h"

namespace pm {

// What a primitive belongs to, for the view (draw/view.h). The drawing moves
// and scales with the view; the grid moves with it too but frames nothing;
// notes (read-outs, reports, formulas) and the status lines and emblem stay
// where the picture puts them, and the status layer is left out of the
// projector mode and of clean exports.
enum class Layer : std::uint8_t { Drawing, Grid, Note, Status };

// How a primitive of the drawing follows the view's scale: a figure of the
// construction scales with it; a symbol (joint circle, arrowhead, label)
// keeps its size about its anchor; an arrow's shaft has its start in the
// construction and keeps the distance of its end from the tip, the anchor.
enum class Anchor : std::uint8_t { None, Whole, End };

struct Primitive {
  enum class Kind { Point, Line, Box, FilledBox, Circle, Arc, Text };
  Kind kind = Kind::Line;
  // Point: (x1, y1). Line: (x1, y1)-(x2, y2). Box: corners. Circle/Arc: centre
  // (x1, y1), radius r. Text: top-left corner (x1, y1).
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0, r = 0;
  // Arc: counterclockwise on screen from start to end (radians, both >= 0);
  // edgeStart/edgeEnd draw the radius lines; both set make a closed sector.
  double start = 0, end = 0;
  bool edgeStart = false, edgeEnd = false;
  Rgb colour;         // outline or text colour
  double width = 1;   // line width in drawing units
  int fillStyle = 1;  // 0 … 7 (circles, sectors)
  Rgb fillColour;
  std::u32string text;  // Text
  std::string font;     // Text: font name ("Arial", "Areal")
  double size = 0;      // Text: point size (96 dpi of the user scale)
  Layer layer = Layer::Drawing;
  Anchor anchor = Anchor::None;
  double ax = 0, ay = 0;  // the anchor, for Anchor::Whole and Anchor::End

  friend bool operator==(const Primitive&, const Primitive&) = default;
};

// A hash of the fields that tell primitives of a picture apart (kind, place,
// size and colour): equal primitives hash alike; operator== decides.
std::size_t primitiveHash(const Primitive& p);

using DisplayList = std::vector<Primitive>;

// Angle an arc covers, in radians: counterclockwise from start to end, through
// 0 when end < start; equal ends give the full circle (2π).
double arcSweep(const Primitive& arc);

// The part of the segment (x1, y1)–(x2, y2) inside the rectangle left … right,
// top … bottom, as the parameters 0 ≤ t0 ≤ t1 ≤ 1 of its ends along the
// segment (Liang–Barsky clipping); nothing when the segment misses it.
std::optional<std::pair<double, double>> clipSegment(double x1, double y1, double x2, double y2, double left,
                                                     double top, double right, double bottom);

// Kind names used in JSON ("point", "line", "box", "filledBox", "circle", "arc", "text").
const char* kindName(Primitive::Kind kind);

}  // namespace pm
