// Small circles drawn from cached stamps. Traced curves are drawn as dots: a
// synthesis picture holds thousands of circles a few pixels wide, and QPainter
// strokes and fills each one through its general path machinery (about 4 µs a
// dot). A stamp is the same circle drawn once by QPainter into a small
// transparent image, at the same scale and at the same sub-pixel offset
// (quantised to a quarter pixel); blitting it costs a fraction of that.
#pragma once

#include <QtGui/QImage>
#include <QtGui/QTransform>
#include <cstdint>
#include <unordered_map>

#include "draw/display_list.h"

class QPainter;

namespace pm {

class DotStamps {
 public:
  // Device pixels of the largest stamp's radius (circle plus half its outline);
  // larger circles are drawn by QPainter itself.
  static constexpr double kMaxRadius = 8;
  // Entries kept before the cache starts afresh (a resize or zoom makes new ones).
  static constexpr std::size_t kMaxEntries = 4096;

  // True when p is a circle that a stamp draws exactly as paintPrimitive would:
  // small on the device and filled solid or not at all (hatch patterns are
  // anchored to the device, not to the circle).
  static bool suits(const Primitive& p, const QTransform& device);

  // Draws p with the painter's world transform set to identity; device maps
  // drawing units to device pixels, dpr is the device-pixel ratio.
  void draw(QPainter& painter, const Primitive& p, const QTransform& device, double dpr);

  std::size_t size() const { return stamps_.size(); }

 private:
  struct Key {
    std::uint32_t colour, fill;
    int fillStyle, quarterX, quarterY;
    double radius, width, scaleX, scaleY, dpr;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const;
  };
  struct Stamp {
    QImage image;
    int origin;  // device pixels from the stamp's corner to the whole-pixel centre
  };
  const Stamp& stamp(const Key& key, const Primitive& p);

  std::unordered_map<Key, Stamp, KeyHash> stamps_;
};

}  // namespace pm
