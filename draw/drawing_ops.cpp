// The drawing operations 61 … 69. The engine hands over each category-6 command
// once; the per-position passes over positions 7 … length happen here. All
// operands are checked against the point bank before anything is drawn, so a
// faulty command draws nothing.
#include "draw/drawing_ops.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "draw/colour_tables.h"
#include "draw/label_tables.h"
#include "script/codes.h"
#include "script/registers.h"
#include "script/vector.h"

namespace pm {
namespace {

constexpr double kCoordinateLimit = 999999;
constexpr double kTraceLimit = 999;
constexpr double kTraceJumpSquared = 99999;
constexpr double kLongSegmentSquared = 9999999;
constexpr double kMaxArcRadius = 99999;
constexpr const char* kLabelFont = "Areal";
constexpr double kLabelSize = 14;

// Command positions.
constexpr int kMode = 3, kColour = 4, kWidth = 5, kDigit = 6, kFirstOperand = 7;

// The nearest integer, halves to the even neighbour.
double nearest(double x) {
  if (!std::isfinite(x)) return x;
  double r = std::round(x);  // halves away from zero
  if (std::fabs(x - std::trunc(x)) == 0.5) r = 2 * std::round(x / 2);
  return r;
}

inline double limit(double v) { return std::clamp(v, -kCoordinateLimit, kCoordinateLimit); }
inline Point limit(Point p) { return {limit(p.x), limit(p.y)}; }

bool inPointBank(int code) { return code >= 0 && code < Registers::kPointCount; }

}  // namespace

DrawingOps::DrawingOps(Engine& engine, Canvas& canvas) : engine_(engine), canvas_(canvas) {}

void DrawingOps::beginCommand() {
  traceX_ = 0;
  traceY_ = 0;
  traceStarted_ = false;
  labels_.clear();
}

void DrawingOps::printLabel(int operand, std::u32string_view text, double x, double y) {
  // Two labels of one point stand the difference of their circles' radii apart.
  constexpr double kSamePlace = 16;
  // Labels of two points that coincide (the inflection pole constructed twice)
  // would print over each other: the second goes one line lower.
  constexpr double kOverPrint = 6, kLine = 12;
  constexpr std::size_t kRemembered = 512;  // curve loops label no points; a bound all the same
  auto near = [](const Label& l, double px, double py, double d) {
    return std::abs(l.x - px) <= d && std::abs(l.y - py) <= d;
  };
  canvas_.setTextPosition(x, y);
  for (const Label& l : labels_)
    if ((l.operand == operand || l.text == text) && near(l, x, y, kSamePlace)) return;
  double below = y;
  for (int moved = 0; moved < 4; ++moved) {
    bool taken = false;
    for (const Label& l : labels_) taken |= near(l, x, below, kOverPrint);
    if (!taken) break;
    below += kLine;
  }
  if (labels_.size() < kRemembered) labels_.push_back({operand, std::u32string(text), x, below});
  if (below != y) canvas_.setTextPosition(x, below);
  canvas_.print(text, true);
}

// One category-6 command being executed: its codes and the registers it reads.
struct DrawingOps::Command {
  const int* codes;
  int length;
  const Registers& reg;

