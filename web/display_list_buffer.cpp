#include "web/display_list_buffer.h"

namespace pm {
namespace {

double packed(Rgb c) { return (c.r << 16) | (c.g << 8) | c.b; }

}  // namespace

void appendUtf8(std::string& out, std::u32string_view text) {
  for (char32_t c : text) {
    if (c == static_cast<char32_t>(kTextSeparator)) c = U' ';
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
}

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
      appendUtf8(texts_, p.text);
      texts_ += kTextSeparator;
    }
    n += kFieldCount;
  }
}

}  // namespace pm
