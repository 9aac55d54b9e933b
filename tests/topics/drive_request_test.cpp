// The crank turns only in a command that asks for a step; runs end with one
// picture and classify every frame; the read-out and the link letters show the
// mechanism on screen; keys outside the key table rebuild.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "draw/colour_tables.h"
#include "draw/json.h"
#include "script/vector.h"
#include "support/test_form.h"
#include "topics/mechanism_detail.h"
#include "topics/motion_support.h"
#include "topics/topics.h"

namespace pm::testing {
namespace {

constexpr int kF(int n) { return kKeyF1 + n - 1; }

TestForm& show(TestForm& t, int type, int group, int topic) { return t.show(type, group, topic); }

std::string pictureOf(const TestForm& t) { return toJson(t.picture()).dump(); }

int count(const std::u32string& text, std::u32string_view what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::u32string::npos; at = text.find(what, at + 1))
    ++n;
  return n;
}

// The number printed after a read-out label (" <)a " …) or letter ("f").
double readoutValue(const DisplayList& list, std::u32string_view label) {
  const auto lines = texts(list);
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    if (lines[i]->text != label || lines[i]->x1 < 800 || lines[i]->y1 < 150) continue;
    return std::stod(std::string(lines[i + 1]->text.begin(), lines[i + 1]->text.end()));
  }
  ADD_FAILURE() << "no read-out line";
  return NAN;
}

double crankDegrees(const Form1& f) {
  return normalisedCrankAngle(f.engine.reg.ang[code(U'a')]) * 180 / kPi;
}

// --- the step request ---------------------------------------------------------

TEST(StepRequest, KeysThatOnlyChangeTheViewLeaveTheCrankWhereItStands) {
  TestForm t;
  show(t, 1, 4, 1);  // Bobillier
  t.key(kKeySpace);
  const double drive = t.form.st.wxx;
  const Point a = t.form.reg().point(U'A');
  auto unchanged = [&](const char* what) {
    EXPECT_EQ(t.form.st.wxx, drive) << what;
    EXPECT_EQ(t.form.reg().point(U'A'), a) << what;
  };
  t.key(kF(4));
  unchanged("F4");
  t.key(kF(6));
  unchanged("F6");
  t.key(kF(5));
  unchanged("F5");
  t.key(kF(3));
  unchanged("F3");
  t.key(kF(3));
  ASSERT_TRUE(t.form.menuCommand("mnu242"));  // Krümmung > Krümmungsmittelpunkt
  unchanged("menu topic");
  EXPECT_EQ(t.form.st.mn2, 2);
  t.key(kKeyRebuild);
  unchanged("rebuild");
  t.key(13);  // Enter: outside the key table
  unchanged("Enter");
  EXPECT_EQ(t.form.st.qgw, 1);  // the sense of the last step stays
}

TEST(StepRequest, EverySteppingKeyTurnsTheCrankOnceInItsSense) {
  struct Case {
    int key, shift;
    double sense;
  };
  for (const Case c : {Case{kKeySpace, 0, 1}, Case{kKeySpace, kShift, -1},
                       Case{kKeyBackspace, 0, -1}, Case{kKeyBackspace, kShift, 1},
                       Case{kKeyLeft, 0, 1}, Case{kKeyLeft, kShift, 1}, Case{kKeyRight, 0, -1},
                       Case{kKeyRight, kShift, -1}}) {
    TestForm t;
    show(t, 2, 1, 1);
    const double before = t.form.st.wxx;
    t.key(c.key, c.shift);
    EXPECT_NEAR(t.form.st.wxx - before, c.sense * 4 * kDeg, 1e-12) << c.key << " " << c.shift;
    t.key(kKeyRebuild);
    EXPECT_NEAR(t.form.st.wxx - before, c.sense * 4 * kDeg, 1e-12) << c.key << " " << c.shift;
  }
}

TEST(StepRequest, VelocityArrowsKeepTheSenseOfTheLastStep) {
  TestForm t;
  show(t, 2, 2, 4);  // Polstrahlen
  t.key(kKeySpace, kShift);
  const Point tip = t.form.reg().point(U'a');
  t.key(kF(4));
  EXPECT_EQ(t.form.st.qgw, -1);
  EXPECT_LT(distance(t.form.reg().point(U'a'), tip), 1e-9);
}

TEST(StepRequest, TheGridStopsTheStep) {
  TestForm t;
  show(t, 1, 1, 1);
  t.form.st.qsr = 1;
  const double drive = t.form.st.wxx;
  t.key(kKeySpace);
  EXPECT_EQ(t.form.st.wxx, drive);
}