  int at(int position) const { return codes[position]; }
  Point point(int position) const {
    const int k = codes[position];
    return {reg.px[k], reg.py[k]};
  }
  int colourIndex() const { return codes[kColour] - code(U'a'); }
  int width() const { return codes[kWidth]; }
  int digit() const { return codes[kDigit]; }
};

namespace {

// Operand positions each operation reads: [first, last] with last >= first,
// or an empty range when the command is too short to name them.
struct OperandRange {
  int first;
  int last;
};

OperandRange operandsOf(int operation, int length) {
  switch (operation) {
    case 1:
      return {kFirstOperand, length == 10 ? 10 : 9};
    case 3:
    case 6:
      return {kDigit, length};
    case 7:
      return {kDigit, kFirstOperand};
    case 8:
      return {kFirstOperand, 8};
    default:
      return {kFirstOperand, length};
  }
}

}  // namespace

const char* DrawingOps::drawCommand(int operation, const int* codes, int length,
                                    std::u32string_view /*text*/) {
  if (codes == nullptr || length < kFirstOperand || operation < 1 || operation > 9) return nullptr;
  const OperandRange operands = operandsOf(operation, length);
  if (operands.last > length) return "drawing command too short for its point operands";
  for (int i = operands.first; i <= operands.last; ++i)
    if (!inPointBank(codes[i])) return "point operand outside the point bank";

  const Command cmd{codes, length, engine_.reg};
  // 61, 67 and 68 read fixed positions: every pass over positions 7 … length
  // would draw the same figure again. One figure is drawn, since overdrawing an
  // antialiased figure would darken its edges.
  switch (operation) {
    case 1:
      angleArc(cmd);
      return nullptr;
    case 7:
      arrow(cmd);
      return nullptr;
    case 8:
      tickMark(cmd);
      return nullptr;
    default:
      break;
  }
  for (int i = kFirstOperand; i <= length; ++i) {
    switch (operation) {
      case 2:
        jointCircle(cmd, i);
        break;
      case 3:
        framePivot(cmd, i);
        break;
      case 4:
        trace(cmd, i);
        break;
      case 5:
        pointCircle(cmd, i);
        break;
      case 6:
        polylineSegment(cmd, i);
        break;
      case 9:
        labelledCircle(cmd, i);
        break;
    }
  }
  return nullptr;
}

// 61: the arc of the smaller angle between the rays V→P7 and V→P9 at the vertex V = P8.
void DrawingOps::angleArc(const Command& cmd) {
  const Point v = cmd.point(8);
  const Point p1 = cmd.point(7);
  const Point p2 = cmd.point(9);
  Scratch& s = engine_.s;
  s.X = p1.x - v.x;
  s.Y = p1.y - v.y;
  polarScreen(s);
  double a1 = s.curAng;
  s.X = p2.x - v.x;
  s.Y = p2.y - v.y;
  polarScreen(s);
  double a2 = s.curAng;
  if (a2 - a1 < 0) std::swap(a1, a2);
  if (a2 - a1 > kPi) std::swap(a1, a2);

  const int w = cmd.width();
  const int d = cmd.digit();
  double r = 5.0 * d;
  int fill = kFillTransparent;
  bool edges = false;
  const bool tenCharacters = cmd.length == 10;
  Rgb outline;
  if (tenCharacters) {
    const Point q = cmd.point(10);
    r = std::hypot(q.x - v.x, q.y - v.y);
    if (d != 1) {
      edges = true;
      fill = d;
    }
  }
  if (tenCharacters && d == 8) {
    fill = kFillTransparent;
    canvas_.setLineWidth(nearest(w * settings.qbr));
    outline = paletteColour(palette, cmd.colourIndex());
  } else {
    if (cmd.at(kMode) == code(U')')) edges = !edges;
    canvas_.setLineWidth(w);
    outline = fixedColour(cmd.colourIndex());
  }
  const double green = nearest(25 * settings.qbr);
  canvas_.setFillColour(rgb(green, 255, green));
  canvas_.setFillStyle(fill);
  r = std::fabs(r);
  if (!(r <= kMaxArcRadius)) return;
  const Point c = limit(v);
  // An arc through a point belongs to the construction; an angle mark of a
  // fixed radius is a symbol at its vertex.
  const Symbol mark(canvas_, c.x, c.y, tenCharacters ? Anchor::None : Anchor::Whole);
  canvas_.arc(c.x, c.y, r, outline, edges ? -a1 : a1, edges ? -a2 : a2);
}

// 62: joint circle about the point at position i.
void DrawingOps::jointCircle(const Command& cmd, int i) {
  const int mode = cmd.at(kMode);
  if (mode == 0) {
    canvas_.setFillStyle(kFillTransparent);
  } else {
    canvas_.setFillStyle(kFillSolid);
    canvas_.setFillColour(mode == code(U'°') ? settings.cb
                                             : paletteColour(palette, mode - code(U'a')));
  }
  const double r = cmd.digit() * settings.qbr;
  double width = cmd.width();
  if (settings.qbr >= 1) width = nearest(width * settings.qbr * settings.qbr);
  canvas_.setLineWidth(width);
  const Point c = limit(cmd.point(i));
  const Symbol joint(canvas_, c.x, c.y);
  canvas_.circle(c.x, c.y, r, paletteColour(palette, cmd.colourIndex()));
  if (settings.qsc != 0) jointLetter(cmd.at(i), c.x + r, c.y + r);
}

// Letter of a joint (62, 63), not shown on the four-bar pole page.
void DrawingOps::jointLetter(int operand, double x, double y) {
  useLabelFont();
  canvas_.setLineWidth(1);
  if (settings.mn1 == 1 && settings.mn2 == 2)
    canvas_.setTextPosition(x, y);  // the pole page names its poles by the table instead
  else
    printLabel(operand, std::u32string(1, charOfCode(operand)), x, y);
}

void DrawingOps::useLabelFont() {
  canvas_.setFont(kLabelFont, kLabelSize);
  canvas_.setTextColour(fixedColour(0));
}

// 63: frame-pivot symbol at P = point i-1, turned toward Q = point i.
void DrawingOps::framePivot(const Command& cmd, int i) {
  const Point p = cmd.point(i - 1);
  const Point q = cmd.point(i);
  Scratch& s = engine_.s;
  s.X = q.x - p.x;
  s.Y = q.y - p.y;
  polarStd(s);
  const double t = s.curAng * 180 / kPi;
  // Whole degrees turned by a quarter, plus 0.01° so that every angle can carry
  // an edge mark (an angle of 0 cannot).
  auto quarter = [](double degrees) {
    const double whole = nearest(degrees);
    if (!std::isfinite(whole)) return 0.01;
    return std::fmod(whole, 360.0) + 0.01;
  };
  const double s0 = quarter(t);
  const double s1 = quarter(s0 + 90);
  const double s2 = quarter(s0 + 180);
  const double s3 = quarter(s0 + 270);
  const double r = 0.7 * cmd.width() * settings.qbr;
  const Rgb colour = paletteColour(palette, cmd.colourIndex());
  const Symbol pivot(canvas_, p.x, p.y);
  canvas_.setLineWidth(1);
  canvas_.setFillStyle(kFillSolid);
  canvas_.setFillColour(colour);
  canvas_.circle(p.x, p.y, r + 1, colour);
  canvas_.setFillColour(paletteColour(palette, 15));
  const double rad = kPi / 180;
  canvas_.arc(p.x, p.y, r, colour, -s0 * rad, -s1 * rad);
  canvas_.arc(p.x, p.y, r, colour, -s2 * rad, -s3 * rad);
  if (settings.qsc != 0) jointLetter(cmd.at(i - 1), p.x + r, p.y + r);
}

// 64: joins the traced point at position i to where it was at the previous step.
void DrawingOps::trace(const Command& cmd, int i) {
  const Point q = cmd.point(i);
  Scratch& s = engine_.s;
  s.X = traceX_;
  s.Y = traceY_;
  traceX_ = q.x;
  traceY_ = q.y;
  const double dx = q.x - s.X, dy = q.y - s.Y;
  if (dx * dx + dy * dy > kTraceJumpSquared) {
    s.X = q.x;
    s.Y = q.y;
  }
  if (!traceStarted_ || settings.traceCounter == 0) {
    s.X = q.x;
    s.Y = q.y;
    traceStarted_ = true;
  }
  // Written so that a coordinate that is not a number draws nothing either.
  if (!(s.X <= kTraceLimit && s.X >= -kTraceLimit && s.Y <= kTraceLimit && s.Y >= -kTraceLimit))
    return;
  // The first point of a trace, or the first after a jump, only marks where the
  // curve goes on: a segment of no length draws nothing.
  if (s.X == q.x && s.Y == q.y) return;
  canvas_.setLineWidth(cmd.width());
  canvas_.line(s.X, s.Y, q.x, q.y, fixedColour(cmd.colourIndex()));
}

// 65: small point circle about the point at position i.
void DrawingOps::pointCircle(const Command& cmd, int i) {
  const Point c = limit(cmd.point(i));
  canvas_.dot(c.x, c.y, cmd.digit(), fixedColour(cmd.colourIndex()), cmd.width(), settings.cb);
  if (settings.qßß != 0) {
    const Symbol label(canvas_, c.x, c.y);  // the label belongs to the dot
    useLabelFont();
    printLabel(cmd.at(i), std::u32string(1, charOfCode(cmd.at(i))), c.x, c.y);
  }
}

// 66: the segment from point i-1 to point i of a polyline.
void DrawingOps::polylineSegment(const Command& cmd, int i) {
  const Point p = cmd.point(i - 1);
  const Point q = cmd.point(i);
  const double dx = q.x - p.x, dy = q.y - p.y;
  if (dx * dx + dy * dy > kLongSegmentSquared && settings.qer == 0) return;
  Rgb colour;
  if (cmd.width() == 1) {
    canvas_.setLineWidth(1);
    colour = fixedColour(cmd.colourIndex());
  } else {
    canvas_.setLineWidth(std::max(1.0, nearest(cmd.width() * settings.qbr)));
    colour = paletteColour(palette, cmd.colourIndex());
  }
  const Point a = limit(p), b = limit(q);
  canvas_.line(a.x, a.y, b.x, b.y, colour);
}

// 67: vector from the tail at position 6 to the head at position 7, with a
// filled 30° wedge as arrowhead.
void DrawingOps::arrow(const Command& cmd) {
  const Point a = limit(cmd.point(kDigit));
  const Point b = limit(cmd.point(kFirstOperand));
  const int w = cmd.width();
  Scratch& s = engine_.s;
  s.X = b.x - a.x;
  s.Y = b.y - a.y;
  polarStd(s);
  const double length = s.curLen, t = s.curAng;
  auto raise = [](double e) {
    if (!std::isfinite(e)) return e;
    while (e < 0) e += 2 * kPi;
    return e;
  };
  const double e1 = raise((kPi - t) + 15 * kDeg);
  const double e2 = raise((kPi - t) - 15 * kDeg);
  const Point e{a.x + (length - 3 * w) * std::cos(t), a.y + (length - 3 * w) * std::sin(t)};
  const Rgb colour = fixedColour(cmd.colourIndex());
  {
    // The shaft ends where the head begins, at any scale of the view.
    const Symbol shaft(canvas_, b.x, b.y, Anchor::End);
    canvas_.setLineWidth(3);
    canvas_.line(a.x, a.y, e.x, e.y, colour);
    canvas_.setLineWidth(1);
    canvas_.line(a.x, a.y, e.x, e.y, fixedColour(0));
  }
  const Symbol head(canvas_, b.x, b.y);
  canvas_.setFillStyle(kFillSolid);
  canvas_.setFillColour(colour);
  canvas_.arc(b.x, b.y, 3 * w, fixedColour(0), -e2, -e1);
}

// 68: tick mark across the middle of the segment from point 7 to point 8.
void DrawingOps::tickMark(const Command& cmd) {
  const Point a = cmd.point(kFirstOperand);
  const Point b = cmd.point(8);
  Scratch& s = engine_.s;
  s.X = b.x - a.x;
  s.Y = b.y - a.y;
  polarScreen(s);
  const double angle = s.curAng;
  const double h = cmd.digit();
  const Point m{(a.x + b.x) / 2, (a.y + b.y) / 2};
  const Point u{std::cos(angle), -std::sin(angle)};
  const Point n{std::sin(angle), std::cos(angle)};
  const Point from = limit(Point{m.x - h * n.x + 2 * u.x, m.y - h * n.y + 2 * u.y});
  const Point to = limit(Point{m.x + h * n.x + 2 * u.x, m.y + h * n.y + 2 * u.y});
  const Symbol tick(canvas_, m.x, m.y);
  canvas_.setLineWidth(1);
  canvas_.line(from.x, from.y, to.x, to.y, fixedColour(cmd.colourIndex()));
}

// 69: labelled point circle about the point at position i.
void DrawingOps::labelledCircle(const Command& cmd, int i) {
  const int d = cmd.digit();
  const Point c = limit(cmd.point(i));
  canvas_.dot(c.x, c.y, d, fixedColour(cmd.colourIndex()), cmd.width(), settings.cb);
  if (settings.qsc != 0) {
    const Symbol label(canvas_, c.x, c.y);  // the label belongs to the dot
    useLabelFont();
    const int operand = cmd.at(i);
    printLabel(operand,
               settings.positionsBeside ? positionLabel(operand) : labelText(settings.mn1, settings.mn2, operand),
               c.x + d, c.y + d);
  }
}

}  // namespace pm
