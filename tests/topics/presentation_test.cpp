// The presentation stage: topic stepping, pictures, header, grid, preset
// strings and the demonstration sequence.
#include <gtest/gtest.h>

#include "draw/colour.h"
#include "support/test_form.h"
#include <functional>
#include <set>
#include <tuple>

#include "shell/menu_table.h"
#include "topics/catalogue.h"
#include "topics/motion_support.h"
#include "topics/page_catalogue.h"
#include "topics/topics.h"

namespace pm::testing {
namespace {

struct Step {
  double mn0, mn1, mn2;
};

Step stepped(Step from) {
  TestForm t(planimoveEdition(), false);
  t.form.st.mn0 = from.mn0;
  t.form.st.mn1 = from.mn1;
  t.form.st.mn2 = from.mn2;
  t.form.st.mn5 = 3;
  topicStepping(t.form);
  return {t.form.st.mn0, t.form.st.mn1, t.form.st.mn2};
}

void expectStep(Step from, Step to) {
  const Step got = stepped(from);
  EXPECT_EQ(got.mn0, to.mn0) << from.mn1 << "," << from.mn2;
  EXPECT_EQ(got.mn1, to.mn1) << from.mn1 << "," << from.mn2;
  EXPECT_EQ(got.mn2, to.mn2) << from.mn1 << "," << from.mn2;
}

TEST(TopicStepping, GroupBoundariesInBothDirections) {
  expectStep({1, 1, 7}, {1, 2, 1});
  expectStep({1, 2, 0}, {1, 1, 6});
  expectStep({1, 1, -3}, {1, 1, 0});
  expectStep({1, 3, 9}, {1, 4, 1});
  expectStep({1, 4, 0}, {1, 3, 9});  // a topic without construction
  expectStep({1, 6, 0}, {1, 5, 6});
  expectStep({1, 9, 8}, {1, 10, 1});
  expectStep({1, 10, 0}, {1, 9, 7});
  expectStep({1, 3, 4}, {1, 3, 4});  // inside the catalogue nothing changes
}

TEST(TopicStepping, StepByStepConstructionOfGroupFiveIsReachable) {
  expectStep({1, 5, 7}, {1, 5, 7});
  expectStep({1, 5, 8}, {1, 6, 1});
  // Chosen from the menu, the construction is shown under its own name.
  pm::testing::TestForm t;
  ASSERT_TRUE(t.form.menuCommand("mnu25"));
  ASSERT_TRUE(t.form.menuCommand("mnu257"));
  EXPECT_EQ(t.form.st.mn1, 5);
  EXPECT_EQ(t.form.st.mn2, 7);
  EXPECT_EQ(t.form.cmd.topicNames[7], U" Konstruktion       ");
}

TEST(TopicStepping, RulesFireInSequence) {
  expectStep({1, 5, 0}, {1, 7, 1});  // (6, 8) of the first rule moves on at once
  expectStep({1, 8, 0}, {1, 7, 7});
}

TEST(TopicStepping, PastTheLastTopicTheTypeAdvances) {
  expectStep({3, 8, 9}, {4, 1, 1});
  expectStep({9, 8, 9}, {9, 1, 1});  // limited to 9
  expectStep({3, 10, 9}, {4, 1, 1});
  // The limit stands before the rule of group 10: a type above 9 is first
  // brought back to 9 and then advanced, so it ends at 10.
  expectStep({10, 10, 9}, {10, 1, 1});
  expectStep({11, 10, 9}, {10, 1, 1});
  expectStep({11, 2, 3}, {9, 2, 3});
}

TEST(TopicStepping, FiringRuleResetsThePage) {
  TestForm t(planimoveEdition(), false);
  t.form.st.mn1 = 2;
  t.form.st.mn2 = 7;
  t.form.st.mn5 = 4;
  topicStepping(t.form);
  EXPECT_EQ(t.form.st.mn5, 0);
  t.form.st.mn5 = 4;
  topicStepping(t.form);  // (3, 1): nothing fires
  EXPECT_EQ(t.form.st.mn5, 4);
}

// Walks through the catalogue with the pages shown. Whatever the keys, the
// place shown is a page the program ships (or the pages are off), the program
// asks for no other picture, and the walks together reach every page.
class PageWalk {
 public:
  explicit PageWalk(const Edition& e) : edition_(e), t_(e) { check("start"); }
  TestForm& form() { return t_; }
  void key(int code, int shift, const std::string& what) {
    t_.host.pictures.clear();
    t_.key(code, shift);
    check(what);
  }
  void menu(const std::string& name) {
    t_.host.pictures.clear();
    t_.form.menuCommand(name);
    check(name);
  }
  // The pages reached by all walks of this edition.
  const std::set<std::tuple<int, int, int>>& reached() const { return reached_; }

