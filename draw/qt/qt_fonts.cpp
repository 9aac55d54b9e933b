// Font resolution and metrics for the Qt backend.
#include "draw/qt/qt_fonts.h"

#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtGui/QFontInfo>
#include <QtGui/QFontMetricsF>
#include <cmath>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "draw/text_metrics.h"

namespace pm {
namespace {

constexpr const char* kFallbackFamily = "Liberation Sans";

QString toQString(std::u32string_view text) {
  return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

// Pixel size of the oversampled font: at least 1, at most what QFont accepts.
int oversampledPixelSize(double pointSize) {
  double px = pixelSize(pointSize) * kFontOversampling;
  if (!std::isfinite(px) || px < 1) px = 1;
  return static_cast<int>(std::lround(std::min(px, 100000.0)));
}

}  // namespace

double fontUnitScale(double pointSize) {
  const double px = pixelSize(pointSize);
  const int oversampled = oversampledPixelSize(pointSize);
  return (std::isfinite(px) && px > 0 ? px : 1.0 / kFontOversampling) / oversampled;
}

void installFontSubstitutions() {
  static std::once_flag once;
  std::call_once(once, [] {
    QFont::insertSubstitution(QStringLiteral("Arial"), QString::fromLatin1(kFallbackFamily));
    QFont::insertSubstitution(QStringLiteral("Areal"), QString::fromLatin1(kFallbackFamily));
  });
}

QFont pictureFont(std::string_view name, double pointSize) {
  installFontSubstitutions();
  QFont font;
  font.setFamilies({QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())),
                    QString::fromLatin1(kFallbackFamily)});
  font.setPixelSize(oversampledPixelSize(pointSize));
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setStyleStrategy(QFont::PreferAntialias);
  font.setKerning(false);  // advances add up as in the width table
  return font;
}

const PictureFont& cachedPictureFont(std::string_view name, double pointSize) {
  struct Entry {
    std::string name;
    double pointSize;
    PictureFont font;
  };
  // A picture uses a handful of fonts; a short list searched from the front
  // is faster than hashing, and bounded.
  // Pictures are painted on the GUI thread only. The list is never destroyed:
  // a font must not be destroyed after the application object, which goes
  // first at exit.
  constexpr std::size_t kKept = 16;
  static auto& entries = *new std::vector<Entry>();
  for (const Entry& e : entries)
    if (e.pointSize == pointSize && e.name == name) return e.font;
  if (entries.size() >= kKept) entries.erase(entries.begin());
  QFont font = pictureFont(name, pointSize);
  entries.push_back({std::string(name), pointSize, PictureFont{font, QFontMetricsF(font)}});
  return entries.back().font;
}

double QtFontMetrics::width(std::string_view font, double pointSize,
                            std::u32string_view text) const {
  // Pictures print the same few labels and numbers in every frame; shaping a
  // text costs far more than looking its width up.
  struct Key {
    std::string font;
    double pointSize;
    std::u32string text;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const {
      return std::hash<std::u32string>()(k.text) ^ std::hash<std::string>()(k.font) ^
             std::hash<double>()(k.pointSize);
    }
  };
  constexpr std::size_t kKept = 4096;
  static std::unordered_map<Key, double, KeyHash> widths;
  Key key{std::string(font), pointSize, std::u32string(text)};
  if (auto found = widths.find(key); found != widths.end()) return found->second;
  if (widths.size() >= kKept) widths.clear();
  const QFontMetricsF& m = cachedPictureFont(font, pointSize).metrics;
  const double w = m.horizontalAdvance(toQString(text)) * fontUnitScale(pointSize);
  widths.emplace(std::move(key), w);
  return w;
}

double QtFontMetrics::lineHeight(std::string_view font, double pointSize) const {
  const QFontMetricsF& m = cachedPictureFont(font, pointSize).metrics;
  return m.height() * fontUnitScale(pointSize);
}

double QtFontMetrics::ascent(std::string_view font, double pointSize) const {
  const QFontMetricsF& m = cachedPictureFont(font, pointSize).metrics;
  return m.ascent() * fontUnitScale(pointSize);
}

const QtFontMetrics& qtFontMetrics() {
  static const QtFontMetrics metrics;
  return metrics;
}

}  // namespace pm
