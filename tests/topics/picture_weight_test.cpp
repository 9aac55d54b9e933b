// Every figure of a picture is recorded once: scripts that draw a label or a
// circle again (a repeated empty command, a joint drawn by two scripts) leave
// one copy, so that antialiased edges keep their weight.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "support/test_form.h"

namespace pm::testing {
namespace {

int texts(const DisplayList& list, std::u32string_view text) {
  return static_cast<int>(std::count_if(list.begin(), list.end(), [&](const Primitive& p) {
    return p.kind == Primitive::Kind::Text && p.text == text;
  }));
}

TEST(PictureWeight, PoleRaysWithJointLettersShowEachLetterOnce) {
  TestForm t;
  t.key(kKeyF1 + 2);           // texts off: Down walks the topics
  t.key(kKeyDown, kShift);     // group 2, topic 1
  for (int i = 0; i < 3; ++i) t.key(kKeyDown);  // topic 4, " Polstrahlen          "
  t.key(kKeyF1 + 3);           // F4: joint letters
  ASSERT_EQ(t.form.st.mn1, 2);
  ASSERT_EQ(t.form.st.mn2, 4);
  ASSERT_EQ(t.form.st.qsc, 1);
  for (std::u32string_view letter : {U"A", U"B", U"C", U"P", U"X", U"Y"})
    EXPECT_EQ(texts(t.picture(), letter), 1) << std::string(letter.begin(), letter.end());
}

// No topic of any mechanism type leaves two equal primitives in its picture,
// with every kind of letter switched on.
class EveryTopic : public ::testing::TestWithParam<int> {};

TEST_P(EveryTopic, RecordsNoFigureTwice) {
  const int type = GetParam();
  TestForm t;
  t.form.st.qtx = 0;
  t.form.st.qsc = 1;
  t.form.st.qsd = 1;
  t.form.st.qßß = 1;
  t.form.st.mn0 = type;
  for (int group = 1; group <= 10; ++group) {
    for (int topic = 1; topic <= 8; ++topic) {
      t.form.st.mn1 = group;
      t.form.st.mn2 = topic;
      t.form.st.mn0 = type;
      t.key(kKeySpace);
      if (t.form.st.mn1 != group || t.form.st.mn2 != topic) continue;  // stepped on
      // Sorted by place, equal primitives stand next to each other's group.
      std::vector<const Primitive*> sorted;
      for (const Primitive& p : t.picture()) sorted.push_back(&p);
      auto place = [](const Primitive* p) {
        return std::tuple(static_cast<int>(p->kind), p->x1, p->y1, p->x2, p->y2, p->r);
      };
      std::sort(sorted.begin(), sorted.end(),
                [&](const Primitive* a, const Primitive* b) { return place(a) < place(b); });
      for (std::size_t i = 0; i < sorted.size(); ++i) {
        for (std::size_t j = i + 1; j < sorted.size() && place(sorted[j]) == place(sorted[i]); ++j) {
          if (!(*sorted[i] == *sorted[j])) continue;
          ADD_FAILURE() << "type " << type << ", topic " << group << "." << topic
                        << ": a " << kindName(sorted[i]->kind) << " at " << sorted[i]->x1 << ", "
                        << sorted[i]->y1 << " is recorded twice";
          return;
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Types, EveryTopic, ::testing::Range(1, 9));

}  // namespace
}  // namespace pm::testing