 private:
  void check(const std::string& what) {
    const StateRecord& st = t_.form.st;
    const std::string where = edition_.name + ", " + what + " at " + std::to_string(int(st.mn1)) + "." +
                              std::to_string(int(st.mn2)) + " page " + std::to_string(int(st.mn5));
    if (st.qtx == 1 && st.qst == 0) {
      ASSERT_LT(st.mn5, pageCount(st.mn1, st.mn2)) << where << ": no such page";
      reached_.insert({int(st.mn1), int(st.mn2), int(st.mn5)});
    }
    for (const std::string& p : t_.host.pictures)
      EXPECT_TRUE(p.empty() || p == edition_.helpPicture || p == edition_.keyOverviewPicture ||
                  pageOfFile(p).has_value())
          << where << ": asks for " << p;
  }
  const Edition& edition_;
  TestForm t_;
  std::set<std::tuple<int, int, int>> reached_;
};

TEST(PageWalk, EveryWalkShowsOnlyShippedPagesAndTheWalksReachThemAll) {
  for (const Edition* e : {&planimoveEdition(), &rautenwerkEdition()}) {
    const int texts = kKeyF1 + (actionKeyName("Texte", *e) == "F9" ? 8 : 2);
    std::set<std::tuple<int, int, int>> reached;
    auto collect = [&](const PageWalk& w) { reached.insert(w.reached().begin(), w.reached().end()); };
    {  // Down only, from the start until the next mechanism type
      PageWalk w(*e);
      for (int i = 0; i < 400 && w.form().form.st.mn0 == 1; ++i) w.key(kKeyDown, 0, "Down");
      EXPECT_EQ(w.form().form.st.mn0, 2) << e->name << ": Down does not walk through the catalogue";
      collect(w);
    }
    {  // Down only, through the examples and the synthesis up to the hand-over
      PageWalk w(*e);
      w.menu("mnu811");
      for (int i = 0; i < 100 && w.form().form.st.mn1 >= 9; ++i) w.key(kKeyDown, 0, "Down");
      EXPECT_EQ(w.form().form.st.mn1, 1) << e->name;
      collect(w);
    }
    {  // Up only, from the last synthesis topic back to the start pages
      PageWalk w(*e);
      w.form().show(1, 10, 7);
      for (int i = 0; i < 100 && !(w.form().form.st.mn1 == 1 && w.form().form.st.mn2 == 0); ++i)
        w.key(kKeyUp, 0, "Up");
      EXPECT_EQ(w.form().form.st.mn2, 0) << e->name << ": Up does not lead back to the start";
      collect(w);
    }
    {  // Pages off, Down, pages on again: always the first page of the next topic
      PageWalk w(*e);
      for (int i = 0; i < 60; ++i) {
        w.key(kKeyDown, 0, "Down");
        w.key(texts, 0, "pages off");
        w.key(kKeyDown, 0, "Down");
        w.key(texts, 0, "pages on");
        EXPECT_EQ(w.form().form.st.mn5, 0);
      }
      collect(w);
    }
    {  // Shift+Down through the groups, turning a page in each
      PageWalk w(*e);
      for (int i = 0; i < 11; ++i) {
        w.key(kKeyDown, 0, "Down");
        w.key(kKeyDown, kShift, "Shift+Down");
      }
      EXPECT_EQ(w.form().form.st.mn1, 10) << e->name;
      collect(w);
    }
    {  // Every topic of the menus, each from a later page of another topic
      PageWalk w(*e);
      for (const MenuEntry& m : menuTree(*e)) {
        if (!m.setTopic || m.hasSubmenu) continue;
        w.key(kKeyDown, 0, "Down");
        w.menu(m.name);
        for (int i = 0; i < 20 && w.form().form.st.mn5 + 1 < pageCount(w.form().form.st.mn1, w.form().form.st.mn2); ++i)
          w.key(kKeyDown, 0, "Down");
      }
      collect(w);
    }
    for (const PageRef& p : shippedPages())
      EXPECT_TRUE(reached.count({p.group, p.topic, p.page}))
          << e->name << ": no walk reaches " << pageFileName(p);
  }
}

TEST(Catalogue, NamesOfEveryGroup) {
  EXPECT_EQ(groupName(1), U" Rautenwerk           ");
  EXPECT_EQ(topicName(3, 6), U" und Geschwindigkeiten");
  EXPECT_EQ(groupName(6), U" Polwechselgeschwindigkeit");
  EXPECT_EQ(topicName(8, 8), U" St-db                 ");
  EXPECT_EQ(groupName(9), U" Komplan bewegte Ebene");
  EXPECT_EQ(topicName(10, 1), U" Vier Lagen einer Ebene");
  EXPECT_TRUE(topicName(3, 9).empty());
  EXPECT_TRUE(groupName(11).empty());
  EXPECT_TRUE(topicName(0, 1).empty());
}

TEST(Pictures, ExplanatoryPictureNameIsPrintedAndShown) {
  TestForm t;
  t.form.st.mn2 = 2;
  t.key(kKeyRebuild);
  EXPECT_EQ(t.form.st.ff, "Bild120.gif");
  EXPECT_EQ(t.host.background, "Bild120.gif");
  bool printed = false;
  for (const Primitive* p : texts(t.picture()))
    printed |= p->text == U"Bild120.gif" && p->x1 == 20 && p->y1 == 650;
  EXPECT_TRUE(printed);
}

TEST(Pictures, TextPicturesOffRemoveTheBackground) {
  TestForm t;
  t.key(kKeyF1 + 2);  // F3: qtx := 0
  EXPECT_EQ(t.host.background, "");
  EXPECT_EQ(allText(t.picture()).find(U"Bild"), std::u32string::npos);
}

TEST(Pictures, HelpPictureHidesTheTopic) {
  TestForm t;
  t.form.st.mn2 = 1;
  t.key(kKeyRebuild);
  EXPECT_GT(countKind(t.picture(), Primitive::Kind::Circle), 0);
  t.key(kKeyF1);
  EXPECT_EQ(t.host.background, "BildF1.gif");
  EXPECT_EQ(countKind(t.picture(), Primitive::Kind::Circle), 0);
  const std::u32string text = allText(t.picture());
  EXPECT_NE(text.find(U"Kurbelschwinge"), std::u32string::npos);  // the title stays
  EXPECT_NE(text.find(U"Werklehre"), std::u32string::npos);       // and the emblem
  EXPECT_EQ(text.find(U" Getriebe"), std::u32string::npos);       // no header
  t.key(kKeyF1 + 7);                                              // F8: key overview
  EXPECT_EQ(t.host.background, "BildF8.gif");
}

TEST(Pictures, RautenwerkHelpPictureAndNoKeyOverview) {
  TestForm t(rautenwerkEdition());
  t.key(kKeyF1);
  EXPECT_EQ(t.host.background, "Bild000.gif");
  t.host.pictures.clear();
  t.key(kKeyF1 + 7);  // F8 toggles qer, which shows no picture here
  EXPECT_EQ(t.form.st.qer, 1);
  for (const std::string& p : t.host.pictures) EXPECT_NE(p, "BildF8.gif");
}

TEST(Header, DigitsAndNamesOnOneLine) {
  TestForm t;
  t.form.st.mn2 = 2;
  t.key(kKeyRebuild);
  EXPECT_NE(allText(t.picture()).find(U"120 Rautenwerk            Polkonfigurationen   "),
            std::u32string::npos);
}

TEST(Header, TopicWithoutEntryShowsAnEmptyName) {
  TestForm t(planimoveEdition(), false);
  t.form.cmd.groupNames[3] = U" G";
  t.form.st.mn1 = 3;
  t.form.st.mn2 = 9;
  t.form.st.mn5 = 0;
  topicHeader(t.form);
  t.form.st.mn1 = 25;  // outside the lists: no name, no fault
  topicHeader(t.form);
  const auto lines = texts(t.picture());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]->text, U"390 G");
  EXPECT_EQ(lines[1]->text, U"2590");
}

