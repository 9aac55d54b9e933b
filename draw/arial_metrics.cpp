// Built-in Arial metrics: advance widths of Arial (and the metric-compatible
// Liberation Sans) in thousandths of an em, so that text can be laid out without
// any font files — in headless tests and command-line tools.
#include <array>
#include <cstdint>

#include "draw/recording_canvas.h"
#include "draw/text_metrics.h"

namespace pm {
namespace {

// clang-format off
// Advance widths of U+0020 … U+007E.
constexpr std::array<std::uint16_t, 95> kAsciiWidths = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333, 278, 278,  //  !"#$%&'()*+,-./
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556,                                // 0 … 9
    278, 278, 584, 584, 584, 556, 1015,                                              // :;<=>?@
    667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833,                 // A … M
    722, 778, 667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611,                 // N … Z
    278, 278, 278, 469, 556, 333,                                                    // [\]^_`
    556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500, 222, 833,                 // a … m
    556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500, 500,                 // n … z
    334, 260, 334, 584};                                                             // {|}~

// Advance widths of U+00A0 … U+00FF.
constexpr std::array<std::uint16_t, 96> kLatin1Widths = {
    278, 333, 556, 556, 556, 556, 260, 556, 333, 737, 370, 556, 584, 333, 737, 552,  // A0 … AF
    400, 549, 333, 333, 333, 576, 537, 278, 333, 333, 365, 556, 834, 834, 834, 611,  // B0 … BF
    667, 667, 667, 667, 667, 667, 1000, 722, 667, 667, 667, 667, 278, 278, 278, 278,  // C0 … CF
    722, 722, 778, 778, 778, 778, 778, 584, 778, 722, 722, 722, 722, 667, 667, 611,  // D0 … DF
    556, 556, 556, 556, 556, 556, 889, 500, 556, 556, 556, 556, 278, 278, 278, 278,  // E0 … EF
    556, 556, 556, 556, 556, 556, 556, 549, 611, 556, 556, 556, 556, 500, 556, 500};  // F0 … FF
// clang-format on

// A few further characters the program prints (Greek letters, dashes, quotes).
double otherWidth(char32_t c) {
  switch (c) {
    case U'\u2013':
      return 556;  // en dash
    case U'\u2014':
      return 1000;
    case U'\u2018':
    case U'\u2019':
      return 222;
    case U'\u201C':
    case U'\u201D':
    case U'\u201E':
      return 333;
    case U'\u2022':
      return 350;
    case U'\u20AC':
      return 556;
    case U'\u03B1':
      return 578;  // alpha
    case U'\u03B2':
      return 575;
    case U'\u03B3':
      return 500;
    case U'\u03B4':
      return 557;
    case U'\u03C6':
      return 648;  // phi
    case U'\u03C9':
      return 781;  // omega
    case U'\u03C0':
      return 690;  // pi
    default:
      return 556;
  }
}

class BuiltinArialMetrics final : public FontMetrics {
 public:
  double width(std::string_view, double pointSize, std::u32string_view text) const override {
    double units = 0;
    for (char32_t c : text) units += advanceUnits(c);
    return units / 1000.0 * pixelSize(pointSize);
  }
  double lineHeight(std::string_view, double pointSize) const override {
    return kArialLineHeightEm * pixelSize(pointSize);
  }

 private:
  static double advanceUnits(char32_t c) {
    if (c >= 0x20 && c <= 0x7E) return kAsciiWidths[c - 0x20];
    if (c >= 0xA0 && c <= 0xFF) return kLatin1Widths[c - 0xA0];
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return 0;  // control characters
    return otherWidth(c);
  }
};

}  // namespace

const FontMetrics& builtinArialMetrics() {
  static const BuiltinArialMetrics metrics;
  return metrics;
}

}  // namespace pm
