// The menu tree: exact captions, structure, the commands of the items, the
// topic each analysis item selects, and the check marks of the display menu.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "shell/menu_table.h"
#include "support/test_form.h"

namespace pm {
namespace {

using testing::TestForm;

std::vector<std::string> children(const Edition& e, const std::string& parent) {
  std::vector<std::string> out;
  for (const MenuEntry& m : menuTree(e)) {
    if (m.parent == parent) out.push_back(m.caption);
  }
  return out;
}

TEST(MenuTree, TopLevelCaptionsAndStructure) {
  for (const Edition* e : {&planimoveEdition(), &rautenwerkEdition()}) {
    const auto& tree = menuTree(*e);
    EXPECT_EQ(children(*e, ""),
              (std::vector<std::string>{"&Getriebetyp  ", "&Analyse    ", "&Synthese",
                                        " A&nzeigen    ", "&Montage", "&Beispiele"}));
    std::set<std::string> seen;
    for (const MenuEntry& m : tree) {
      EXPECT_TRUE(seen.insert(m.name).second) << "duplicate " << m.name;
      if (!m.parent.empty()) {
        EXPECT_TRUE(seen.count(m.parent)) << m.name << " before its parent";
        EXPECT_TRUE(findMenuEntry(tree, m.parent)->hasSubmenu) << m.parent;
      }
    }
  }
}

// Each analysis item selects the topic that carries its name; where a menu
// has more or fewer items than its group has topics this is not its position.
TEST(MenuTree, AnalysisItemsSelectTheTopicOfTheirName) {
  const std::vector<std::vector<int>> topics = {
      {1, 2, 3, 4, 5},          {1, 2, 3, 4, 5, 6},       {1, 2, 3, 4, 4, 5, 6, 7, 8},
      {1, 2, 3, 4, 5, 6, 7, 5}, {1, 2, 3, 4, 5, 6, 7},    {1, 2, 3, 4, 5, 6, 7},
      {1, 2, 4, 5, 6, 7, 8},    {1, 2, 3, 4, 5, 6, 7, 8},
  };
  const auto& tree = menuTree(planimoveEdition());
  for (int g = 1; g <= 8; ++g) {
    const std::string group = "mnu2" + std::to_string(g);
    std::vector<int> selected;
    for (const MenuEntry& m : tree) {
      if (m.parent == group) selected.push_back(m.setTopic);
    }
    EXPECT_EQ(selected, topics[g - 1]) << group;
  }
}

TEST(MenuCommands, ChoosingATopicSetsGroupTopicAndFirstPageAndRebuildsOnce) {
  TestForm t;
  auto& st = t.form.st;
  st.mn5 = 2;
  const int frames = t.host.frames;
  EXPECT_TRUE(t.form.menuCommand("mnu224"));
  EXPECT_EQ(st.mn1, 2);
  EXPECT_EQ(st.mn2, 4);
  EXPECT_EQ(st.mn5, 0);
  EXPECT_EQ(t.host.frames, frames + 1);

  // The mended items: Vektorplan of group 3, wählbare Ro-Kurven, Geschwindigkeitsplan.
  t.form.menuCommand("mnu235");
  EXPECT_EQ(st.mn1, 3);
  EXPECT_EQ(st.mn2, 4);
  t.form.menuCommand("mnu248");
  EXPECT_EQ(st.mn1, 4);
  EXPECT_EQ(st.mn2, 5);
  t.form.menuCommand("mnu273");
  EXPECT_EQ(st.mn1, 7);
  EXPECT_EQ(st.mn2, 4);

  // The construction of group 5 opens on its first step as well.
  st.mn5 = 3;
  t.form.menuCommand("mnu257");
  EXPECT_EQ(st.mn1, 5);
  EXPECT_EQ(st.mn2, 7);
  EXPECT_EQ(st.mn5, 0);
}

TEST(MenuCommands, BrowsingTheMenusChangesNothing) {
  // Every menu and submenu opened, in both editions, on a topic away from the
  // defaults: no field changes, no picture is drawn.
  for (const Edition* e : {&planimoveEdition(), &rautenwerkEdition()}) {
    TestForm t(*e);
    t.show(3, 6, 4);
    t.form.st.mn5 = 1;
    t.key(kKeyRebuild);
    const StateRecord before = t.form.st;
    const int frames = t.host.frames;
    for (const MenuEntry& m : menuBarTree(*e)) {
      if (!m.hasSubmenu || m.windowCommand != WindowCommand::None) continue;
      EXPECT_TRUE(t.form.menuCommand(m.name)) << m.name;
      before.forEachNumeric([&](std::string_view name, double v) {
        double now = 0;
        t.form.st.forEachNumeric([&](std::string_view n, double w) {
          if (n == name) now = w;
        });
        EXPECT_EQ(now, v) << e->name << ": opening " << m.name << " changed " << name;
      });
    }
    EXPECT_EQ(t.host.frames, frames) << e->name;
  }
}

TEST(MenuCommands, TypesSynthesisAndExamples) {
  TestForm t;
  auto& st = t.form.st;
  int frames = t.host.frames;
  t.form.menuCommand("mnu15");
  EXPECT_EQ(st.mn0, 5);
  EXPECT_EQ(t.host.frames, ++frames);
  t.form.menuCommand("mnu110");
  EXPECT_EQ(findMenuEntry(menuTree(planimoveEdition()), "mnu110")->setType, 10);
  EXPECT_EQ(st.mn0, 9);  // the topic stepping of the rebuild limits the type to 9

  // "Vier-Lagen -Synthese" is known but does nothing.
  const StateRecord before = st;
  EXPECT_TRUE(t.form.menuCommand("mnu112"));
  EXPECT_EQ(st.mn0, before.mn0);
  EXPECT_EQ(t.host.frames, ++frames);  // only the mnu110 rebuild before

  // A synthesis item does what opening its submenu and the item did together.
  st.mn2 = 2;
  st.mn5 = 4;
  t.form.menuCommand("mnu313");
  EXPECT_EQ(st.mn1, 10);
  EXPECT_EQ(st.mn2, 3);
  EXPECT_EQ(st.mn5, 0);

  // An example item chooses the four-bar, the group and the topic, and rebuilds once.
  frames = t.host.frames;
  st.mn5 = 2;
  t.form.menuCommand("mnu817");
  EXPECT_EQ(st.mn0, 1);
  EXPECT_EQ(st.mn1, 9);
  EXPECT_EQ(st.mn2, 7);
  EXPECT_EQ(st.mn5, 0);
  EXPECT_EQ(t.host.frames, frames + 1);
}

TEST(MenuCommands, UnknownNamesAreRefused) {
  TestForm t;
  const int frames = t.host.frames;
  for (const char* name : {"", "mnu", "mnu9", "mnu2249", "MNU11", "mnu11 ", "mnu68"}) {
    EXPECT_FALSE(t.form.menuCommand(name)) << name;
    EXPECT_FALSE(t.form.menuChecked(name));
  }
  EXPECT_EQ(t.host.frames, frames);
}

TEST(MenuCommands, CheckMarksFollowTheFlags) {
  TestForm t;
  auto& st = t.form.st;
  EXPECT_FALSE(t.form.menuChecked("mnu61"));  // help is off at start
  EXPECT_TRUE(t.form.menuChecked("mnu63"));   // the pages are on
  t.form.menuCommand("mnu61");
  EXPECT_EQ(st.qst, 1);
  EXPECT_TRUE(t.form.menuChecked("mnu61"));
  t.key(kKeySpace);  // any other key hides the help, and its mark
  EXPECT_EQ(st.qst, 0);
  EXPECT_FALSE(t.form.menuChecked("mnu61"));

  t.key(kKeyF1 + 3);  // F4: the letters, as the menu item
  EXPECT_TRUE(t.form.menuChecked("mnu64"));
  t.form.menuCommand("mnu64");
  EXPECT_EQ(st.qsc, 0);
  EXPECT_FALSE(t.form.menuChecked("mnu64"));
  t.form.menuCommand("mnu63");
  EXPECT_FALSE(t.form.menuChecked("mnu63"));
  EXPECT_EQ(st.qtx, 0);

  const MenuEntry* run = findMenuEntry(menuTree(planimoveEdition()), "mnu66");
  ASSERT_NE(run, nullptr);
  EXPECT_FALSE(run->checkable);
  EXPECT_EQ(run->sendKey, kKeyF1 + 6);
  EXPECT_EQ(run->sendShift, 0);
}

TEST(MenuCommands, AssemblyItemsFlip) {
  TestForm t;
  auto& st = t.form.st;
  t.form.menuCommand("mnu72");
  t.form.menuCommand("mnu73");
  t.form.menuCommand("mnu74");
  t.form.menuCommand("mnu75");
  EXPECT_EQ(st.qcc, -1);
  EXPECT_EQ(st.qff, -1);
  EXPECT_EQ(st.qhh, -1);
  EXPECT_EQ(st.qnn, -1);
  EXPECT_EQ(st.qpp, -1);
  const MenuEntry* mirror = findMenuEntry(menuTree(planimoveEdition()), "mnu71");
  EXPECT_EQ(mirror->sendKey, kKeyF1 + 2);
  EXPECT_EQ(mirror->sendShift, 1);
}

}  // namespace
}  // namespace pm