int gridLines(const DisplayList& list) {
  int n = 0;
  for (const Primitive& p : list)
    n += p.kind == Primitive::Kind::Line && p.colour == rgb(220, 220, 220) ? 1 : 0;
  return n;
}

TEST(Grid, FineAndDoubledCoarseLines) {
  TestForm t(planimoveEdition(), false);
  t.form.st.qgw = 1;
  t.form.cmd.stepAsked = true;
  drawGrid(t.form);
  // 52 + 37 fine lines, 11 + 8 coarse ones.
  EXPECT_EQ(gridLines(t.picture()), 52 + 37 + 11 + 8);
  EXPECT_FALSE(t.form.cmd.stepAsked);  // no step with the grid on
  EXPECT_EQ(t.form.st.qgw, 1);
  EXPECT_EQ(t.form.st.rtt, 20);
}

TEST(Grid, SpacingOfZeroOrLessDrawsNothing) {
  for (double offset : {-20.0, -25.0, -19.6}) {
    TestForm t(planimoveEdition(), false);
    t.form.st.qrtt = offset;
    drawGrid(t.form);
    EXPECT_EQ(gridLines(t.picture()), 0) << offset;
    EXPECT_EQ(t.form.st.rtt, 20 + offset);
  }
}

TEST(Grid, GridOnStopsTheDrive) {
  TestForm t;
  t.key(kKeyF1 + 6, kShift);  // Shift+F7: grid on
  t.key(kKeySpace);
  EXPECT_EQ(t.form.st.wxx, 0);
  EXPECT_GT(gridLines(t.picture()), 0);
}

