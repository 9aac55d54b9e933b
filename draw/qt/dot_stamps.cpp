#include "draw/qt/dot_stamps.h"

#include <QtGui/QPainter>
#include <algorithm>
#include <cmath>
#include <functional>

#include "draw/canvas.h"
#include "draw/qt/primitive_style.h"

namespace pm {
namespace {

std::uint32_t packed(Rgb c) { return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; }

double outlineWidth(const Primitive& p) { return outlinePen(p).widthF(); }

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
  std::size_t h = std::hash<double>()(k.radius);
  auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
  mix(k.colour);
  mix(k.fill);
  mix(static_cast<std::size_t>(k.fillStyle));
  mix(static_cast<std::size_t>(k.quarterX * 4 + k.quarterY));
  mix(std::hash<double>()(k.width));
  mix(std::hash<double>()(k.scaleX));
  mix(std::hash<double>()(k.scaleY));
  mix(std::hash<double>()(k.dpr));
  return h;
}

const DotStamps::Stamp& DotStamps::stamp(const Key& key, const Primitive& p) {
  if (auto found = stamps_.find(key); found != stamps_.end()) return found->second;
  if (stamps_.size() >= kMaxEntries) stamps_.clear();

  // Room for the circle, its outline and a pixel of antialiasing on each side.
  const int origin = static_cast<int>(std::ceil(kMaxRadius)) + 2;
  Stamp s{QImage(2 * origin + 1, 2 * origin + 1, QImage::Format_ARGB32_Premultiplied), origin};
  s.image.fill(Qt::transparent);
  QPainter painter(&s.image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setTransform(QTransform(key.scaleX, 0, 0, key.scaleY, origin + key.quarterX / 4.0,
                                  origin + key.quarterY / 4.0));
  Primitive centred = p;
  centred.x1 = 0;
  centred.y1 = 0;
  paintCircle(painter, centred, std::fabs(p.r));
  painter.end();
  s.image.setDevicePixelRatio(key.dpr);
  return stamps_.emplace(key, std::move(s)).first->second;
}

void DotStamps::draw(QPainter& painter, const Primitive& p, const QTransform& device, double dpr) {
  const QPointF centre = device.map(QPointF(p.x1, p.y1));
  int x = 0, y = 0;
  Key key{packed(p.colour), packed(p.fillColour), p.fillStyle == kFillSolid ? kFillSolid : -1, 0, 0,
          std::fabs(p.r), outlineWidth(p), device.m11(), device.m22(), dpr};
  split(centre.x(), x, key.quarterX);
  split(centre.y(), y, key.quarterY);
  if (key.fillStyle != kFillSolid) key.fill = 0;  // no fill: its colour does not matter
  const Stamp& s = stamp(key, p);
  painter.drawImage(QPointF((x - s.origin) / dpr, (y - s.origin) / dpr), s.image);
}

}  // namespace pm
