// The view transform of display lists, and framing the construction in the
// part of the picture that the fixed texts leave free.
#include "draw/view.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "draw/canvas.h"

namespace pm {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
// Room between the framed construction and the edge of the free area: the
// joint circles and labels reach beyond the points they stand at.
constexpr double kFramingMargin = 18;
// The free area is found on cells of this many units, each kept this far
// from what it must not cover.
constexpr double kCell = 4;
constexpr double kClearance = 4;

bool finite(double a) { return std::isfinite(a); }

bool hidden(Layer layer, const ViewOptions& o) {
  switch (o.content) {
    case Content::Construction:
      return layer != Layer::Drawing;
    case Content::Clean:
      if (layer == Layer::Status) return true;
      break;
    case Content::Whole:
      break;
  }
  return o.projector && layer == Layer::Status;
}

// Moves a primitive of the drawing or grid layer with the view; `strength`
// widens its lines and enlarges its symbols and texts.
void transform(Primitive& p, const View& v, double strength) {
  using K = Primitive::Kind;
  const Point anchor = v.toPicture({p.ax, p.ay});
  auto figure = [&](double& x, double& y) {
    x = v.scale * x + v.x;
    y = v.scale * y + v.y;
  };
  auto symbol = [&](double& x, double& y) {
    x = anchor.x + strength * (x - p.ax);
    y = anchor.y + strength * (y - p.ay);
  };
  const bool twoPoints = p.kind == K::Line || p.kind == K::Box || p.kind == K::FilledBox;
  switch (p.anchor) {
    case Anchor::None:
      figure(p.x1, p.y1);
      if (twoPoints) figure(p.x2, p.y2);
      if (p.kind == K::Circle || p.kind == K::Arc) p.r *= v.scale;
      break;
    case Anchor::Whole:
      symbol(p.x1, p.y1);
      if (twoPoints) symbol(p.x2, p.y2);
      p.r *= strength;
      break;
    case Anchor::End:
      figure(p.x1, p.y1);
      if (twoPoints) symbol(p.x2, p.y2);
      p.r *= strength;
      break;
  }
  if (p.anchor != Anchor::None) {
    p.ax = anchor.x;
    p.ay = anchor.y;
  }
  if (p.kind == K::Text) {
    p.size *= strength;
  } else if (p.kind != K::Point) {
    p.width *= strength;
  }
}

// Extends an area by a point.
struct Bounds {
  bool any = false;
  Area area;
  void add(double x, double y) {
    if (!finite(x) || !finite(y)) return;
    if (!any) {
      area = {x, y, x, y};
      any = true;
      return;
    }
    area.left = std::min(area.left, x);
    area.right = std::max(area.right, x);
    area.top = std::min(area.top, y);
    area.bottom = std::max(area.bottom, y);
  }
  void add(const Area& a) {
    add(a.left, a.top);
    add(a.right, a.bottom);
  }
};

// Whether a screen angle lies on the arc (counterclockwise from start over sweep).
bool onArc(double angle, double start, double sweep) {
  double d = std::fmod(angle - start, kTwoPi);
  if (d < 0) d += kTwoPi;
  return d <= sweep + 1e-12;
}

// The points of a primitive that frame it: its corners and ends, and points
// along its curve (the extremes and 64 between them, so that a circle
// reaching beyond the picture still frames the part of it that shows).
template <typename Add>
void framePoints(const Primitive& p, Add&& add) {
  using K = Primitive::Kind;
  if (p.anchor == Anchor::Whole) {
    add(p.ax, p.ay);  // a symbol keeps its size: its anchor frames it
    return;
  }
  switch (p.kind) {
    case K::Point:
      break;  // text positions and single pixels
    case K::Text:
      add(p.x1, p.y1);
      break;
    case K::Line:
    case K::Box:
    case K::FilledBox:
      add(p.x1, p.y1);
      add(p.anchor == Anchor::End ? p.ax : p.x2, p.anchor == Anchor::End ? p.ay : p.y2);
      break;
    case K::Circle:
    case K::Arc: {
      const bool arc = p.kind == K::Arc;
      const double start = arc ? std::fmod(std::fabs(p.start), kTwoPi) : 0;
      const double sweep = arc ? arcSweep(p) : kTwoPi;
      // Screen angles: y grows downward.
      auto at = [&](double a) { add(p.x1 + p.r * std::cos(a), p.y1 - p.r * std::sin(a)); };
      for (int quarter = 0; quarter < 4; ++quarter) {
        const double a = quarter * std::numbers::pi / 2;
        if (onArc(a, start, sweep)) at(a);
      }
      constexpr int kSamples = 64;
      for (int i = 0; i <= kSamples; ++i) at(start + sweep * i / kSamples);
      if (arc && (p.edgeStart || p.edgeEnd)) add(p.x1, p.y1);
      break;
    }
  }
}

// Where the fixed layers draw: boxes of texts, emblem plates and lines.
std::vector<Area> obstacles(const DisplayList& list, const ViewOptions& o, const FontMetrics& metrics) {
  using K = Primitive::Kind;
  std::vector<Area> out;
  for (const Primitive& p : list) {
    if ((p.layer != Layer::Note && p.layer != Layer::Status) || hidden(p.layer, o)) continue;
    Bounds b;
    switch (p.kind) {
      case K::Point:
        continue;  // text positions, painted in the background colour
      case K::Text:
        b.add(p.x1, p.y1);
        b.add(p.x1 + metrics.width(p.font, p.size, p.text), p.y1 + metrics.lineHeight(p.font, p.size));
        break;
      case K::Line:
      case K::Box:
      case K::FilledBox:
        b.add(p.x1, p.y1);
        b.add(p.x2, p.y2);
        break;
      case K::Circle:
      case K::Arc:
        b.add(p.x1 - p.r, p.y1 - p.r);
        b.add(p.x1 + p.r, p.y1 + p.r);
        break;
    }
    if (b.any) out.push_back(b.area);
  }
  return out;
}

// How large a drawing of the given size shows in an area, margins kept.
double fittingScale(const Area& area, const Area& drawn) {
  const double w = area.width() - 2 * kFramingMargin, h = area.height() - 2 * kFramingMargin;
  if (w <= 0 || h <= 0) return 0;
  // A drawing without extent in one direction is framed by the other.
  const double dw = std::max(drawn.width(), 1e-9), dh = std::max(drawn.height(), 1e-9);
  return std::min(w / dw, h / dh);
}

}  // namespace

