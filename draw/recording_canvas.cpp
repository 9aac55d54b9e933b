// The recording canvas: every primitive goes into the display list in drawing
// units, together with the surface state it was drawn with. Primitives with a
// coordinate that is not a finite number are dropped here, so that no backend
// ever sees one.
#include "draw/recording_canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pm {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kMaxLineWidth = 1000;
constexpr double kMaxFontSize = 400;

bool finite(double a) { return std::isfinite(a); }
bool finite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

// An arc angle without its edge mark, reduced into [0, 2π].
double arcAngle(double a) {
  a = std::fabs(a);
  if (a > kTwoPi) a = std::fmod(a, kTwoPi);
  return a;
}

}  // namespace

RecordingCanvas::RecordingCanvas(const FontMetrics& metrics) : metrics_(metrics) {}

const DisplayList& RecordingCanvas::list() const {
  if (deadCount_ > 0) compact();
  return list_;
}

void RecordingCanvas::rehash(std::size_t capacity, std::size_t count) const {
  slots_.assign(capacity, 0);
  const std::size_t mask = capacity - 1;
  for (std::size_t i = 0; i < count; ++i) {
    if (dead_[i]) continue;
    std::size_t s = hashes_[i] & mask;
    while (slots_[s] != 0) s = (s + 1) & mask;
    slots_[s] = static_cast<std::uint32_t>(i + 1);
  }
}

void RecordingCanvas::settle() {
  const std::size_t index = list_.size() - 1;
  const Primitive& p = list_[index];
  // The same figure again right after itself (a script that begins with an
  // empty command repeats the command before it, mostly a dot of a traced
  // curve): the list stays as it is, which is what replacing the earlier copy
  // would give, at a fraction of the cost. The last primitive is always live.
  if (index > 0 && list_[index - 1] == p) {
    list_.pop_back();
    return;
  }
  const std::size_t hash = primitiveHash(p);
  hashes_.push_back(hash);
  dead_.push_back(0);
  // At most half the slots in use, so that probe runs stay short.
  if (2 * (list_.size() - deadCount_) > slots_.size())
    rehash(std::max<std::size_t>(1024, 2 * slots_.size()), index);
  const std::size_t mask = slots_.size() - 1;
  std::size_t s = hash & mask;
  for (; slots_[s] != 0; s = (s + 1) & mask) {
    const std::size_t other = slots_[s] - 1;
    if (hashes_[other] == hash && list_[other] == p) {
      // The earlier copy gives way; the slot now names the new one.
      dead_[other] = 1;
      ++deadCount_;
      break;
    }
  }
  slots_[s] = static_cast<std::uint32_t>(index + 1);
}

void RecordingCanvas::compact() const {
  std::size_t out = 0;
  for (std::size_t i = 0; i < list_.size(); ++i) {
    if (dead_[i]) continue;
    if (out != i) {
      list_[out] = std::move(list_[i]);
      hashes_[out] = hashes_[i];
    }
    ++out;
  }
  list_.resize(out);
  hashes_.resize(out);
  dead_.assign(out, 0);
  deadCount_ = 0;
  rehash(slots_.size(), out);
}

void RecordingCanvas::clear() {
  list_.clear();
  dead_.clear();
  hashes_.clear();
  std::fill(slots_.begin(), slots_.end(), 0);
  deadCount_ = 0;
  recording_ = true;
  width_ = 1;
  fillStyle_ = kFillTransparent;
  curX_ = 0;
  curY_ = 0;
  layer_ = Layer::Drawing;
  anchor_ = Anchor::None;
  anchorX_ = anchorY_ = 0;
}

void RecordingCanvas::setAnchor(Anchor anchor, double x, double y) {
  // An anchor that is no finite point anchors nothing.
  if (anchor == Anchor::None || !finite(x, y)) {
    anchor_ = Anchor::None;
    anchorX_ = anchorY_ = 0;
    return;
  }
  anchor_ = anchor;
  anchorX_ = x;
  anchorY_ = y;
}

void RecordingCanvas::setBackgroundColour(Rgb c) { background_ = c; }
Rgb RecordingCanvas::backgroundColour() const { return background_; }
void RecordingCanvas::setTextColour(Rgb c) { text_ = c; }
Rgb RecordingCanvas::textColour() const { return text_; }

void RecordingCanvas::setLineWidth(double w) {
  // Widths are whole or fractional drawing units, at least one.
  if (!std::isfinite(w) || w < 1) w = 1;
  width_ = std::min(w, kMaxLineWidth);
}

void RecordingCanvas::setFillStyle(int style) {
  fillStyle_ = (style >= kFillSolid && style <= kFillDiagonalCross) ? style : kFillTransparent;
}

void RecordingCanvas::setFillColour(Rgb c) { fill_ = c; }

void RecordingCanvas::point(double x, double y, Rgb c) {
  if (!finite(x, y)) return;
  Primitive& p = add();
  p.kind = Primitive::Kind::Point;
  p.x1 = x;
  p.y1 = y;
  p.colour = c;
  p.width = 1;
  if (recording_) settle();
  curX_ = x;
  curY_ = y;
}

