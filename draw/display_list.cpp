// Names of the primitive kinds, as used in the JSON form of a display list.
#include "draw/display_list.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace pm {

std::size_t primitiveHash(const Primitive& p) {
  std::uint64_t h = 0xcbf29ce484222325ULL;
  auto mix = [&h](std::uint64_t v) {
    h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
  };
  // -0 and +0 are equal primitives, so they must hash alike.
  auto number = [&mix](double v) { mix(std::bit_cast<std::uint64_t>(v + 0.0)); };
  auto colour = [&mix](Rgb c) { mix((std::uint64_t{c.r} << 16) | (std::uint64_t{c.g} << 8) | c.b); };
  // The rest (angles, widths, fills, texts) rarely differs between
  // primitives of one place, kind and colour; hashing it would cost more
  // than the few comparisons it saves (every dot of a traced curve is hashed).
  mix(static_cast<std::uint64_t>(p.kind));
  for (double v : {p.x1, p.y1, p.x2, p.y2, p.r}) number(v);
  colour(p.colour);
  return static_cast<std::size_t>(h);
}

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
