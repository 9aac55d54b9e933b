#include "web/display_list_buffer.h"

#include <algorithm>

#include "script/utf8.h"

namespace pm {
namespace {

double packed(Rgb c) { return (c.r << 16) | (c.g << 8) | c.b; }

}  // namespace

void DisplayListBuffer::fill(const DisplayList& list) {
  numbers_.assign(list.size() * kFieldCount, 0.0);
  texts_.clear();
  int textIndex = 0;
  double* n = numbers_.data();
  for (const Primitive& p : list) {
    n[kFieldKind] = static_cast<double>(p.kind);
    n[kFieldX1] = p.x1;
    n[kFieldY1] = p.y1;
    n[kFieldX2] = p.x2;
    n[kFieldY2] = p.y2;
    n[kFieldR] = p.r;
    n[kFieldStart] = p.start;
    n[kFieldEnd] = p.end;
    n[kFieldEdges] = (p.edgeStart ? 1 : 0) | (p.edgeEnd ? 2 : 0);
    n[kFieldColour] = packed(p.colour);
    n[kFieldWidth] = p.width;
    n[kFieldFillStyle] = p.fillStyle;
    n[kFieldFillColour] = packed(p.fillColour);
    n[kFieldSize] = p.size;
    n[kFieldText] = -1;
    if (p.kind == Primitive::Kind::Text) {
      n[kFieldText] = textIndex++;
      // The separator never occurs inside a multi-byte sequence; in a text it
      // becomes a blank.
      std::string utf8 = toUtf8(p.text);
      std::replace(utf8.begin(), utf8.end(), kTextSeparator, ' ');
      texts_ += utf8;
      texts_ += kTextSeparator;
    }
    n += kFieldCount;
  }
}

}  // namespace pm