View checkedView(const View& v) {
  if (!finite(v.scale) || !finite(v.x) || !finite(v.y) || v.scale < kMinViewScale ||
      v.scale > kMaxViewScale || std::fabs(v.x) > 1e7 || std::fabs(v.y) > 1e7)
    return View{};
  return v;
}

View zoomedAbout(const View& v, Point picture, double factor) {
  if (!finite(factor) || factor <= 0 || !finite(picture.x) || !finite(picture.y)) return v;
  const double scale = std::clamp(v.scale * factor, kMinViewScale, kMaxViewScale);
  const double k = scale / v.scale;
  // The drawing point under `picture` stays under it.
  View out{scale, picture.x - k * (picture.x - v.x), picture.y - k * (picture.y - v.y)};
  return checkedView(out) == out ? out : v;
}

View shifted(const View& v, double dx, double dy) {
  if (!finite(dx) || !finite(dy)) return v;
  const View out{v.scale, v.x + dx, v.y + dy};
  return checkedView(out) == out ? out : v;
}

DisplayList presented(const DisplayList& list, const ViewOptions& o) {
  DisplayList out;
  out.reserve(list.size());
  const View view = checkedView(o.view);
  const double strength = o.projector ? kProjectorStrength : 1;
  for (const Primitive& p : list) {
    if (hidden(p.layer, o)) continue;
    Primitive& q = out.emplace_back(p);
    if (p.layer == Layer::Drawing) {
      transform(q, view, strength);
    } else if (p.layer == Layer::Grid) {
      transform(q, view, 1);
    }
  }
  // The projector's larger joints would cover labels set beside them for
  // the normal size: the construction's labels are drawn last.
  if (o.projector)
    std::stable_partition(out.begin(), out.end(), [](const Primitive& p) {
      return !(p.layer == Layer::Drawing && p.kind == Primitive::Kind::Text);
    });
  return out;
}

bool showsBackground(const ViewOptions& o, bool helpPicture) {
  if (o.content != Content::Whole) return false;
  return helpPicture || !o.projector;
}

Area pictureArea() { return {kScaleLeft, kScaleTop, kScaleRight, kScaleBottom}; }

std::optional<Area> drawnArea(const DisplayList& list) {
  const Area picture = pictureArea();
  const double w = picture.width(), h = picture.height();
  const Area reach{picture.left - w, picture.top - h, picture.right + w, picture.bottom + h};
  Bounds b;
  auto add = [&](double x, double y) {
    if (x >= reach.left && x <= reach.right && y >= reach.top && y <= reach.bottom) b.add(x, y);
  };
  for (const Primitive& p : list)
    if (p.layer == Layer::Drawing) framePoints(p, add);
  if (!b.any) return std::nullopt;
  return b.area;
}

