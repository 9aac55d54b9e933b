// Names of the primitive kinds, as used in the JSON form of a display list.
#include "draw/display_list.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace pm {

std::size_t primitiveHash(const Primitive& p) {
  // Each field multiplied by its own odd constant, the products folded
  // together, then the high bits folded down: the table takes the low bits,
  // and whole-number coordinates have none set in their low mantissa bits.
  // -0 and +0 are equal primitives, so they must hash alike.
  auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v + 0.0); };
  const std::uint64_t colour =
      (std::uint64_t{p.colour.r} << 16) | (std::uint64_t{p.colour.g} << 8) | p.colour.b;
  // The rest (angles, widths, fills, texts) rarely differs between
  // primitives of one place, kind and colour; hashing it would cost more
  // than the few comparisons it saves (every dot of a traced curve is hashed).
  std::uint64_t h = bits(p.x1) * 0x9e3779b97f4a7c15ULL;
  h ^= std::rotl(bits(p.y1) * 0xc2b2ae3d27d4eb4fULL, 21);
  h ^= std::rotl(bits(p.x2) * 0x165667b19e3779f9ULL, 42);
  h ^= std::rotl(bits(p.y2) * 0xd6e8feb86659fd93ULL, 13);
  h ^= bits(p.r) * 0x27d4eb2f165667c5ULL;
  h ^= ((colour << 3) | static_cast<std::uint64_t>(p.kind)) * 0xff51afd7ed558ccdULL;
  h ^= h >> 32;
  h *= 0xc4ceb9fe1a85ec53ULL;
  h ^= h >> 29;
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

std::optional<std::pair<double, double>> clipSegment(double x1, double y1, double x2, double y2, double left,
                                                     double top, double right, double bottom) {
  double t0 = 0, t1 = 1;
  const double dx = x2 - x1, dy = y2 - y1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - left, right - x1, y1 - top, bottom - y1};
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0) {
      if (q[k] < 0) return std::nullopt;
      continue;
    }
    const double t = q[k] / p[k];
    if (p[k] < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return std::nullopt;
  }
  return std::pair{t0, t1};
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