void RecordingCanvas::line(double x1, double y1, double x2, double y2, Rgb c) {
  if (!finite(x1, y1) || !finite(x2, y2)) return;
  Primitive& p = add();
  p.kind = Primitive::Kind::Line;
  p.x1 = x1;
  p.y1 = y1;
  p.x2 = x2;
  p.y2 = y2;
  p.colour = c;
  p.width = width_;
  if (recording_) settle();
  curX_ = x2;
  curY_ = y2;
}

void RecordingCanvas::box(double x1, double y1, double x2, double y2, Rgb c, bool filled) {
  if (!finite(x1, y1) || !finite(x2, y2)) return;
  Primitive& p = add();
  p.kind = filled ? Primitive::Kind::FilledBox : Primitive::Kind::Box;
  p.x1 = x1;
  p.y1 = y1;
  p.x2 = x2;
  p.y2 = y2;
  p.colour = c;
  p.fillColour = c;
  p.width = width_;
  p.fillStyle = filled ? kFillSolid : kFillTransparent;
  if (recording_) settle();
  curX_ = x2;
  curY_ = y2;
}

// Inlined: every dot of a traced curve asks.
[[gnu::always_inline]] inline bool RecordingCanvas::repeatsLastCircle(double cx, double cy, double r,
                                                                      Rgb c) const {
  if (!recording_ || list_.empty()) return false;
  const Primitive& last = list_.back();
  return last.kind == Primitive::Kind::Circle && last.x1 == cx && last.y1 == cy && last.r == r &&
         last.colour == c && last.width == width_ && last.fillStyle == fillStyle_ &&
         last.fillColour == fill_ && last.layer == layer_ && last.anchor == anchor_ &&
         last.ax == anchorX_ && last.ay == anchorY_ && last.x2 == 0 && last.y2 == 0 &&
         last.start == 0 && last.end == 0 && !last.edgeStart && !last.edgeEnd &&
         last.text.empty() && last.font.empty() && last.size == 0;
}

// Inlined into dot() for the same reason.
[[gnu::always_inline]] inline void RecordingCanvas::addCircle(double cx, double cy, double r, Rgb c) {
  curX_ = cx;
  curY_ = cy;
  // The dot just drawn, drawn again: the list stays as it is.
  if (repeatsLastCircle(cx, cy, r, c)) return;
  Primitive& p = add();
  p.kind = Primitive::Kind::Circle;
  p.x1 = cx;
  p.y1 = cy;
  p.r = r;
  p.colour = c;
  p.width = width_;
  p.fillStyle = fillStyle_;
  p.fillColour = fill_;
  if (recording_) settle();
}

void RecordingCanvas::circle(double cx, double cy, double r, Rgb c) {
  if (!finite(cx, cy) || !finite(r)) return;
  addCircle(cx, cy, std::fabs(r), c);
}

void RecordingCanvas::dot(double cx, double cy, double r, Rgb c, double width, Rgb fill) {
  RecordingCanvas::setLineWidth(width);
  fillStyle_ = kFillSolid;
  fill_ = fill;
  if (finite(cx, cy) && finite(r)) {
    anchor_ = Anchor::Whole;  // a symbol at its centre
    anchorX_ = cx;
    anchorY_ = cy;
    addCircle(cx, cy, std::fabs(r), c);
  }
  // The symbol ends with the dot.
  anchor_ = Anchor::None;
  anchorX_ = anchorY_ = 0;
}

void RecordingCanvas::arc(double cx, double cy, double r, Rgb c, double start, double end) {
  if (!finite(cx, cy) || !finite(r) || !finite(start, end)) return;
  Primitive& p = add();
  p.kind = Primitive::Kind::Arc;
  p.x1 = cx;
  p.y1 = cy;
  p.r = std::fabs(r);
  p.start = arcAngle(start);
  p.end = arcAngle(end);
  p.edgeStart = start < 0;
  p.edgeEnd = end < 0;
  p.colour = c;
  p.width = width_;
  p.fillStyle = fillStyle_;
  p.fillColour = fill_;
  if (recording_) settle();
  curX_ = cx;
  curY_ = cy;
}

double RecordingCanvas::textWidth(std::u32string_view text) const {
  return metrics_.width(font_, size_, text);
}

std::string RecordingCanvas::fontName() const { return font_; }

void RecordingCanvas::setTextPosition(double x, double y) { point(x, y, background_); }

void RecordingCanvas::setFont(std::string_view name, double size) {
  font_ = std::string(name);
  if (std::isfinite(size) && size > 0) size_ = std::min(size, kMaxFontSize);
}

double RecordingCanvas::fontSize() const { return size_; }
double RecordingCanvas::textX() const { return curX_; }
double RecordingCanvas::textY() const { return curY_; }

void RecordingCanvas::print(std::u32string_view text, bool lineBreak) {
  if (!text.empty()) {
    Primitive& p = add();
    p.kind = Primitive::Kind::Text;
    p.x1 = curX_;
    p.y1 = curY_;
    p.colour = text_;
    p.text = std::u32string(text);
    p.font = font_;
    p.size = size_;
    if (recording_) settle();
  }
  if (lineBreak) {
    curX_ = 0;
    curY_ += metrics_.lineHeight(font_, size_);
  } else {
    curX_ += metrics_.width(font_, size_, text);
  }
}

}  // namespace pm