TEST(StepRequest, SynthesisTakesThePairOnScreen) {
  TestForm t;
  show(t, 1, 10, 6);
  const double drive = t.form.st.wxx;
  for (int i = 0; i < 3; ++i) t.key(kKeySpace);
  EXPECT_NEAR(t.form.st.wxx - drive, 12 * kDeg, 1e-12);
  const Point v = t.form.reg().point(U'b');
  const Point circlePoint = t.form.reg().point(U'c');
  t.keyChar('T');
  EXPECT_NEAR(t.form.st.wxx - drive, 12 * kDeg, 1e-12);
  EXPECT_EQ(t.form.st.bz1, 1);
  EXPECT_LT(distance({t.form.st.bxx, t.form.st.byx}, v), 1e-9);
  EXPECT_LT(distance({t.form.st.bxa, t.form.st.bya}, circlePoint), 1e-9);
  t.key(kKeyBackspace);
  EXPECT_NEAR(t.form.st.wxx - drive, 8 * kDeg, 1e-12);
  // The four-bar subtopic computes its picture twice: still one step a key.
  t.form.st.mn2 = 7;
  t.key(kKeyRebuild);
  const double shown = t.form.st.wxx;
  t.key(kKeySpace);
  EXPECT_NEAR(t.form.st.wxx - shown, 4 * kDeg, 1e-12);
}

TEST(StepRequest, LastPagesOfTheStepByStepConstructionTurnWithEveryRebuild) {
  TestForm t;
  show(t, 1, 5, 7);
  t.form.st.qtx = 1;
  t.form.st.mn5 = 14;
  t.key(kKeySpace);
  const double still = t.form.st.wxx;
  t.key(kKeyRebuild);
  EXPECT_EQ(t.form.st.wxx, still);
  t.form.st.mn5 = 15;
  t.key(kKeyRebuild);
  t.key(kKeyRebuild);
  EXPECT_NEAR(std::abs(t.form.st.wxx - still), 8 * kDeg, 1e-12);
}

// --- runs -------------------------------------------------------------------

TEST(Runs, EndWithOnePictureAsARebuildDrawsIt) {
  struct Case {
    const char* what;
    int group, topic;
    std::function<void(TestForm&)> start;
  };
  const Case cases[] = {
      {"F7", 1, 6, [](TestForm& t) { t.key(kF(7)); }},
      {"Umlauf", 1, 1, [](TestForm& t) { ASSERT_TRUE(t.form.menuCommand("mnu66")); }},
      {"key 1", 2, 4, [](TestForm& t) { t.keyChar('1'); }},
      {"key 2", 5, 1, [](TestForm& t) { t.keyChar('2'); }},
      {"F7 in group 8", 8, 1, [](TestForm& t) { t.key(kF(7)); }},
  };
  for (const Case& c : cases) {
    TestForm t;
    show(t, 1, c.group, c.topic);
    t.form.st.qse = 1;
    c.start(t);
    const std::string afterRun = pictureOf(t);
    EXPECT_EQ(count(allText(t.picture()), U"Werklehre"), 1) << c.what;
    EXPECT_EQ(count(allText(t.picture()), U" xAo "), 1) << c.what;
    t.key(kKeyRebuild);
    EXPECT_EQ(afterRun, pictureOf(t)) << c.what;
  }
}

TEST(Runs, RautenwerkRunEndsWithOnePictureAndItsKeyLine) {
  TestForm t(rautenwerkEdition());
  show(t, 1, 1, 6);
  t.key(kF(7), kShift);
  const std::u32string text = allText(t.picture());
  EXPECT_EQ(count(text, U"Werklehre"), 1);
  EXPECT_EQ(count(text, U"33 ! 118 1 &H76"), 1);
  EXPECT_EQ(count(text, U" Kurbelschwinge"), 1);  // one title
}

TEST(Runs, TheDemonstrationEndsWithOnePicture) {
  TestForm t;
  show(t, 1, 1, 1);
  int events = 0;
  t.host.onProcessEvents = [&] {
    if (++events == 200) t.key(kF(2));  // switched off again
  };
  t.key(kF(2));
  t.host.onProcessEvents = nullptr;
  EXPECT_EQ(t.form.st.qxy, 0);
  EXPECT_EQ(count(allText(t.picture()), U"Werklehre"), 1);
  const std::string afterRun = pictureOf(t);
  t.key(kKeyRebuild);
  EXPECT_EQ(afterRun, pictureOf(t));
}

// Primitives of the coupler curve's second branch (fixed colour j).
int secondBranch(const DisplayList& list) {
  int n = 0;
  for (const Primitive& p : list) n += p.kind == Primitive::Kind::Line && p.colour == fixedColour(9);
  return n;
}

