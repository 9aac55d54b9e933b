// The drawing surface as the core sees it. Coordinates are drawing units of the
// user scale (0, 40)–(1022, 731), y growing downward. The core only records into
// a canvas; backends (Qt painter, PNG, SVG, JSON) replay what was recorded.
#pragma once

#include <string>
#include <string_view>

#include "draw/colour.h"
#include "draw/display_list.h"
#include "script/text_output.h"

namespace pm {

// User scale of the picture.
inline constexpr double kScaleLeft = 0, kScaleTop = 40, kScaleRight = 1022, kScaleBottom = 731;
// The largest side in pixels of a picture file the user asks for (window and
// planimove-render): larger ones take seconds and gigabytes for nothing that
// a screen or a printer shows.
inline constexpr int kMaxPictureSide = 10000;

enum FillStyle : int {
  kFillSolid = 0,
  kFillTransparent = 1,
  kFillHorizontal = 2,
  kFillVertical = 3,
  kFillUpDiagonal = 4,
  kFillDownDiagonal = 5,
  kFillCross = 6,
  kFillDiagonalCross = 7,
};

class Canvas : public TextOutput {
 public:
  // Removes drawing and text (not the background picture); resets the surface
  // state to background cb, text colour, width 1, transparent fill, current font.
  virtual void clear() = 0;

  virtual void setBackgroundColour(Rgb c) = 0;
  virtual Rgb backgroundColour() const = 0;
  virtual void setTextColour(Rgb c) = 0;
  virtual Rgb textColour() const = 0;
  virtual void setLineWidth(double w) = 0;
  virtual void setFillStyle(int style) = 0;  // 0 … 7, see FillStyle
  virtual void setFillColour(Rgb c) = 0;

  // One pixel; also moves the current (text) position to (x, y).
  virtual void point(double x, double y, Rgb c) = 0;
  // Line with the current width; the current position moves to (x2, y2).
  virtual void line(double x1, double y1, double x2, double y2, Rgb c) = 0;
  // Rectangle outline, or filled with its colour.
  virtual void box(double x1, double y1, double x2, double y2, Rgb c, bool filled) = 0;
  // Full circle, filled according to the fill style.
  virtual void circle(double cx, double cy, double r, Rgb c) = 0;
  // A dot of the drawing, as a symbol anchored at its centre: what
  // setLineWidth(width), setFillStyle(kFillSolid), setFillColour(fill) and
  // circle(cx, cy, r, c) drawn under Symbol(*this, cx, cy) give, in one call
  // (a traced curve draws thousands). The anchor is none afterwards.
  virtual void dot(double cx, double cy, double r, Rgb c, double width, Rgb fill) = 0;
  // Arc counterclockwise on screen from start to end (radians, through 0 when
  // end < start). A negative angle -a means angle a with a radius line to that
  // end; both negative make a closed sector filled by the fill style.
  virtual void arc(double cx, double cy, double r, Rgb c, double start, double end) = 0;

  // Width of a text in drawing units in the current font (for tab columns).
  virtual double textWidth(std::u32string_view text) const = 0;
  virtual std::string fontName() const = 0;

  // While recording is off, drawing changes the surface state and the current
  // position as usual but leaves no primitive: a construction run only for the
  // registers it computes draws nothing. clear() turns recording on again.
  virtual void setRecording(bool on) = 0;

  // The layer and the anchor given to what is drawn from now on (see
  // display_list.h); clear() sets the drawing layer and no anchor.
  virtual void setLayer(Layer layer) = 0;
  virtual Layer layer() const = 0;
  virtual void setAnchor(Anchor anchor, double x, double y) = 0;
};

// Draws on a layer while it lives, then goes back to the layer before.
class OnLayer {
 public:
  OnLayer(Canvas& canvas, Layer layer) : canvas_(canvas), previous_(canvas.layer()) {
    canvas.setLayer(layer);
  }
  ~OnLayer() { canvas_.setLayer(previous_); }
  OnLayer(const OnLayer&) = delete;
  OnLayer& operator=(const OnLayer&) = delete;

 private:
  Canvas& canvas_;
  Layer previous_;
};

// A symbol of the drawing (or an arrow's shaft, Anchor::End) anchored at a
// point while it lives.
class Symbol {
 public:
  Symbol(Canvas& canvas, double x, double y, Anchor anchor = Anchor::Whole) : canvas_(canvas) {
    canvas.setAnchor(anchor, x, y);
  }
  ~Symbol() { canvas_.setAnchor(Anchor::None, 0, 0); }
  Symbol(const Symbol&) = delete;
  Symbol& operator=(const Symbol&) = delete;

 private:
  Canvas& canvas_;
};

}  // namespace pm