Area freeArea(const DisplayList& list, const ViewOptions& o, std::optional<Area> page,
              const Area& drawn) {
  const Area picture = pictureArea();
  std::vector<Area> blocked = obstacles(list, o, builtinArialMetrics());
  if (page && !page->empty()) blocked.push_back(*page);
  const int columns = static_cast<int>(std::ceil(picture.width() / kCell));
  const int rows = static_cast<int>(std::ceil(picture.height() / kCell));
  std::vector<char> free(static_cast<std::size_t>(columns) * rows, 1);
  for (const Area& a : blocked) {
    const int c0 = std::max(0, static_cast<int>(std::floor((a.left - kClearance - picture.left) / kCell)));
    const int c1 = std::min(columns - 1, static_cast<int>(std::floor((a.right + kClearance - picture.left) / kCell)));
    const int r0 = std::max(0, static_cast<int>(std::floor((a.top - kClearance - picture.top) / kCell)));
    const int r1 = std::min(rows - 1, static_cast<int>(std::floor((a.bottom + kClearance - picture.top) / kCell)));
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c) free[static_cast<std::size_t>(r) * columns + c] = 0;
  }
  // Every maximal free rectangle ends at some row with the height of one of
  // its columns: the columns' free heights above each row, scanned with a
  // stack, give them all.
  auto cellArea = [&](int left, int right, int bottom, int height) {
    return Area{picture.left + left * kCell, picture.top + (bottom - height + 1) * kCell,
                std::min(picture.right, picture.left + (right + 1) * kCell),
                std::min(picture.bottom, picture.top + (bottom + 1) * kCell)};
  };
  Area best{};
  double bestScale = -1, bestSize = -1;
  auto consider = [&](const Area& a) {
    const double s = fittingScale(a, drawn), size = a.width() * a.height();
    if (s > bestScale || (s == bestScale && size > bestSize)) {
      best = a;
      bestScale = s;
      bestSize = size;
    }
  };
  std::vector<int> height(static_cast<std::size_t>(columns), 0);
  std::vector<int> stack;
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c)
      height[c] = free[static_cast<std::size_t>(r) * columns + c] ? height[c] + 1 : 0;
    stack.clear();
    for (int c = 0; c <= columns; ++c) {
      const int h = c < columns ? height[c] : 0;
      while (!stack.empty() && height[stack.back()] >= h) {
        const int top = stack.back();
        stack.pop_back();
        const int left = stack.empty() ? 0 : stack.back() + 1;
        if (height[top] > 0) consider(cellArea(left, c - 1, r, height[top]));
      }
      stack.push_back(c);
    }
  }
  return bestScale < 0 ? picture : best;
}

std::optional<View> framingView(const DisplayList& list, const ViewOptions& o,
                                std::optional<Area> page) {
  const std::optional<Area> drawn = drawnArea(list);
  if (!drawn) return std::nullopt;
  const Area free = freeArea(list, o, page, *drawn);
  double scale = fittingScale(free, *drawn);
  if (!(scale > 0)) scale = kMinViewScale;
  scale = std::clamp(scale, kMinViewScale, kMaxViewScale);
  const double cx = (drawn->left + drawn->right) / 2, cy = (drawn->top + drawn->bottom) / 2;
  const double fx = (free.left + free.right) / 2, fy = (free.top + free.bottom) / 2;
  return checkedView(View{scale, fx - scale * cx, fy - scale * cy});
}

std::optional<Area> cropArea(const DisplayList& presentedList, double margin) {
  const Area picture = pictureArea();
  Bounds b;
  auto inside = [&](double x, double y) {
    return x >= picture.left && x <= picture.right && y >= picture.top && y <= picture.bottom;
  };
  auto add = [&](double x, double y) {
    if (inside(x, y)) b.add(x, y);
  };
  // The part of a segment inside the picture.
  auto addSegment = [&](double x1, double y1, double x2, double y2) {
    const auto t = clipSegment(x1, y1, x2, y2, picture.left, picture.top, picture.right, picture.bottom);
    if (!t) return;
    add(x1 + t->first * (x2 - x1), y1 + t->first * (y2 - y1));
    add(x1 + t->second * (x2 - x1), y1 + t->second * (y2 - y1));
  };
  using K = Primitive::Kind;
  for (const Primitive& p : presentedList) {
    if (p.layer != Layer::Drawing || p.kind == K::Point) continue;
    // In the presented list every primitive stands where it shows, symbols too.
    Primitive figure = p;
    figure.anchor = Anchor::None;
    if (p.kind == K::Line || p.kind == K::Box || p.kind == K::FilledBox) {
      addSegment(p.x1, p.y1, p.x2, p.y2);
    } else if (p.kind == K::Text) {
      // A label reaches about its size to the right and below its corner.
      if (inside(p.x1, p.y1)) add(std::min(picture.right, p.x1 + p.size * p.text.size() * 0.6),
                                  std::min(picture.bottom, p.y1 + p.size * 1.2));
      add(p.x1, p.y1);
    } else {
      framePoints(figure, add);
    }
  }
  if (!b.any) return std::nullopt;
  Area a{std::max(picture.left, b.area.left - margin), std::max(picture.top, b.area.top - margin),
         std::min(picture.right, b.area.right + margin), std::min(picture.bottom, b.area.bottom + margin)};
  if (a.empty()) return std::nullopt;
  return a;
}

}  // namespace pm
