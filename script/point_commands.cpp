// Category 2 (points and vectors) and category 3 (labels and scalars).
//
// "Point k" is the point register named by the code at position k of the
// command. Results are written after all inputs are read, except where a later
// step deliberately reads a register back (the label midpoint of 22).
#include <cmath>

#include "script/operations.h"
#include "script/vector.h"

namespace pm::ops {

namespace {

// Register index named at a command position.
inline int at(const Context& c, int pos) { return c.r.cmdCode[pos]; }

inline void setPoint(Context& c, int pos, double x, double y) {
  const int k = at(c, pos);
  c.r.px[k] = x;
  c.r.py[k] = y;
}

inline double px(const Context& c, int pos) { return c.r.px[at(c, pos)]; }
inline double py(const Context& c, int pos) { return c.r.py[at(c, pos)]; }

// (X, Y) := point a − point b.
inline void difference(Context& c, int a, int b) {
  c.s.X = px(c, a) - px(c, b);
  c.s.Y = py(c, a) - py(c, b);
}

// 31: a name printed from positions 3–4, its index from position 5 onward one
// size smaller and 5 units lower; the position ends level with the name again.
void labelWithIndex(Context& c) {
  TextOutput* out = c.out;
  if (out == nullptr) return;
  const std::string font = out->fontName();
  const std::u32string_view text = c.text;

  char32_t name[4] = {U' ', U' ', 0, 0};
  std::size_t nameLength = 2;
  for (std::size_t i = 2; i < 4 && i < text.size(); ++i) name[nameLength++] = text[i];
  const std::u32string_view index = text.size() > 4 ? text.substr(4) : std::u32string_view{};

  out->setFont(font, 11);
  out->print(std::u32string_view(name, nameLength), false);
  out->setFont(font, 8);
  out->setTextPosition(out->textX(), out->textY() + 5);
  out->print(index, false);
  out->setTextPosition(out->textX(), out->textY() - 5);
  out->setFont(font, 11);
}

}  // namespace

void pointCommand(int op, Context& c) {
  Scratch& s = c.s;
  Registers& r = c.r;
  switch (op) {
    case 1: {  // point 3 = point 5 + (point 7 − point 8)
      difference(c, 7, 8);
      polarStd(s);
      setPoint(c, 3, px(c, 5) + s.X, py(c, 5) + s.Y);
      break;
    }
    case 2: {  // point 3 = point 5 + vector 7; label of vector 7 at the segment's middle
      const int v = at(c, 7);
      s.curLen = r.len[v];
      s.curAng = r.ang[v];
      vectorFromPolar(s);
      setPoint(c, 3, px(c, 5) + s.X, py(c, 5) + s.Y);
      r.len[v + Registers::kLabelOffset] = (px(c, 3) + px(c, 5)) / 2;
      r.ang[v + Registers::kLabelOffset] = (py(c, 3) + py(c, 5)) / 2;
      break;
    }
    case 3: {  // point 3 = point 7 − (point 7 − point 8) turned a quarter turn
      difference(c, 7, 8);
      polarScreen(s);
      s.curAng += kPi / 2;
      vectorFromPolar(s);
      setPoint(c, 3, px(c, 7) - s.X, py(c, 7) - s.Y);
      break;
    }
    case 4: {  // foot of the perpendicular from point 5 onto line 7–8
      difference(c, 7, 8);
      polarScreen(s);
      s.curAng += kPi / 2;
      s.curLen = 100;
      vectorFromPolar(s);
      const double x5 = px(c, 5), y5 = py(c, 5);
      intersectLines(s, px(c, 7), py(c, 7), px(c, 8), py(c, 8), x5, y5, x5 + s.X, y5 + s.Y);
      setPoint(c, 3, s.X, s.Y);
      break;
    }
    case 5:  // point 3 = (val 5, val 7)
      setPoint(c, 3, r.val[at(c, 5)], r.val[at(c, 7)]);
      break;
    case 6: {  // point 3 = point 5 + |point 7 − point 8| in the direction of point 10 − point 11
      difference(c, 10, 11);
      polarStd(s);
      const double a = s.curAng;
      difference(c, 7, 8);
      polarStd(s);
      const double length = s.curLen;
      setPoint(c, 3, px(c, 5) + length * std::cos(a), py(c, 5) + length * std::sin(a));
      break;
    }
    case 7: {  // point 3 = point 4 + (point 6 − point 7)
      difference(c, 6, 7);
      polarScreen(s);
      vectorFromPolar(s);
      setPoint(c, 3, px(c, 4) + s.X, py(c, 4) + s.Y);
      break;
    }
    case 8: {  // vector 3 = point 5 − point 6
      difference(c, 5, 6);
      polarScreen(s);
      r.len[at(c, 3)] = s.curLen;
      r.ang[at(c, 3)] = s.curAng;
      break;
    }
    case 9:  // angle of vector 3 from val 6 in degrees
      r.ang[at(c, 3)] = r.val[at(c, 6)] * kDeg;
      break;
    default:
      break;
  }
}

void scalarCommand(int op, Context& c) {
  Scratch& s = c.s;
  Registers& r = c.r;
  switch (op) {
    case 1:
      labelWithIndex(c);
      break;
    case 6:  // point 3 = point 5
      setPoint(c, 3, px(c, 5), py(c, 5));
      break;
    case 7:
      labelVectors(r, c.out);
      break;
    case 8:  // len 3 = |len 5| + |len 7|
      r.len[at(c, 3)] = std::fabs(r.len[at(c, 5)]) + std::fabs(r.len[at(c, 7)]);
      break;
    case 9: {  // point 3 = point 7 moved by len 5 toward point 8
      difference(c, 8, 7);
      polarStd(s);
      const double a = s.curAng;
      const double l = r.len[at(c, 5)];
      setPoint(c, 3, px(c, 7) + l * std::cos(a), py(c, 7) + l * std::sin(a));
      break;
    }
    default:  // 32 … 35 do nothing
      break;
  }
}

void labelVectors(const Registers& r, TextOutput* out) {
  if (out == nullptr) return;
  // The font is the same for every letter, so it is set once.
  out->setFont("Arial", 12);
  for (int i = 1; i <= 64; ++i) {
    const double x = r.len[i + Registers::kLabelOffset];
    if (x == 0) continue;
    out->setTextPosition(x, r.ang[i + Registers::kLabelOffset]);
    const char32_t letter = charOfCode(i);
    out->print(std::u32string_view(&letter, 1), false);
  }
}

}  // namespace pm::ops
