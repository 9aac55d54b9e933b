// Start-up values, the emblem primitives and number items.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/test_form.h"

namespace pm {
namespace {

using testing::TestForm;

TEST(StartUp, StartValuesAndFirstPicture) {
  TestForm t;
  const auto& st = t.form.st;
  EXPECT_EQ(st.mn0, 1);
  EXPECT_EQ(st.mn1, 1);
  EXPECT_EQ(st.mn2, 0);
  EXPECT_EQ(st.qtx, 1);
  EXPECT_EQ(st.qz, 0.0001);
  EXPECT_EQ(st.qzz, 1);
  EXPECT_EQ(st.qbr, 2);
  EXPECT_EQ(st.qxx, 1);
  EXPECT_EQ(st.qzw, 1);
  EXPECT_EQ(st.qss, 1);
  EXPECT_EQ(st.rr2, 128);
  EXPECT_EQ(st.gg2, 196);
  EXPECT_EQ(st.bb2, 256);
  EXPECT_NEAR(st.qtn, std::pow(2, 1.0 / 12), 1e-15);
  EXPECT_EQ(st.cb, rgb(255, 255, 255));
  EXPECT_EQ(st.cf, rgb(100, 100, 100));
  EXPECT_EQ(t.canvas.backgroundColour(), rgb(255, 255, 255));
  EXPECT_EQ(t.host.frames, 1);
  EXPECT_GE(t.host.eventsProcessed, 2);
  // The offset qz reaches len[z]: type 1 has z0.
  EXPECT_EQ(t.form.reg().lenOf(U'z'), 0.0001);

  t.form.Form_Activate();  // a second activation starts nothing again
  EXPECT_EQ(t.host.frames, 1);
}

TEST(Emblem, PrimitivesAtTheGivenCorner) {
  TestForm t;
  t.canvas.clear();
  t.form.logo("100200");
  const DisplayList& list = t.picture();
  ASSERT_EQ(list.size(), 6u + 31u + 4u);  // boxes, triangle lines, two positions and texts
  const Rgb shadow = rgb(120, 100, 100), plate = rgb(250, 250, 0);
  auto expectBox = [&](const Primitive& p, Primitive::Kind kind, double x1, double y1, double x2,
                       double y2, Rgb c) {
    EXPECT_EQ(p.kind, kind);
    EXPECT_EQ(p.x1, 100 + x1);
    EXPECT_EQ(p.y1, 200 + y1);
    EXPECT_EQ(p.x2, 100 + x2);
    EXPECT_EQ(p.y2, 200 + y2);
    EXPECT_EQ(p.colour, c);
  };
  using K = Primitive::Kind;
  expectBox(list[0], K::FilledBox, 35, 4, 160, 57, shadow);
  expectBox(list[1], K::Box, 1, 1, 156, 20, rgb(0, 0, 0));
  expectBox(list[2], K::FilledBox, 0, 0, 155, 21, plate);
  expectBox(list[3], K::Box, 33, 1, 157, 53, rgb(255, 255, 255));
  expectBox(list[4], K::Box, 31, 0, 156, 52, rgb(0, 0, 0));
  expectBox(list[5], K::FilledBox, 30, 0, 155, 51, plate);
  expectBox(list[6], K::Line, 0, 22, 0, 22, plate);
  expectBox(list[36], K::Line, 30, 22, 30, 52, plate);
  EXPECT_EQ(list[37].kind, K::Point);
  EXPECT_EQ(list[37].colour, plate);
  const Primitive& first = list[38];
  EXPECT_EQ(first.text, U"Werklehre");
  EXPECT_EQ(first.x1, 119);
  EXPECT_EQ(first.y1, 204);
  EXPECT_EQ(first.font, "Arial");
  EXPECT_EQ(first.size, 14);
  EXPECT_EQ(first.colour, shadow);
  const Primitive& second = list[40];
  EXPECT_EQ(second.text, U"   Nordhochschule");
  EXPECT_EQ(second.x1, 120);
  EXPECT_EQ(second.y1, 226);
  // Both lines end on the plate (right edge at x0 + 155): the first at its
  // size 14, the second, too wide at 14, at the largest size that fits.
  const FontMetrics& metrics = builtinArialMetrics();
  EXPECT_LE(first.x1 + metrics.width(first.font, first.size, first.text), 255);
  EXPECT_LE(second.x1 + metrics.width(second.font, second.size, second.text), 255);
  EXPECT_GT(metrics.width("Arial", 14, second.text), 135);
  EXPECT_LT(second.size, 14);
  EXPECT_GT(second.x1 + metrics.width(second.font, second.size + 0.1, second.text), 255);
  // Font and colour stay set for the text that follows.
  EXPECT_EQ(t.canvas.textColour(), shadow);
  EXPECT_EQ(t.canvas.fontSize(), 14);
}

TEST(Emblem, PositionTextsThatAreNotSixDigits) {
  TestForm t;
  struct Case {
    const char* text;
    double x, y;
  } cases[] = {{"840055", 840, 55},    {"", 0, 0},        {"12", 12, 0},
               {"abcdef", 0, 0},       {"-5x 7z", -5, 7}, {"1234567890", 123, 456},
               {"\xff\xfe\x80", 0, 0}, {" 12 34", 12, 34}};
  for (const Case& c : cases) {
    t.canvas.clear();
    t.form.logo(c.text);
    ASSERT_FALSE(t.picture().empty());
    EXPECT_EQ(t.picture()[2].x1, c.x) << c.text;
    EXPECT_EQ(t.picture()[2].y1, c.y) << c.text;
  }
}

TEST(NumberItem, SignDigitsAndOneTrailingBlank) {
  EXPECT_EQ(numberItem(5), U" 5 ");
  EXPECT_EQ(numberItem(-2.5), U"-2.5 ");
  EXPECT_EQ(numberItem(0), U" 0 ");
  EXPECT_EQ(numberItem(-0.0), U" 0 ");
  EXPECT_EQ(numberItem(0.1 + 0.2), U" 0.3 ");
  EXPECT_EQ(numberItem(99999), U" 99999 ");
  EXPECT_EQ(numberItem(-1234.125), U"-1234.125 ");
  EXPECT_EQ(numberItem(1e20), U" 1E+20 ");
  // Not a number: still one item, no crash.
  EXPECT_EQ(numberItem(std::numeric_limits<double>::quiet_NaN()), U" NaN ");
  EXPECT_EQ(numberItem(-std::numeric_limits<double>::infinity()), U"-Inf ");
}

}  // namespace
}  // namespace pm
