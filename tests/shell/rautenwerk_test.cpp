// The earlier edition: its function keys, display and assembly menus, the
// key-overview flag that is not one-shot, and the key-information line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/menu_table.h"
#include "support/test_form.h"

namespace pm {
namespace {

using testing::TestForm;

constexpr int kF(int n) { return kKeyF1 + n - 1; }

struct Rautenwerk : ::testing::Test {
  TestForm t{rautenwerkEdition()};
  StateRecord& st = t.form.st;
};

TEST_F(Rautenwerk, FunctionKeysWithoutShift) {
  t.key(kF(2));
  EXPECT_EQ(st.qsc, 1);
  t.key(kF(3));
  t.key(kF(4));
  EXPECT_EQ(st.qsd, 0);  // F3 and F4 toggle the same flag
  t.key(kF(3));
  EXPECT_EQ(st.qsd, 1);
  t.key(kF(5));
  EXPECT_EQ(st.qsr, 1);
  t.key(kF(6));
  EXPECT_EQ(st.qßß, 1);
  t.key(kF(7));
  EXPECT_EQ(st.qse, 1);
  t.key(kF(9));
  EXPECT_EQ(st.qtx, 0);
  EXPECT_EQ(st.qxy, 0);  // no key starts a demonstration by the flag
}

TEST_F(Rautenwerk, FunctionKeysWithShift) {
  t.key(kF(1), kShift);
  t.key(kF(2), kShift);
  t.key(kF(4), kShift);
  t.key(kF(5), kShift);
  EXPECT_EQ(st.qff, -1);
  EXPECT_EQ(st.qhh, -1);
  EXPECT_EQ(st.qcc, -1);
  EXPECT_EQ(st.qnn, -1);
  EXPECT_EQ(st.qpp, -1);
  t.key(kF(8), kShift);
  t.key(kF(9), kShift);
  EXPECT_EQ(st.qgx, 1);
  EXPECT_EQ(st.qxx, 0);

  // Shift+F6 only rebuilds.
  StateRecord before = st;
  const int frames = t.host.frames;
  t.key(kF(6), kShift);
  EXPECT_EQ(t.host.frames, frames + 1);
  bool same = true;
  before.forEachNumeric([&](std::string_view name, double v) {
    st.forEachNumeric([&](std::string_view n, double w) {
      if (n == name && n != "qtn" && v != w) same = false;
    });
  });
  EXPECT_TRUE(same);
}

TEST_F(Rautenwerk, KeyOverviewFlagStaysUntilF8Again) {
  t.key(kF(8));
  EXPECT_EQ(st.qer, 1);
  t.key(kKeySpace);
  EXPECT_EQ(st.qer, 1);
  t.key(kF(8));
  EXPECT_EQ(st.qer, 0);
  t.key(kF(1));
  t.key(kKeySpace);
  EXPECT_EQ(st.qst, 0);  // the help picture is still one-shot
}

TEST_F(Rautenwerk, DisplayMenuArray) {
  const Edition& e = rautenwerkEdition();
  std::vector<std::string> captions;
  for (const MenuEntry& m : menuTree(e)) {
    if (m.parent == "mnu60") captions.push_back(m.caption);
  }
  EXPECT_EQ(captions,
            (std::vector<std::string>{"&Daten", "&Softkeys", "&Gelenke", "&Raster", "G&lieder"}));
  EXPECT_FALSE(t.form.menuChecked("mnu61"));  // "&Daten" follows the listing, off at start
  EXPECT_EQ(st.qse, 0);
  t.form.menuCommand("mnu61");
  EXPECT_EQ(st.qse, 1);
  EXPECT_TRUE(t.form.menuChecked("mnu61"));

  // "&Raster" follows qsd; twice returns flag and mark to their first state.
  EXPECT_FALSE(t.form.menuChecked("mnu64"));
  const int frames = t.host.frames;
  t.form.menuCommand("mnu64");
  EXPECT_EQ(st.qsd, 1);
  EXPECT_TRUE(t.form.menuChecked("mnu64"));
  t.form.menuCommand("mnu64");
  EXPECT_EQ(st.qsd, 0);
  EXPECT_FALSE(t.form.menuChecked("mnu64"));
  EXPECT_EQ(t.host.frames, frames + 2);

  t.form.menuCommand("mnu65");
  EXPECT_EQ(st.qsr, 1);
  t.form.menuCommand("mnu62");
  EXPECT_EQ(st.qst, 1);  // sent as F1, so the prologue keeps it
  t.form.menuCommand("mnu63");
  EXPECT_EQ(st.qsc, 1);
  EXPECT_FALSE(t.form.menuCommand("mnu66"));
  EXPECT_FALSE(t.form.menuCommand("mnu67"));
}

TEST_F(Rautenwerk, AssemblyMenuFlips) {
  t.form.menuCommand("mnu74");
  t.form.menuCommand("mnu75");
  EXPECT_EQ(st.qnn, -1);
  EXPECT_EQ(st.qpp, -1);
}

TEST(KeyInformationLine, CodesCharacterAndHex) {
  EXPECT_EQ(keyInformationLine(U'A', 65, 1), U"65 A 65 1 &H41");
  EXPECT_EQ(keyInformationLine(U'!', 118, 1), U"33 ! 118 1 &H76");
  EXPECT_EQ(keyInformationLine(5, 5, 0), U"5   5 0 &H5");  // control character as a blank
  EXPECT_EQ(keyInformationLine(0, -1, 0), U"0   -1 0 &HFFFF");
}

}  // namespace
}  // namespace pm

namespace pm {
namespace {

TEST_F(Rautenwerk, ShiftF7RunsAndMarksTheKeyCharacter) {
  t.key(kF(7), kShift);
  EXPECT_EQ(t.form.cmd.key, U'!');
  EXPECT_EQ(t.form.cmd.keyCode, kF(7));
  t.key(kF(7));
  EXPECT_EQ(t.form.cmd.key, static_cast<char32_t>(kF(7)));
}

}  // namespace
}  // namespace pm
