// The narrow text interface the engine needs for the operations that print
// (31: label with subscript, 37: letters of the vector registers). The canvas
// implements it.
#pragma once

#include <string>
#include <string_view>

namespace pm {

class TextOutput {
 public:
  virtual ~TextOutput() = default;
  // Sets the current text position by painting a point in the background colour.
  virtual void setTextPosition(double x, double y) = 0;
  virtual void setFont(std::string_view name, double size) = 0;
  virtual double fontSize() const = 0;
  // Name of the current font (operation 31 changes only the size).
  virtual std::string fontName() const { return "Arial"; }
  virtual double textX() const = 0;
  virtual double textY() const = 0;
  // Prints with the top-left corner at the current position. Without a line break
  // the position advances behind the text; with one it returns to the left edge
  // (x = 0) on the next line.
  virtual void print(std::u32string_view text, bool lineBreak) = 0;
};

}  // namespace pm
