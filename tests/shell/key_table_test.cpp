// The key table of the command handler: stepping requests, topic keys, the
// modifier arrows, the lower bounds, the brightness step, the function keys,
// the character commands "0" and "4", Esc/End and nested commands.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "draw/colour_tables.h"
#include "support/test_form.h"

namespace pm {
namespace {

using testing::TestForm;

constexpr int kF(int n) { return kKeyF1 + n - 1; }

// Group 11 runs no group routine, so the stepping request of a key stays
// visible after the command (no drive step consumes it).
struct Stepping : ::testing::Test {
  TestForm t;
  void SetUp() override { t.form.st.mn1 = 11; }
  double after(int key, int shift) {
    t.form.st.qgw = 0;
    t.key(key, shift);
    return t.form.st.qgw;
  }
};

TEST_F(Stepping, DirectionsOfBackspaceSpaceLeftAndRight) {
  EXPECT_EQ(after(kKeyBackspace, 0), -1);
  EXPECT_EQ(after(kKeyBackspace, kShift), 1);
  EXPECT_EQ(after(kKeySpace, 0), 1);
  EXPECT_EQ(after(kKeySpace, kShift), -1);
  EXPECT_EQ(after(kKeyLeft, 0), 1);
  EXPECT_EQ(after(kKeyLeft, kShift), 1);
  EXPECT_EQ(after(kKeyRight, 0), -1);
  EXPECT_EQ(after(kKeyRight, kShift), -1);
  // Other modifiers do not step.
  EXPECT_EQ(after(kKeySpace, kCtrl), 0);
  EXPECT_EQ(after(kKeyBackspace, kAlt), 0);
}

TEST_F(Stepping, OnlyTheSteppingKeysAskForAStep) {
  t.key(kKeySpace);
  EXPECT_TRUE(t.form.cmd.stepAsked);  // group 11 runs no drive step to take it
  t.key(kKeyBackspace, kShift);
  EXPECT_TRUE(t.form.cmd.stepAsked);
  // A letter key clears the request and keeps the sense of the last step.
  t.form.st.qgw = -1;
  t.keyChar('A');
  EXPECT_FALSE(t.form.cmd.stepAsked);
  EXPECT_EQ(t.form.st.qgw, -1);
  for (int key : {int(kKeyRebuild), kKeyF1 + 3, kKeyF1 + 5, int(kKeyUp), int(kKeyPgUp)}) {
    t.key(key);
    EXPECT_FALSE(t.form.cmd.stepAsked) << key;
  }
  t.key(kKeySpace, kCtrl);
  EXPECT_FALSE(t.form.cmd.stepAsked);
}

TEST(KeyTable, TopicKeysAndLowerBounds) {
  TestForm t;
  auto& st = t.form.st;
  t.key(kKeyPgDn);
  EXPECT_EQ(st.mn0, 1);  // clamped
  t.key(kKeyPgUp);
  EXPECT_EQ(st.mn0, 2);

  st.mn1 = 1;
  st.mn2 = 4;
  t.key(kKeyUp, kShift);
  EXPECT_EQ(st.mn1, 1);
  EXPECT_EQ(st.mn2, 1);
  st.mn5 = 1;
  t.key(kKeyDown, kShift);  // a new group opens on topic 1, page 0
  EXPECT_EQ(st.mn1, 2);
  EXPECT_EQ(st.mn2, 1);
  EXPECT_EQ(st.mn5, 0);
  st.mn1 = 10;
  t.key(kKeyDown, kShift);  // past the last group it stays there
  EXPECT_EQ(st.mn1, 10);
  EXPECT_EQ(st.mn2, 1);

  st.mn5 = -3;  // whatever set it, the page never stays negative
  st.mn1 = -2;
  st.mn0 = 0;
  t.key(kKeyRebuild);
  EXPECT_EQ(st.mn5, 0);
  EXPECT_GE(st.mn1, 1);
  EXPECT_GE(st.mn0, 1);
}

// Down and Up from (group, topic, page) with the pages shown or hidden.
struct PageKey {
  double mn1, mn2, mn5, qtx;
  int key;
  double toMn1, toMn2, toMn5;
};

TEST(KeyTable, ArrowsTurnThePagesThenOpenTheNeighbouringTopicOnItsFirstPage) {
  // 2.2 has two pages, 2.3 one, 1.0 (the start) three, 5.7 eighteen steps.
  const PageKey cases[] = {
      {2, 2, 0, 1, kKeyDown, 2, 2, 1},  // the page turns
      {2, 2, 1, 1, kKeyDown, 2, 3, 0},  // after the last page: the next topic
      {2, 3, 0, 1, kKeyDown, 2, 4, 0},
      {2, 2, 1, 1, kKeyUp, 2, 2, 0},    // back to page 0 of the same topic
      {2, 3, 0, 1, kKeyUp, 2, 2, 0},    // on page 0: the previous topic, page 0
      {2, 2, 1, 0, kKeyDown, 2, 3, 0},  // pages hidden: the topic changes
      {2, 2, 1, 0, kKeyUp, 2, 1, 0},
      {1, 0, 2, 1, kKeyDown, 1, 1, 0},  // the start pages end in the first topic
      {1, 1, 0, 1, kKeyUp, 1, 0, 0},
      {1, 6, 0, 1, kKeyDown, 2, 1, 0},  // across groups, forwards …
      {4, 1, 0, 1, kKeyUp, 3, 8, 0},    // … and backwards to the group's last topic
      {5, 1, 0, 1, kKeyUp, 4, 7, 0},
      {6, 1, 0, 0, kKeyUp, 5, 7, 0},
      {8, 1, 0, 1, kKeyUp, 7, 8, 0},
      {5, 7, 4, 1, kKeyDown, 5, 7, 5},  // the construction's steps
      {5, 7, 17, 1, kKeyDown, 6, 1, 0},
      {3, 9, 0, 1, kKeyDown, 4, 1, 0},  // 3.9 is moved on by the stepping
      {2, 3, 7, 1, kKeyUp, 2, 3, 0},    // a page beyond the topic's pages turns back into them
  };
  for (const PageKey& c : cases) {
    TestForm t;
    auto& st = t.form.st;
    st.mn1 = c.mn1;
    st.mn2 = c.mn2;
    st.mn5 = c.mn5;
    st.qtx = c.qtx;
    t.key(c.key);
    const std::string from = std::to_string(int(c.mn1)) + "." + std::to_string(int(c.mn2)) + " page " +
                             std::to_string(int(c.mn5)) + (c.key == kKeyUp ? " Up" : " Down");
    EXPECT_EQ(st.mn1, c.toMn1) << from;
    EXPECT_EQ(st.mn2, c.toMn2) << from;
    EXPECT_EQ(st.mn5, c.toMn5) << from;
  }
}

TEST(KeyTable, ModifierArrowsChangeOffsetsAndScales) {
  TestForm t;
  auto& st = t.form.st;
  for (int i = 0; i < 12; ++i) t.key(kKeyUp, kCtrl);
  EXPECT_NEAR(st.qzz, 2, 1e-12);
  t.key(kKeyDown, kCtrl);
  EXPECT_NEAR(st.qzz, 2 / std::pow(2, 1.0 / 12), 1e-12);

  t.key(kKeyLeft, kShift | kCtrl);
  EXPECT_NEAR(st.qbr, 2 * std::pow(2, 1.0 / 12), 1e-12);
  t.key(kKeyRight, kShift | kCtrl);
  EXPECT_NEAR(st.qbr, 2, 1e-12);

  t.key(kKeyLeft, kCtrl);
  EXPECT_EQ(st.qrtt, -1);
  t.key(kKeyRight, kAlt);
  t.key(kKeyRight, kAlt);
  EXPECT_EQ(st.qv, 2);  // step qss = 1
  t.key(kKeyUp, kAlt);
  EXPECT_EQ(st.qx, -2);
  t.key(kKeyRight, kShift | kAlt);
  EXPECT_EQ(st.qd, 1);
  t.key(kKeyUp, kShift | kAlt);
  EXPECT_EQ(st.qa, 1);
  t.key(kKeyLeft, kCtrl | kAlt);
  EXPECT_EQ(st.qb, -1);
  t.key(kKeyDown, kCtrl | kAlt);
  EXPECT_EQ(st.qc, 1);
  t.key(kKeyRight, kShift | kCtrl | kAlt);
  EXPECT_EQ(st.qe, 1);
  t.key(kKeyUp, kShift | kCtrl | kAlt);
  EXPECT_EQ(st.qf, -1);

  // Offsets changed by the arrows show in the same command's registers.
  EXPECT_NEAR(t.form.reg().lenOf(U'a'), (80 + 1) * st.qzz, 1e-9);
}

TEST(KeyTable, BrightnessGrowsWhileThePaletteStopsAtItsLimits) {
  TestForm t;
  auto& st = t.form.st;
  t.key(kKeyUp, kShift | kCtrl);
  EXPECT_EQ(st.rr1, 144);
  EXPECT_EQ(st.gg1, 204);
  EXPECT_EQ(st.bb1, 256);
  EXPECT_EQ(t.form.drawing.palette[0], rgb(144, 144, 144));
  for (int i = 0; i < 5; ++i) t.key(kKeyUp, kShift | kCtrl);
  EXPECT_EQ(st.rr1, 224);  // the fields keep growing …
  EXPECT_EQ(st.gg1, 244);
  EXPECT_EQ(t.form.drawing.palette[0], rgb(160, 160, 160));  // … the palette does not
  EXPECT_EQ(t.form.drawing.palette[8], rgb(224, 224, 224));
  t.key(kKeyHome);
  EXPECT_EQ(st.rr1, 128);
  EXPECT_EQ(t.form.drawing.palette[1], rgb(128, 128, 196));
}

TEST(KeyTable, HelpPictureIsOneShot) {
  TestForm t;
  auto& st = t.form.st;
  t.key(kF(1));
  EXPECT_EQ(st.qst, 1);
  t.key(kF(1));
  EXPECT_EQ(st.qst, 0);
  t.key(kF(1));
  t.key(kKeySpace);
  EXPECT_EQ(st.qst, 0);

  t.key(kF(8));
  EXPECT_EQ(st.qer, 1);
  t.key(kKeyRebuild);
  EXPECT_EQ(st.qer, 0);
}

TEST(KeyTable, DisplayTogglesAndAssemblyFlips) {
  TestForm t;
  auto& st = t.form.st;
  t.key(kF(4));
  t.key(kF(5));
  t.key(kF(6));
  EXPECT_EQ(st.qsc, 1);
  EXPECT_EQ(st.qsd, 1);
  EXPECT_EQ(st.qse, 1);
  t.key(kF(6), kShift);
  t.key(kF(7), kShift);
  t.key(kF(8), kShift);
  t.key(kF(9), kShift);
  EXPECT_EQ(st.qßß, 1);
  EXPECT_EQ(st.qsr, 1);
  EXPECT_EQ(st.qxx, 0);
  EXPECT_EQ(st.qgx, 1);
  t.key(kF(9));  // F9 alone does nothing in this edition
  EXPECT_EQ(st.qgx, 1);

  t.key(kF(1), kShift);
  t.key(kF(2), kShift);
  t.key(kF(4), kShift);
  t.key(kF(5), kShift);
  EXPECT_EQ(st.qff, -1);
  EXPECT_EQ(st.qhh, -1);
  EXPECT_EQ(st.qcc, -1);
  EXPECT_EQ(st.qnn, -1);
  EXPECT_EQ(st.qpp, -1);
  EXPECT_EQ(t.form.reg().lenOf(U'p'), -50);  // the flip is loaded by its own key
  // Only Shift 0 and 1 select function keys.
  t.key(kF(2), kCtrl);
  EXPECT_EQ(st.qcc, -1);

  // Home resets lengths, signs and zoom but keeps qhh and the display flags.
  st.qa = 7;
  st.qzz = 3;
  st.wxx = 1.5;
  st.sa = 4;
  st.sm = 9;
  t.key(kKeyHome);
  EXPECT_EQ(st.qa, 0);
  EXPECT_EQ(st.qzz, 1);
  EXPECT_EQ(st.wxx, 0);
  EXPECT_EQ(st.qcc, 1);
  EXPECT_EQ(st.qff, 1);
  EXPECT_EQ(st.qhh, -1);
  EXPECT_EQ(st.sa, 0);
  EXPECT_EQ(st.sm, 9);
  EXPECT_EQ(st.qsc, 1);
}

// The figures of a picture, without its texts (Rautenwerk prints the key code).
DisplayList figures(const DisplayList& list) {
  DisplayList out;
  for (const Primitive& p : list)
    if (p.kind != Primitive::Kind::Text) out.push_back(p);
  return out;
}

// A sign or factor key shows its effect in its own picture: the picture after
// the key differs from the one before and is the one a rebuild then draws.
TEST(KeyTable, SignAndFactorKeysShowTheirEffectInTheirOwnPicture) {
  struct Case {
    const Edition* edition;
    int shiftedKey;               // Shift+F<n>
    double type, group, topic;    // a picture that shows the flipped link
  };
  const Case cases[] = {
      {&planimoveEdition(), 1, 1, 1, 1},   // coupler triangle
      {&planimoveEdition(), 2, 1, 1, 1},   // assembly of the four-bar
      {&planimoveEdition(), 4, 1, 8, 1},   // dyad of the six-bar
      {&planimoveEdition(), 5, 1, 8, 1},   // coupler of the six-bar
      {&planimoveEdition(), 8, 1, 3, 1},   // tangential acceleration of A
      {&rautenwerkEdition(), 1, 1, 1, 1},
      {&rautenwerkEdition(), 2, 1, 1, 1},
      {&rautenwerkEdition(), 4, 1, 8, 1},
      {&rautenwerkEdition(), 5, 1, 8, 1},
      {&rautenwerkEdition(), 9, 1, 3, 1},
  };
  for (const Case& c : cases) {
    TestForm t(*c.edition);
    t.form.st.qtx = 0;
    t.show(c.type, c.group, c.topic);
    const DisplayList before = figures(t.picture());
    t.key(kF(c.shiftedKey), kShift);
    const DisplayList own = figures(t.picture());
    t.key(kKeyRebuild);
    const std::string name = c.edition->name + " Shift+F" + std::to_string(c.shiftedKey);
    EXPECT_NE(own, before) << name << " changes nothing";
    EXPECT_EQ(own, figures(t.picture())) << name << " shows its effect one key late";
  }
}

TEST(KeyTable, MirrorDriveReflectsTheCrankAboutTheFrame) {
  TestForm t;
  auto& st = t.form.st;
  // Type 1: frame angle val[d] 0, val[c] 58 degrees.
  st.wxx = 0.3;
  t.key(kF(3), kShift);
  const double c = 58 * Form1::deg;
  const double crank = c - 0.3;
  const double mirrored = 2 * (0 + Form1::pi) - crank;
  EXPECT_NEAR(st.wxx, c - mirrored, 1e-12);

  // Type 8 has a frame angle of 30 degrees: the reflection uses it.
  st.mn0 = 8;
  st.wxx = 0;
  t.key(kF(3), kShift);
  const double c8 = 90 * Form1::deg, d8 = 30 * Form1::deg;
  EXPECT_NEAR(st.wxx, c8 - (2 * (d8 + Form1::pi) - c8), 1e-12);
}

TEST(KeyTable, KeyZeroResetsPositionsInTheSynthesisAndLengthsElsewhere) {
  TestForm t;
  auto& st = t.form.st;
  st.mn1 = 10;
  st.mn2 = 1;
  st.qa = 5;
  st.sa = 6;
  st.sm = 7;
  st.sz = 8;
  t.keyChar('0');
  EXPECT_EQ(st.sm, 0);
  EXPECT_EQ(st.sz, 0);
  EXPECT_EQ(st.qa, 5);
  EXPECT_EQ(st.sa, 6);

  st.mn1 = 2;
  st.mn2 = 1;
  st.sm = 7;
  t.keyChar('0');
  EXPECT_EQ(st.qa, 0);
  EXPECT_EQ(st.sa, 0);
  EXPECT_EQ(st.sm, 7);
}

TEST(KeyTable, KeyFourOpensTheSynthesisSwingTopic) {
  TestForm t;
  t.form.st.mn5 = 3;
  t.keyChar('4');
  EXPECT_EQ(t.form.st.mn1, 10);
  EXPECT_EQ(t.form.st.mn2, 6);
  EXPECT_EQ(t.form.st.mn5, 0);
}

TEST(KeyTable, EscAndEndEndTheProgramOnce) {
  for (int key : {kKeyEsc, kKeyEnd}) {
    TestForm t;
    const int frames = t.host.frames;
    t.key(key, kShift);  // with a modifier: no rule
    EXPECT_FALSE(t.host.quitCalled);
    t.key(key);
    EXPECT_TRUE(t.host.quitCalled);
    EXPECT_TRUE(t.form.ending);
    EXPECT_EQ(t.host.frames, frames + 1);
    t.key(kKeyPgUp);  // everything after the end is ignored
    EXPECT_EQ(t.form.st.mn0, 1);
    EXPECT_TRUE(t.form.menuCommand("mnu15"));
    EXPECT_EQ(t.host.frames, frames + 1);
  }
}

TEST(KeyTable, OddKeyCodesAndModifiersOnlyRebuild) {
  TestForm t;
  for (int key : {-1, 0, 65535, 65536, 0xD800, 1 << 30, -(1 << 30)}) {
    for (int shift : {-1, 0, 8, 255}) t.key(key, shift);
  }
  EXPECT_EQ(t.form.st.mn0, 1);
  EXPECT_EQ(t.form.st.qzz, 1);
  EXPECT_EQ(t.form.depth, 0);
}

TEST(Nesting, InnerCommandKeepsTheOuterRegistersAndCommandState) {
  TestForm t;
  Form1& f = t.form;
  const int frames = t.host.frames;
  // As if a run of an outer command let a key through.
  f.depth = 1;
  f.reg().px[500] = 42;
  f.reg().lenOf(U'a') = -7;
  f.cmd.keyCode = 118;
  f.cmd.traceCounter = 33;
  t.key(kKeyPgUp);
  EXPECT_EQ(f.st.mn0, 2);  // the state record belongs to everyone
  EXPECT_EQ(f.reg().px[500], 42);
  EXPECT_EQ(f.reg().lenOf(U'a'), -7);
  EXPECT_EQ(f.cmd.keyCode, 118);
  EXPECT_EQ(f.cmd.traceCounter, 33);
  EXPECT_EQ(f.depth, 1);
  EXPECT_EQ(t.host.frames, frames);  // the outer command finishes the picture

  t.key(kKeyEsc);  // an Esc inside a run ends everything
  EXPECT_TRUE(f.ending);
  EXPECT_EQ(f.depth, 1);
  EXPECT_EQ(f.reg().px[500], 42);
  f.depth = 0;
}

TEST(Nesting, KeysBeyondTheNestingLimitAreDropped) {
  TestForm t;
  t.form.depth = 64;  // as deep as keys pressed during runs may nest
  t.key(kKeyPgUp);
  EXPECT_EQ(t.form.st.mn0, 1);
  EXPECT_EQ(t.form.depth, 64);
  t.form.depth = 63;
  t.key(kKeyPgUp);
  EXPECT_EQ(t.form.st.mn0, 2);
  // Esc and End are never dropped.
  t.form.depth = 64;
  t.key(kKeyEnd);
  EXPECT_TRUE(t.form.ending);
  t.form.depth = 0;
}

TEST(Nesting, EveryOutermostCommandShowsOneFrame) {
  TestForm t;
  EXPECT_EQ(t.host.frames, 1);  // the first picture
  t.key(kKeyRebuild);
  t.key(kKeyPgUp);
  EXPECT_EQ(t.host.frames, 3);
}

}  // namespace
}  // namespace pm
