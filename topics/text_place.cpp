#include "topics/text_place.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace pm {
namespace {

struct Box {
  double x1, y1, x2, y2;
  bool contains(double x, double y) const { return x >= x1 && x <= x2 && y >= y1 && y <= y2; }
};

// Whether the segment p–q meets the box.
bool segmentMeets(const Box& b, double px, double py, double qx, double qy) {
  return clipSegment(px, py, qx, qy, b.x1, b.y1, b.x2, b.y2).has_value();
}

// Whether the outline of the circle about (cx, cy) with radius r meets the box.
bool circleMeets(const Box& b, double cx, double cy, double r) {
  const double nx = std::clamp(cx, b.x1, b.x2), ny = std::clamp(cy, b.y1, b.y2);
  if (std::hypot(nx - cx, ny - cy) > r) return false;  // the box lies outside
  const double fx = std::max(std::fabs(b.x1 - cx), std::fabs(b.x2 - cx));
  const double fy = std::max(std::fabs(b.y1 - cy), std::fabs(b.y2 - cy));
  return std::hypot(fx, fy) >= r;  // not wholly inside the circle
}

bool meets(const Box& b, const Primitive& p, Rgb background) {
  switch (p.kind) {
    case Primitive::Kind::Point:
      return p.colour != background && b.contains(p.x1, p.y1);
    case Primitive::Kind::Line:
      return segmentMeets(b, p.x1, p.y1, p.x2, p.y2);
    case Primitive::Kind::Box:
    case Primitive::Kind::FilledBox:
      return std::min(p.x1, p.x2) <= b.x2 && std::max(p.x1, p.x2) >= b.x1 &&
             std::min(p.y1, p.y2) <= b.y2 && std::max(p.y1, p.y2) >= b.y1;
    case Primitive::Kind::Circle:
    case Primitive::Kind::Arc:
      return circleMeets(b, p.x1, p.y1, p.r);
    case Primitive::Kind::Text: {
      // About half the point size per character, one point size high.
      const double w = 0.55 * p.size * static_cast<double>(p.text.size()), h = 1.4 * p.size;
      return p.x1 <= b.x2 && p.x1 + w >= b.x1 && p.y1 <= b.y2 && p.y1 + h >= b.y1;
    }
  }
  return false;
}

// A rectangle that holds everything of the primitive that meets() looks at:
// a primitive whose rectangle lies wholly beside a box cannot meet it.
Box extent(const Primitive& p) {
  switch (p.kind) {
    case Primitive::Kind::Point:
      return {p.x1, p.y1, p.x1, p.y1};
    case Primitive::Kind::Line:
    case Primitive::Kind::Box:
    case Primitive::Kind::FilledBox:
      return {std::min(p.x1, p.x2), std::min(p.y1, p.y2), std::max(p.x1, p.x2), std::max(p.y1, p.y2)};
    case Primitive::Kind::Circle:
    case Primitive::Kind::Arc:
      return {p.x1 - p.r, p.y1 - p.r, p.x1 + p.r, p.y1 + p.r};
    case Primitive::Kind::Text:
      return {p.x1, p.y1, p.x1 + 0.55 * p.size * static_cast<double>(p.text.size()), p.y1 + 1.4 * p.size};
  }
  return {};
}

bool apart(const Box& a, const Box& b) { return a.x2 < b.x1 || a.x1 > b.x2 || a.y2 < b.y1 || a.y1 > b.y2; }

}  // namespace

Point leastCoveredPlace(const DisplayList& list, Rgb background, double width, double height,
                        std::span<const Point> candidates) {
  // The extents once, so that each candidate looks closely only at the
  // primitives near it (the dots of traced curves are most of a picture).
  std::vector<Box> extents;
  extents.reserve(list.size());
  for (const Primitive& p : list) extents.push_back(extent(p));
  Point best{};
  std::size_t fewest = std::numeric_limits<std::size_t>::max();
  for (const Point& c : candidates) {
    const Box box{c.x, c.y, c.x + width, c.y + height};
    // Counting stops once the place is no better than the best so far.
    std::size_t n = 0;
    for (std::size_t i = 0; i < list.size() && n < fewest; ++i)
      if (!apart(extents[i], box) && meets(box, list[i], background)) ++n;
    if (n < fewest) {
      fewest = n;
      best = c;
    }
  }
  return best;
}

}  // namespace pm
