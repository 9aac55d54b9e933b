// Names of the primitive kinds, as used in the JSON form of a display list.
#include "draw/display_list.h"

#include <cmath>
#include <numbers>

namespace pm {

double arcSweep(const Primitive& arc) {
  constexpr double kTwoPi = 2 * std::numbers::pi;
  auto reduced = [](double a) {
    a = std::fabs(a);
    return a > kTwoPi ? std::fmod(a, kTwoPi) : a;
  };
  double sweep = reduced(arc.end) - reduced(arc.start);
  if (sweep <= 0) sweep += kTwoPi;
  return sweep;
}

const char* kindName(Primitive::Kind kind) {
  switch (kind) {
    case Primitive::Kind::Point:
      return "point";
    case Primitive::Kind::Line:
      return "line";
    case Primitive::Kind::Box:
      return "box";
    case Primitive::Kind::FilledBox:
      return "filledBox";
    case Primitive::Kind::Circle:
      return "circle";
    case Primitive::Kind::Arc:
      return "arc";
    case Primitive::Kind::Text:
      return "text";
  }
  return "unknown";
}

}  // namespace pm
