// Helpers for the tests of the moving mechanism: the texts of a picture and
// the points of the register file.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "draw/display_list.h"
#include "script/registers.h"
#include "shell/form1.h"

namespace pm::testing {

// Every text of the picture, in drawing order.
inline std::vector<const Primitive*> texts(const DisplayList& list) {
  std::vector<const Primitive*> out;
  for (const Primitive& p : list)
    if (p.kind == Primitive::Kind::Text) out.push_back(&p);
  return out;
}

// The texts of the picture joined in drawing order (a search target for titles).
inline std::u32string allText(const DisplayList& list) {
  std::u32string s;
  for (const Primitive* p : texts(list)) s += p->text;
  return s;
}

inline int countKind(const DisplayList& list, Primitive::Kind kind) {
  int n = 0;
  for (const Primitive& p : list) n += p.kind == kind ? 1 : 0;
  return n;
}

inline double distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

}  // namespace pm::testing
