// Small circles drawn from cached stamps. Traced curves are drawn as dots: a
// synthesis picture holds thousands of circles a few pixels wide, and QPainter
// strokes and fills each one through its general path machinery (about 4 µs a
// dot). A stamp is the same circle drawn once by QPainter into a small
// transparent image, at the same scale and at the same sub-pixel offset
// (quantised to a quarter pixel); blitting it costs a fraction of that.
#pragma once

#include <QtGui/QImage>
#include <QtGui/QTransform>
#include <array>
#include <cstdint>
#include <unordered_map>

#include "draw/display_list.h"

class QPainter;

namespace pm {

class DotStamps {
 public:
  // Device pixels of the largest stamp's radius (circle plus half its outline);
  // larger circles are drawn by QPainter itself. Joint circles on a 4K screen
  // reach about 40 pixels, and QPainter strokes such a ring far more slowly
  // (tens of microseconds) than a stamp of 81 x 81 pixels is blended.
  static constexpr double kMaxRadius = 40;
  // Stamps and pixel bytes kept before the cache starts afresh (a resize or
  // zoom makes new ones).
  static constexpr std::size_t kMaxEntries = 4096;
  static constexpr std::size_t kMaxBytes = 32u << 20;

  // True when p is a circle that a stamp draws exactly as paintPrimitive would:
  // small on the device and filled solid or not at all (hatch patterns are
  // anchored to the device, not to the circle).
  static bool suits(const Primitive& p, const QTransform& device);

  // Draws p while the painter's coordinates are device pixels; device maps
  // drawing units to device pixels.
  void draw(QPainter& painter, const Primitive& p, const QTransform& device);

  // The same for a disc without outline (the round ends of wide lines):
  // whether it is small enough, and drawing it.
  static bool suitsDisc(double radius, const QTransform& device);
  void drawDisc(QPainter& painter, QPointF centre, double radius, Rgb colour, const QTransform& device);

 private:
  // Everything but the position that decides what a stamp looks like.
  struct Style {
    std::uint32_t colour = 0, fill = 0;
    int fillStyle = 0;
    double radius = 0, width = 0, scaleX = 0, scaleY = 0;
    bool operator==(const Style&) const = default;
  };
  struct Key {
    Style style;
    int quarters;  // 4 × quarter pixels in x + quarter pixels in y
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const;
  };
  struct Stamp {
    QImage image;
    int origin;  // device pixels from the stamp's corner to the whole-pixel centre
  };
  // The fill style of a disc's stamp.
  static constexpr int kDisc = -2;
  const Stamp& stamp(const Key& key, const Primitive& p);
  void blit(QPainter& painter, const Style& style, const Primitive& p, const QTransform& device);

  std::unordered_map<Key, Stamp, KeyHash> stamps_;
  std::size_t bytes_ = 0;
  // The stamps of the style used last, by quarters: dots of one curve share
  // their style, so most lookups end here.
  Style lastStyle_;
  std::array<const Stamp*, 16> lastStamps_{};
};

}  // namespace pm
