// A canvas that records every primitive into a display list, in drawing units.
// Text layout needs font metrics while recording; the Qt backend supplies the
// real ones, and without it a built-in table of Arial advance widths is used.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

  // The picture of this command. A primitive exactly equal to one recorded
  // earlier in the same command (a repeated command, a label drawn by two
  // scripts) is kept once, at the place of its last copy: drawn over itself
  // an antialiased figure would darken, and the last copy keeps the order in
  // which figures cover each other.
  const DisplayList& list() const;

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
  void dot(double cx, double cy, double r, Rgb c, double width, Rgb fill) override;
  void arc(double cx, double cy, double r, Rgb c, double start, double end) override;
  double textWidth(std::u32string_view text) const override;
  std::string fontName() const override;
  void setRecording(bool on) override { recording_ = on; }
  void setLayer(Layer layer) override { layer_ = layer; }
  Layer layer() const override { return layer_; }
  void setAnchor(Anchor anchor, double x, double y) override;

  void setTextPosition(double x, double y) override;
  void setFont(std::string_view name, double size) override;
  double fontSize() const override;
  double textX() const override;
  double textY() const override;
  void print(std::u32string_view text, bool lineBreak) override;

 private:
  const FontMetrics& metrics_;
  // The primitive to fill in: a new one at the end of the list, or, while
  // recording is off, one that is thrown away. Every field is reset. Once it
  // is filled in, settle() drops an earlier copy of it.
  Primitive& add() {
    Primitive& p = recording_ ? list_.emplace_back() : (discarded_ = Primitive{});
    p.layer = layer_;
    p.anchor = anchor_;
    p.ax = anchorX_;
    p.ay = anchorY_;
    return p;
  }
  void settle();
  // Whether the last primitive is this circle (radius r ≥ 0) with the
  // current state, so that drawing it again would leave the list as it is
  // (see settle): decided without making a primitive. A field added to
  // Primitive must be compared there too.
  bool repeatsLastCircle(double cx, double cy, double r, Rgb c) const;
  // A circle (radius r ≥ 0) with the current state, unless it repeats the
  // last one; the current position moves to its centre.
  void addCircle(double cx, double cy, double r, Rgb c);
  // The table anew, over the first count primitives of the list.
  void rehash(std::size_t capacity, std::size_t count) const;
  void compact() const;

  // The list with the earlier copies still in place until the list is read;
  // dead_ marks them. slots_ is an open-addressing table of list indices + 1
  // (0 empty) over the live primitives, hashes_ their hashes.
  mutable DisplayList list_;
  mutable std::vector<std::uint8_t> dead_;
  mutable std::vector<std::size_t> hashes_;
  mutable std::vector<std::uint32_t> slots_;
  mutable std::size_t deadCount_ = 0;
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
  Layer layer_ = Layer::Drawing;
  Anchor anchor_ = Anchor::None;
  double anchorX_ = 0, anchorY_ = 0;
};

}  // namespace pm