TEST(Runs, EveryFrameIsClassifiedAfresh) {
  // The double crank (class 1) draws both branches of its coupler curve.
  TestForm t;
  show(t, 2, 1, 6);
  const int branches = secondBranch(t.picture());
  ASSERT_GT(branches, 0);
  int frames = 0, framesWithBoth = 0;
  t.host.onProcessEvents = [&] {
    if (frames++ > 0) framesWithBoth += secondBranch(t.picture()) > 0;
  };
  t.key(kF(7));
  EXPECT_EQ(framesWithBoth, frames - 1);

  // A key pressed during the run changes the type: the frames after it show
  // the new type with its own class.
  TestForm u;
  show(u, 1, 1, 6);
  ASSERT_EQ(secondBranch(u.picture()), 0);
  frames = 0;
  framesWithBoth = 0;
  u.host.onProcessEvents = [&] {
    ++frames;
    if (frames == 3) u.key(kKeyPgUp);
    if (frames > 4) framesWithBoth += secondBranch(u.picture()) > 0;
  };
  u.keyChar('1');
  EXPECT_EQ(u.form.st.mn0, 2);
  EXPECT_EQ(framesWithBoth, frames - 4);
}

TEST(Runs, TurnAFullRevolutionInTheStretchAndLinkTopics) {
  for (int topic : {2, 3}) {
    for (char key : {'1', '2'}) {
      TestForm t;
      show(t, 1, 5, topic);
      const double before = t.form.st.wxx;
      const double step = t.form.reg().valOf(U'i');
      t.keyChar(key);
      EXPECT_NEAR(t.form.st.wxx - before, (key == '1' ? 1 : -1) * step / 4 * 2 * kPi, 1e-9)
          << "topic " << topic << " key " << key;
    }
  }
}

// --- group 8 ------------------------------------------------------------------

// The smallest and largest crank angle met while Space is pressed n times.
std::pair<double, double> swingRange(int group, int topic, int n) {
  TestForm t;
  show(t, 3, group, topic);
  double lo = 1e9, hi = -1e9;
  for (int i = 0; i < n; ++i) {
    t.key(kKeySpace);
    const double a = crankDegrees(t.form);
    lo = std::min(lo, a);
    hi = std::max(hi, a);
  }
  return {lo, hi};
}

TEST(SixBarDrive, TheDoubleRockerSwingsThroughItsWholeRange) {
  const auto fourBar = swingRange(1, 1, 120);
  ASSERT_GT(fourBar.second - fourBar.first, 40);
  for (int topic : {1, 3, 6}) {
    const auto sixBar = swingRange(8, topic, 120);
    EXPECT_NEAR(sixBar.first, fourBar.first, 1e-6) << "topic " << topic;
    EXPECT_NEAR(sixBar.second, fourBar.second, 1e-6) << "topic " << topic;
  }
}

TEST(SixBarDrive, ThePathLoopLeavesTheDriveSense) {
  TestForm t;
  show(t, 3, 8, 1);
  for (int i = 0; i < 40; ++i) {
    const double sense = t.form.st.qzw;
    t.key(kKeyRebuild);
    EXPECT_EQ(t.form.st.qzw, sense) << i;
    t.key(kKeySpace);
  }
}

// --- data read-out ------------------------------------------------------------

TEST(Readout, ShowsTheMechanismOnScreenWhateverLaterScriptsWrite) {
  struct Case {
    int type, group, topic;
  };
  for (const Case c : {Case{1, 1, 4}, Case{1, 1, 5}, Case{1, 1, 6}, Case{1, 4, 6}, Case{1, 4, 7},
                       Case{1, 9, 7}, Case{2, 6, 2}}) {
    // The same position in the topic that shows the mechanism alone.
    TestForm plain, t;
    for (TestForm* form : {&plain, &t}) {
      show(*form, c.type, form == &plain ? 1 : c.group, form == &plain ? 1 : c.topic);
      for (int i = 0; i < 3; ++i) form->key(kKeySpace);
      form->key(kF(6));
    }
    ASSERT_EQ(t.form.st.wxx, plain.form.st.wxx);
    const double crank = normalisedCrankAngle(t.form.reg().valOf(U'c') * kDeg - t.form.st.wxx);
    EXPECT_EQ(readoutValue(t.picture(), U" <)a "), std::floor(crank * 180 / kPi + 1e-9))
        << c.group << "." << c.topic;
    for (std::u32string_view line : {U"a", U"c", U"f", U" xAo ", U" <)d ", U" <)a "}) {
      EXPECT_EQ(readoutValue(t.picture(), line), readoutValue(plain.picture(), line))
          << c.group << "." << c.topic;
    }
  }
}

TEST(Readout, CrankAngleOfADeadPositionIsInRange) {
  TestForm t;
  show(t, 3, 1, 1);
  t.key(kF(6));
  for (int i = 0; i < 60; ++i) {
    t.key(kKeySpace);
    const double a = readoutValue(t.picture(), U" <)a ");
    EXPECT_GE(a, 0) << i;
    EXPECT_LE(a, 360) << i;
    EXPECT_EQ(a, std::floor(crankDegrees(t.form) + 1e-9)) << i;
  }
}