TEST(PresetStrings, ShownAtTheLeftEdge) {
  TestForm t;
  t.key(kKeyF1 + 8, kShift);  // Shift+F9
  const auto lines = texts(t.picture());
  bool length = false, number = false;
  for (const Primitive* p : lines) {
    length |= p->x1 == 0 && p->y1 == 650 && p->text.starts_with(U"a80:b150:c-120:");
    number |= p->x1 == 0 && p->y1 > 650 && p->text.starts_with(U"a300:b560:c58:");
  }
  EXPECT_TRUE(length);
  EXPECT_TRUE(number);
}

TEST(Demonstration, SecondF2StopsItAndReturnsToGroupOne) {
  TestForm t;
  t.form.st.mn0 = 3;  // a double rocker: its runs do nothing
  t.key(kKeyRebuild);
  int events = 0;
  t.host.onProcessEvents = [&] {
    if (++events == 4) t.key(kKeyF1 + 1);
  };
  t.key(kKeyF1 + 1);
  EXPECT_EQ(t.form.st.qxy, 0);
  EXPECT_EQ(t.form.st.mn1, 1);
  EXPECT_EQ(t.form.depth, 0);
  EXPECT_GE(t.form.st.mn2, 2);  // it walked through topics meanwhile
  EXPECT_LT(events, 10);
}

