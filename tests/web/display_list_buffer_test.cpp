// The flat form of a display list that the page's painter reads: every
// primitive at its fixed place with every field the painter needs, texts in
// order and as valid UTF-8, whatever characters they hold.
#include <gtest/gtest.h>

#include <string>

#include "web/display_list_buffer.h"

namespace pm {
namespace {

Primitive text(std::u32string t) {
  Primitive p;
  p.kind = Primitive::Kind::Text;
  p.text = std::move(t);
  p.size = 11;
  p.colour = rgb(1, 2, 3);
  return p;
}

TEST(DisplayListBuffer, EveryFieldAtItsPlace) {
  Primitive arc;
  arc.kind = Primitive::Kind::Arc;
  arc.x1 = 10;
  arc.y1 = 20;
  arc.r = 30;
  arc.start = 0.5;
  arc.end = 1.5;
  arc.edgeEnd = true;
  arc.colour = rgb(255, 128, 1);
  arc.width = 3;
  arc.fillStyle = 6;
  arc.fillColour = rgb(0, 255, 0);
  Primitive line;
  line.kind = Primitive::Kind::Line;
  line.x1 = -1;
  line.y1 = 2;
  line.x2 = 3e6;
  line.y2 = -4.25;
  DisplayListBuffer b;
  b.fill({arc, text(U"A"), line, text(U"B")});
  const auto& n = b.numbers();
  ASSERT_EQ(n.size(), 4u * kFieldCount);
  EXPECT_EQ(n[kFieldKind], static_cast<double>(Primitive::Kind::Arc));
  EXPECT_EQ(n[kFieldX1], 10);
  EXPECT_EQ(n[kFieldR], 30);
  EXPECT_EQ(n[kFieldStart], 0.5);
  EXPECT_EQ(n[kFieldEnd], 1.5);
  EXPECT_EQ(n[kFieldEdges], 2);  // edgeEnd only
  EXPECT_EQ(n[kFieldColour], 0xFF8001);
  EXPECT_EQ(n[kFieldWidth], 3);
  EXPECT_EQ(n[kFieldFillStyle], 6);
  EXPECT_EQ(n[kFieldFillColour], 0x00FF00);
  EXPECT_EQ(n[kFieldText], -1);
  const double* l = &n[2 * kFieldCount];
  EXPECT_EQ(l[kFieldX1], -1);
  EXPECT_EQ(l[kFieldX2], 3e6);
  EXPECT_EQ(l[kFieldY2], -4.25);
  // Texts are numbered in order, skipping the other kinds.
  EXPECT_EQ(n[kFieldCount + kFieldText], 0);
  EXPECT_EQ(n[kFieldCount + kFieldSize], 11);
  EXPECT_EQ(n[kFieldCount + kFieldColour], 0x010203);
  EXPECT_EQ(n[3 * kFieldCount + kFieldText], 1);
  EXPECT_EQ(b.texts(), std::string("A\x1f" "B\x1f"));

  // A second picture replaces the first.
  b.fill({line});
  EXPECT_EQ(b.numbers().size(), std::size_t{kFieldCount});
  EXPECT_EQ(b.texts(), "");
}

TEST(DisplayListBuffer, TextsAreValidUtf8) {
  DisplayListBuffer b;
  b.fill({text(U"Krümmung ωα → ß"), text(U"\U0001D6FC"), text(U"a\x1f" "b"),
          text(std::u32string{U'x', char32_t{0xD800}, char32_t{0x110000}}), text(U"")});
  EXPECT_EQ(b.texts(), std::string("Krümmung ωα → ß\x1f") + "\xF0\x9D\x9B\xBC\x1f" +
                           "a b\x1f" + "x\xEF\xBF\xBD\xEF\xBF\xBD\x1f" + "\x1f");
}

}  // namespace
}  // namespace pm