TEST(Readout, IntegerPartRoundsAwayNoise) {
  EXPECT_EQ(readoutInteger(25.999999999999996), 26);
  EXPECT_EQ(readoutInteger(26.0000000001), 26);
  EXPECT_EQ(readoutInteger(25.99), 25);
  EXPECT_EQ(readoutInteger(-0.5), -1);
  EXPECT_EQ(readoutInteger(-119.99999999999999), -120);
  EXPECT_FALSE(std::signbit(readoutInteger(-1e-12)));
  EXPECT_EQ(readoutInteger(NAN), 0);
}

TEST(Readout, AnalysePrintsOneReadoutOfTheRecordedFourBar) {
  TestForm t;
  show(t, 1, 10, 7);  // records the four-bar of the construction point
  t.form.st.qse = 1;
  t.form.st.mn2 = 8;
  t.key(kKeyRebuild);
  EXPECT_EQ(t.form.st.mn0, 9);
  const std::u32string text = allText(t.picture());
  EXPECT_EQ(count(text, U" xAo "), 1);
  EXPECT_EQ(count(text, U"Werklehre"), 1);
  // The lengths of the recorded strings, as type 9 loads them.
  show(t, 9, 1, 1);
  const double crank = readoutValue(t.picture(), U"a");
  EXPECT_EQ(crank, readoutInteger(t.form.reg().lenOf(U'a')));
}

// --- link letters -------------------------------------------------------------

// Single letters in the link-letter font, by letter.
std::vector<const Primitive*> linkLetters(const DisplayList& list, char32_t letter) {
  std::vector<const Primitive*> out;
  for (const Primitive* p : texts(list))
    if (p->font == "Arial" && p->size == 12 && p->text == std::u32string(1, letter)) out.push_back(p);
  return out;
}

TEST(LinkLetters, StandAtTheLinksOfTheShownPosition) {
  // The letters of the mechanism drawn alone, at the same crank angle.
  TestForm plain;
  show(plain, 1, 1, 1);
  plain.key(kKeySpace);
  plain.key(kF(5));
  for (int topic : {4, 5, 6}) {
    TestForm t;
    show(t, 1, 1, topic);
    t.key(kKeySpace);
    t.key(kF(5));
    for (char32_t link : {U'a', U'b', U'c', U'd', U'e', U'f'}) {
      const auto letter = linkLetters(t.picture(), link);
      const auto expected = linkLetters(plain.picture(), link);
      ASSERT_EQ(letter.size(), 1u) << topic;
      ASSERT_EQ(expected.size(), 1u) << topic;
      EXPECT_NEAR(letter[0]->x1, expected[0]->x1, 1e-9) << topic << static_cast<char>(link);
      EXPECT_NEAR(letter[0]->y1, expected[0]->y1, 1e-9) << topic << static_cast<char>(link);
    }
  }
}

TEST(LinkLetters, NoLetterOfAConstructionRegister) {
  for (int topic : {1, 5, 7}) {
    TestForm t;
    show(t, 1, 4, topic);
    t.key(kF(5));
    for (char32_t stray : {U'A', U'h', U'g'})
      EXPECT_TRUE(linkLetters(t.picture(), stray).empty())
          << "topic 4." << topic << " " << static_cast<char>(stray);
    EXPECT_EQ(linkLetters(t.picture(), U'b').size(), 1u) << topic;
  }
}

// --- keys outside the key table ---------------------------------------------

TEST(OtherKeys, RebuildAndClearTheHelpPicture) {
  for (int code : {9, 13, 121, 123, 188, 190, 219, 226, 255}) {
    TestForm t;
    show(t, 1, 1, 1);
    t.key(kF(1));
    ASSERT_EQ(t.form.st.qst, 1);
    const int frames = t.host.frames;
    const double drive = t.form.st.wxx;
    t.key(code);
    EXPECT_EQ(t.form.st.qst, 0) << code;
    EXPECT_EQ(t.host.frames, frames + 1) << code;
    EXPECT_EQ(t.form.st.wxx, drive) << code;
    EXPECT_EQ(t.form.st.mn1, 1) << code;
    EXPECT_TRUE(t.form.cmd.errors.empty()) << code;
    EXPECT_GT(countKind(t.picture(), Primitive::Kind::Circle), 0) << code;  // the mechanism again
    t.key(kF(8));
    ASSERT_EQ(t.form.st.qer, 1);
    t.key(code);
    EXPECT_EQ(t.form.st.qer, 0) << code;
  }
}

}  // namespace
}  // namespace pm::testing