TEST(Demonstration, StopsDuringARunAndClearsTheReadout) {
  TestForm t;
  t.key(kKeyF1 + 5);  // F6: read-out on
  int events = 0;
  t.host.onProcessEvents = [&] {
    if (++events == 30) t.key(kKeyF1 + 1);
  };
  t.key(kKeyF1 + 1);
  EXPECT_EQ(t.form.st.qse, 0);
  EXPECT_EQ(t.form.st.qxy, 0);
  EXPECT_LT(events, 40);  // the run in progress ends with the sequence
}

TEST(Demonstration, EndEndsEverything) {
  TestForm t;
  int events = 0;
  t.host.onProcessEvents = [&] {
    if (++events == 100) t.key(kKeyEnd);
  };
  t.key(kKeyF1 + 1);
  EXPECT_TRUE(t.form.ending);
  EXPECT_EQ(events, 100);
  EXPECT_EQ(t.form.depth, 0);
}

TEST(Demonstration, KeyFiveWithoutTheFlagOpensTopicOneOnly) {
  TestForm t;
  t.keyChar('5');
  EXPECT_EQ(t.form.st.mn1, 1);
  EXPECT_EQ(t.form.st.mn2, 1);
  EXPECT_EQ(t.form.st.qxy, 0);
}

TEST(Demonstration, RautenwerkRunsUntilTheProgramEnds) {
  TestForm t(rautenwerkEdition());
  t.form.st.mn0 = 3;  // runs of double rockers do nothing: one event per topic
  t.key(kKeyRebuild);
  int events = 0;
  double furthestGroup = 1;
  t.host.onProcessEvents = [&] {
    furthestGroup = std::max(furthestGroup, t.form.st.mn1);
    if (++events == 2000) t.key(kKeyEsc);
  };
  t.keyChar('5');
  EXPECT_TRUE(t.form.ending);
  EXPECT_GE(furthestGroup, 2);
}

TEST(Demonstration, RautenwerkStopsAtAKeyThatStartsARunAndReturnsToGroupOne) {
  for (int key : {int{'5'}, int{'1'}, kKeyF1 + 6}) {
    TestForm t(rautenwerkEdition());
    int events = 0;
    t.host.onProcessEvents = [&] {
      if (++events == 300) t.key(key, key == kKeyF1 + 6 ? kShift : 0);
    };
    t.keyChar('5');
    EXPECT_EQ(events, 300) << key;
    EXPECT_FALSE(t.form.ending);
    EXPECT_EQ(t.form.st.mn1, 1);
    EXPECT_EQ(t.form.depth, 0);
  }
}

TEST(Demonstration, RautenwerkFromTheExamplesOnlyReturnsToGroupOne) {
  TestForm t(rautenwerkEdition());
  t.form.st.mn1 = 9;
  t.form.st.mn2 = 1;
  t.key(kKeyRebuild);
  t.keyChar('5');
  EXPECT_EQ(t.form.st.mn1, 1);
  EXPECT_FALSE(t.form.ending);
}

TEST(CursorKey, ThreePrintsTheCursor) {
  TestForm t;
  t.host.cx = 123;
  t.host.cy = 456;
  t.keyChar('3');
  bool printed = false;
  const auto lines = texts(t.picture());
  for (std::size_t i = 0; i + 1 < lines.size(); ++i)
    printed |= lines[i]->x1 == 0 && lines[i]->y1 == 450 && lines[i]->text == U" 123 " &&
               lines[i + 1]->text == U" 456 ";
  EXPECT_TRUE(printed);
}

}  // namespace
}  // namespace pm::testing
