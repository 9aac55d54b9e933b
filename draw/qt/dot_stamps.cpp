#include "draw/qt/dot_stamps.h"

#include <QtGui/QPainter>
#include <algorithm>
#include <bit>
#include <cmath>

#include "draw/canvas.h"
#include "draw/qt/primitive_style.h"

namespace pm {
namespace {

std::uint32_t packed(Rgb c) { return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; }

double deviceRadius(const Primitive& p, const QTransform& device) {
  const double scale = std::max(std::fabs(device.m11()), std::fabs(device.m22()));
  return scale * (std::fabs(p.r) + outlineWidth(p) / 2);
}

// Splits a device coordinate into whole pixels and quarters of a pixel.
void split(double v, int& whole, int& quarter) {
  const double q = std::round(v * 4);
  const double w = std::floor(q / 4);
  whole = static_cast<int>(w);
  quarter = static_cast<int>(q - 4 * w);
}

}  // namespace

bool DotStamps::suits(const Primitive& p, const QTransform& device) {
  if (p.kind != Primitive::Kind::Circle) return false;
  if (p.fillStyle >= kFillHorizontal && p.fillStyle <= kFillDiagonalCross) return false;
  if (device.type() > QTransform::TxScale) return false;
  const double radius = deviceRadius(p, device);
  return std::isfinite(radius) && radius <= kMaxRadius;
}

std::size_t DotStamps::KeyHash::operator()(const Key& k) const {
  std::uint64_t h = 0;
  auto mix = [&h](std::uint64_t v) { h = (h ^ v) * 0x100000001b3ULL + (h >> 29); };
  mix(k.style.colour);
  mix(k.style.fill);
  mix(static_cast<std::uint64_t>(k.style.fillStyle));
  mix(static_cast<std::uint64_t>(k.quarters));
  for (double d : {k.style.radius, k.style.width, k.style.scaleX, k.style.scaleY})
    mix(std::bit_cast<std::uint64_t>(d));
  return static_cast<std::size_t>(h);
}

const DotStamps::Stamp& DotStamps::stamp(const Key& key, const Primitive& p) {
  if (auto found = stamps_.find(key); found != stamps_.end()) return found->second;
  if (stamps_.size() >= kMaxEntries || bytes_ >= kMaxBytes) {
    stamps_.clear();
    bytes_ = 0;
    lastStamps_.fill(nullptr);
  }

  // Room for the circle, its outline, the quarter-pixel offset and a pixel of
  // antialiasing on each side; no more, as every pixel of a stamp is blended.
  const double radius = std::max(std::fabs(key.style.scaleX), std::fabs(key.style.scaleY)) *
                        (key.style.radius + key.style.width / 2);
  const int origin = static_cast<int>(std::ceil(radius)) + 2;
  Stamp s{QImage(2 * origin + 1, 2 * origin + 1, QImage::Format_ARGB32_Premultiplied), origin};
  s.image.fill(Qt::transparent);
  QPainter painter(&s.image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setTransform(QTransform(key.style.scaleX, 0, 0, key.style.scaleY,
                                  origin + (key.quarters / 4) / 4.0, origin + (key.quarters % 4) / 4.0));
  Primitive centred = p;
  centred.x1 = 0;
  centred.y1 = 0;
  if (key.style.fillStyle == kDisc) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(toQColor(p.colour));
    painter.drawEllipse(QPointF(0, 0), std::fabs(p.r), std::fabs(p.r));
  } else {
    paintCircle(painter, centred, std::fabs(p.r));
  }
  painter.end();
  bytes_ += static_cast<std::size_t>(s.image.sizeInBytes());
  return stamps_.emplace(key, std::move(s)).first->second;
}

void DotStamps::draw(QPainter& painter, const Primitive& p, const QTransform& device) {
  const Style style{packed(p.colour),
                    p.fillStyle == kFillSolid ? packed(p.fillColour) : 0,  // no fill: colour moot
                    p.fillStyle == kFillSolid ? kFillSolid : -1,
                    std::fabs(p.r),
                    outlineWidth(p),
                    device.m11(),
                    device.m22()};
  blit(painter, style, p, device);
}

bool DotStamps::suitsDisc(double radius, const QTransform& device) {
  if (device.type() > QTransform::TxScale) return false;
  const double r = std::max(std::fabs(device.m11()), std::fabs(device.m22())) * radius;
  return std::isfinite(r) && r <= kMaxRadius;
}

void DotStamps::drawDisc(QPainter& painter, QPointF centre, double radius, Rgb colour,
                         const QTransform& device) {
  Primitive p;
  p.kind = Primitive::Kind::Circle;
  p.x1 = centre.x();
  p.y1 = centre.y();
  p.r = radius;
  p.colour = p.fillColour = colour;
  const Style style{packed(colour), packed(colour), kDisc, radius, 0, device.m11(), device.m22()};
  blit(painter, style, p, device);
}

void DotStamps::blit(QPainter& painter, const Style& style, const Primitive& p, const QTransform& device) {
  if (!(style == lastStyle_)) {
    lastStyle_ = style;
    lastStamps_.fill(nullptr);
  }
  // Scale and translation only (checked by suits).
  const double cx = device.m11() * p.x1 + device.dx(), cy = device.m22() * p.y1 + device.dy();
  int x = 0, y = 0, qx = 0, qy = 0;
  split(cx, x, qx);
  split(cy, y, qy);
  const int quarters = 4 * qx + qy;
  const Stamp* s = lastStamps_[quarters];
  if (s == nullptr) s = lastStamps_[quarters] = &stamp(Key{style, quarters}, p);
  painter.drawImage(QPoint(x - s->origin, y - s->origin), s->image);
}

}  // namespace pm
