// The picture of one command as a list of primitives in drawing units. The core
// records it; backends (Qt painter, PNG, SVG, JSON) replay it.
#pragma once

#include <string>
#include <vector>

#include "draw/colour.h"

namespace pm {

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

  friend bool operator==(const Primitive&, const Primitive&) = default;
};

// A hash of the fields that tell primitives of a picture apart (kind, place,
// size and colour): equal primitives hash alike; operator== decides.
std::size_t primitiveHash(const Primitive& p);

using DisplayList = std::vector<Primitive>;

// Angle an arc covers, in radians: counterclockwise from start to end, through
// 0 when end < start; equal ends give the full circle (2π).
double arcSweep(const Primitive& arc);

// Kind names used in JSON ("point", "line", "box", "filledBox", "circle", "arc", "text").
const char* kindName(Primitive::Kind kind);

}  // namespace pm
