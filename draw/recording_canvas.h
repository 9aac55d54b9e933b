// A canvas that records every primitive into a display list, in drawing units.
// Text layout needs font metrics while recording; the Qt backend supplies the
// real ones, and without it a built-in table of Arial advance widths is used.
#pragma once

#include <string>
#include <string_view>

#include "draw/canvas.h"
#include "draw/display_list.h"

namespace pm {

class FontMetrics {
 public:
  virtual ~FontMetrics() = default;
  // Advance width and line height of a text in drawing units.
  virtual double width(std::string_view font, double pointSize, std::u32string_view text) const = 0;
  virtual double lineHeight(std::string_view font, double pointSize) const = 0;
};

// Arial metrics from a built-in width table (no font files needed).
const FontMetrics& builtinArialMetrics();

class RecordingCanvas : public Canvas {
 public:
  explicit RecordingCanvas(const FontMetrics& metrics = builtinArialMetrics());

  const DisplayList& list() const { return list_; }
  DisplayList& list() { return list_; }

  void clear() override;
  void setBackgroundColour(Rgb c) override;
  Rgb backgroundColour() const override;
  void setTextColour(Rgb c) override;
  Rgb textColour() const override;
  void setLineWidth(double w) override;
  void setFillStyle(int style) override;
  void setFillColour(Rgb c) override;
  void point(double x, double y, Rgb c) override;
  void line(double x1, double y1, double x2, double y2, Rgb c) override;
  void box(double x1, double y1, double x2, double y2, Rgb c, bool filled) override;
  void circle(double cx, double cy, double r, Rgb c) override;
  void arc(double cx, double cy, double r, Rgb c, double start, double end) override;
  double textWidth(std::u32string_view text) const override;
  std::string fontName() const override;
  void setRecording(bool on) override { recording_ = on; }

  void setTextPosition(double x, double y) override;
  void setFont(std::string_view name, double size) override;
  double fontSize() const override;
  double textX() const override;
  double textY() const override;
  void print(std::u32string_view text, bool lineBreak) override;

 private:
  const FontMetrics& metrics_;
  // The primitive to fill in: a new one at the end of the list, or, while
  // recording is off, one that is thrown away. Every field is reset.
  Primitive& add() {
    if (!recording_) return discarded_ = Primitive{};
    return list_.emplace_back();
  }

  DisplayList list_;
  bool recording_ = true;
  Primitive discarded_;
  Rgb background_ = rgb(255, 255, 255);
  Rgb text_ = rgb(100, 100, 100);
  double width_ = 1;
  int fillStyle_ = 1;
  Rgb fill_;
  std::string font_ = "Arial";
  double size_ = 10;
  double curX_ = 0, curY_ = 0;
};

}  // namespace pm
