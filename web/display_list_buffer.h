// A display list in the form the page's painter reads without parsing: a flat
// array of numbers, a fixed number per primitive, and the texts in one UTF-8
// string. Handing this over costs one copy per picture, not a JSON document.
#pragma once

#include <string>
#include <vector>

#include "draw/display_list.h"

namespace pm {

// Numbers of one primitive in the flat array, in this order.
enum PrimitiveField : int {
  kFieldKind,  // Primitive::Kind as a number
  kFieldX1,
  kFieldY1,
  kFieldX2,
  kFieldY2,
  kFieldR,
  kFieldStart,
  kFieldEnd,
  kFieldEdges,   // 1 edgeStart, 2 edgeEnd
  kFieldColour,  // 0xRRGGBB
  kFieldWidth,
  kFieldFillStyle,
  kFieldFillColour,  // 0xRRGGBB
  kFieldSize,        // text: point size
  kFieldText,        // text: index into the texts, -1 for other kinds
  kFieldCount
};

// Separates the texts of a picture (no text of the program holds it).
inline constexpr char kTextSeparator = '\x1f';

class DisplayListBuffer {
 public:
  void fill(const DisplayList& list);
  const std::vector<double>& numbers() const { return numbers_; }
  // The texts in the order of their primitives as UTF-8 (code points that are
  // not characters become U+FFFD, the separator a blank), each followed by
  // the separator.
  const std::string& texts() const { return texts_; }

 private:
  std::vector<double> numbers_;
  std::string texts_;
};

}  // namespace pm
