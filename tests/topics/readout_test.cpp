// The data read-out (F6).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_form.h"
#include "topics/motion_support.h"
#include "topics/topics.h"

namespace pm::testing {
namespace {

// The read-out lines as "label|number" pairs, in order.
std::vector<std::u32string> readout(const DisplayList& list) {
  std::vector<std::u32string> out;
  const auto lines = texts(list);
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    const Primitive& label = *lines[i];
    const Primitive& number = *lines[i + 1];
    if (label.y1 < 150 || label.x1 < 800 || number.y1 != label.y1 || number.x1 <= label.x1)
      continue;
    out.push_back(label.text + U"|" + number.text);
    ++i;
  }
  return out;
}

TEST(Readout, PresetsOfTypeOne) {
  TestForm t;
  t.key(kKeyF1 + 5);
  const std::vector<std::u32string> expected = {U"a| 80 ",      U"b| 150 ",     U"c|-120 ",
                                                U"d| 180 ",     U"e| 150 ",     U"f|-120 ",
                                                U" xAo | 300 ", U" yAo | 560 ", U" <)d | 0 "};
  const auto got = readout(t.picture());
  ASSERT_EQ(got.size(), expected.size() + 1);
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(got[i], expected[i]) << i;
  EXPECT_TRUE(got.back().starts_with(U" <)a |"));
}

TEST(Readout, ColumnsLineUpInTheFontAndStayOnScreen) {
  TestForm t;
  t.key(kKeyF1 + 5);
  const auto lines = texts(t.picture());
  double letterX = -1, labelX = -1, numberX = -1;
  for (const Primitive* p : lines) {
    if (p->y1 < 150 || p->x1 < 800) continue;
    if (p->text == U"a") letterX = p->x1;
    if (p->text == U" xAo ") labelX = p->x1;
    if (p->text == U" 80 ") numberX = p->x1;
    EXPECT_EQ(p->font, "Arial");
    EXPECT_EQ(p->size, 11);
    EXPECT_EQ(p->colour, t.form.st.cf);
  }
  EXPECT_GT(letterX, labelX);
  EXPECT_GT(numberX, letterX);
  EXPECT_NEAR((numberX - letterX) * 5 / 2, numberX - labelX, 1e-9);  // 2 and 5 columns
  EXPECT_LT(numberX + 40, 1022);
}

TEST(Readout, SixBarGroupListsUpToP) {
  TestForm t;
  t.form.st.mn1 = 8;
  t.form.st.mn2 = 1;
  t.key(kKeyF1 + 5);
  const auto got = readout(t.picture());
  ASSERT_EQ(got.size(), 16u + 4u);
  EXPECT_TRUE(got[15].starts_with(U"p|"));
  t.form.st.mn1 = 2;
  t.key(kKeyRebuild);
  EXPECT_EQ(readout(t.picture()).size(), 6u + 4u);
}

TEST(Readout, ZoomScalesLengthsOnly) {
  TestForm t;
  t.form.st.qzz = 2;
  t.key(kKeyF1 + 5);
  const auto got = readout(t.picture());
  ASSERT_GE(got.size(), 9u);
  EXPECT_EQ(got[0], U"a| 160 ");
  EXPECT_EQ(got[2], U"c|-240 ");
  EXPECT_EQ(got[6], U" xAo | 300 ");
}

TEST(Readout, IntegerPartRoundsDownAndCrankAngleZeroWithoutDrive) {
  TestForm t;
  t.form.st.mn1 = 10;
  t.form.st.mn2 = 1;
  t.form.st.qa = -80.5;  // len[a] = -0.5
  t.key(kKeyF1 + 5);
  const auto got = readout(t.picture());
  ASSERT_EQ(got.size(), 10u);
  EXPECT_EQ(got[0], U"a|-1 ");
  EXPECT_EQ(got[9], U" <)a | 0 ");
}

}  // namespace
}  // namespace pm::testing
