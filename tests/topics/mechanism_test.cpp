// The mechanism types: case numbers and titles, the drive step with its
// reversal at dead positions, and the full-revolution run.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "script/vector.h"
#include "support/test_form.h"
#include "topics/mechanism_detail.h"
#include "topics/motion_support.h"
#include "topics/topics.h"

namespace pm::testing {
namespace {

// A started program showing mechanism type `type`, group 1 topic 1.
struct Mechanism : TestForm {
  explicit Mechanism(double type, double topic = 1) {
    form.st.mn0 = type;
    form.st.mn2 = topic;
    key(kKeyRebuild);
  }
  Registers& reg() { return form.reg(); }
  Point point(char32_t c) { return form.reg().point(c); }
};

TEST(MechanismCase, PresetsOfTypesOneToFourAndTheirTurnClasses) {
  const int expectedCase[] = {0, 3, 4, 6};
  const int expectedClass[] = {0, 1, 3, 3};
  for (int type = 1; type <= 4; ++type) {
    Mechanism m(type);
    EXPECT_EQ(m.form.cmd.loopCase, expectedCase[type - 1]) << "type " << type;
    EXPECT_EQ(m.form.cmd.turnClass, expectedClass[type - 1]) << "type " << type;
  }
}

TEST(MechanismCase, TitleLineIsNumberItemThenTitle) {
  Mechanism m(1);
  const std::u32string text = allText(m.picture());
  EXPECT_NE(text.find(U" 0  Kurbelschwinge"), std::u32string::npos);
  Mechanism two(2);
  EXPECT_NE(allText(two.picture()).find(U" 3  Doppelkurbel"), std::u32string::npos);
  // Y and A moved with the mouse: crank 230, coupler 150, rocker 120, frame 180.
  Mechanism moved(1);
  moved.host.cx = 480;
  moved.host.cy = 560;
  moved.keyChar('Y');
  moved.host.cx = 530;
  moved.keyChar('A');
  EXPECT_NE(allText(moved.picture()).find(U" 7  Doppelschwinge ohne umlauffähiges Glied, Kurbel am längsten"),
            std::u32string::npos);
}

TEST(MechanismCase, SliderTypesPrintTheirOwnTitleWithCaseEight) {
  Mechanism m(6);
  EXPECT_EQ(m.form.cmd.loopCase, 8);
  EXPECT_EQ(m.form.cmd.turnClass, 0);
  const std::u32string text = allText(m.picture());
  EXPECT_NE(text.find(U" 8 Kurbelschleife"), std::u32string::npos);
  EXPECT_EQ(text.find(U" Kurbelschwinge"), std::u32string::npos);
  EXPECT_NE(allText(Mechanism(7).picture()).find(U" 8 Schubschleife"), std::u32string::npos);
  EXPECT_NE(allText(Mechanism(8).picture()).find(U" 8 Schubkurbel"), std::u32string::npos);
}

TEST(MechanismCase, StrictComparisonsAndSignsIgnored) {
  TestForm t;
  Registers& r = t.form.reg();
  r.lenOf(U'a') = r.lenOf(U'b') = r.lenOf(U'd') = 100;
  r.lenOf(U'c') = -100;
  EXPECT_EQ(classifyLoop(t.form).loopCase, 0);  // equal sums add nothing
  r.lenOf(U'a') = 101;                          // a + b > c + d, a + c > b + d, a + d > b + c
  EXPECT_EQ(classifyLoop(t.form).loopCase, 7);
  EXPECT_EQ(classifyLoop(t.form).turnClass, 3);
  r.lenOf(U'a') = 10;
  r.lenOf(U'b') = 300;  // only a + b > c + d
  EXPECT_EQ(classifyLoop(t.form).loopCase, 1);
  EXPECT_EQ(classifyLoop(t.form).turnClass, 2);
}

// Whether two links that meet in a joint turn fully relative to each other,
// found by assembling the chain: at every angle between them (1° apart, with
// 0° and 180°, where their free ends are nearest and farthest) the other two
// links must close the loop between those ends.
bool turnsFully(double first, double second, double third, double fourth) {
  for (int degree = 0; degree < 360; ++degree) {
    const double gap = std::abs(std::complex<double>(first) - std::polar(second, degree * kPi / 180));
    if (gap > third + fourth || gap < std::fabs(third - fourth)) return false;
  }
  return true;
}

TEST(MechanismCase, TitlesAndTurnClassesAgreeWithTheAssembledChain) {
  // What each title says: which of crank, rocker (both against the frame) and
  // coupler (against crank and rocker) turn fully, and for a chain in which
  // no link turns fully, which link is the longest (0: not said).
  struct Claim {
    std::u32string_view title;
    bool crank, rocker, coupler;
    char longest;
  };
  const Claim claims[8] = {
      {U" Kurbelschwinge", true, false, false, 0},
      {U" Doppelschwinge ohne umlauffähiges Glied, Koppel am längsten", false, false, false, 'b'},
      {U" Doppelschwinge ohne umlauffähiges Glied, Schwinge am längsten", false, false, false, 'c'},
      {U" Doppelkurbel", true, true, false, 0},
      {U" Doppelschwinge mit Durchschlag", false, false, false, 'd'},
      {U" Kurbelschwinge mit Antrieb der Schwinge", false, true, false, 0},
      {U" Doppelschwinge mit zweiteiliger Koppelkurve und umlauffähiger Koppel", false, false, true, 0},
      {U" Doppelschwinge ohne umlauffähiges Glied, Kurbel am längsten", false, false, false, 'a'},
  };
  // Every set of lengths 1 … 10 (ties among them) and random ones. Equal sums
  // add no bit, so a tie is classed as the chain with a crank a hair shorter:
  // every comparison has the crank on its greater side.
  std::vector<std::array<double, 4>> sets;
  for (int n = 0; n < 10000; ++n) sets.push_back({1.0 + n % 10, 1.0 + n / 10 % 10, 1.0 + n / 100 % 10, 1.0 + n / 1000});
  std::mt19937 random(24);
  std::uniform_real_distribution<double> length(1, 300);
  for (int n = 0; n < 5000; ++n) sets.push_back({length(random), length(random), length(random), length(random)});
  int ties = 0;
  for (const auto& [a0, b, c, d] : sets) {
    const LoopClass k = classifyLengths(a0, -b, c, d);  // signs pick branches only
    ties += a0 + b == c + d || a0 + c == b + d || a0 + d == b + c;
    const double a = a0 - 1e-6;
    const bool crank = turnsFully(d, a, b, c), rocker = turnsFully(c, d, a, b);
    const bool couplerOnCrank = turnsFully(a, b, c, d), couplerOnRocker = turnsFully(b, c, d, a);
    const std::string set = std::to_string(a0) + " " + std::to_string(b) + " " + std::to_string(c) + " " +
                            std::to_string(d) + ": case " + std::to_string(k.loopCase);
    ASSERT_GE(k.loopCase, 0);
    ASSERT_LT(k.loopCase, 8);
    EXPECT_EQ(k.turnClass <= 1, crank) << set;
    const Claim& claim = claims[k.loopCase];
    EXPECT_EQ(caseTitle(k.loopCase), claim.title) << set;
    EXPECT_EQ(crank, claim.crank) << set;
    EXPECT_EQ(rocker, claim.rocker) << set;
    EXPECT_EQ(couplerOnCrank && couplerOnRocker, claim.coupler) << set;
    if (claim.longest != 0) {
      EXPECT_FALSE(crank || rocker || couplerOnCrank || couplerOnRocker) << set << ": a link turns fully";
      const std::array<double, 4> links = {a0, b, c, d};
      EXPECT_EQ(links[static_cast<std::size_t>(claim.longest - 'a')], *std::max_element(links.begin(), links.end()))
          << set;
    }
  }
  EXPECT_GT(ties, 1000);
}

TEST(MechanismCase, TypeNineBeforeAnySynthesisCollapsesOntoX) {
  Mechanism m(9);
  EXPECT_EQ(m.form.cmd.loopCase, 0);
  EXPECT_EQ(m.point(U'A'), m.point(U'X'));
}

TEST(DriveStep, StandingRequestKeepsThePosition) {
  Mechanism m(1);
  m.key(kKeySpace);
  const double drive = m.form.st.wxx;
  const Point a = m.point(U'A');
  m.form.st.qgw = 0;
  m.key(kKeyRebuild);
  m.key(kKeyRebuild);
  EXPECT_EQ(m.form.st.wxx, drive);
  EXPECT_EQ(m.point(U'A'), a);
}

TEST(DriveStep, OnlyTheCommandThatAsksForAStepTurnsTheCrank) {
  Mechanism m(2);
  const double start = m.form.st.wxx;
  m.key(kKeySpace);
  const double afterSpace = m.form.st.wxx;
  EXPECT_NEAR(afterSpace - start, 4 * kDeg, 1e-12);
  m.key(kKeyRebuild);  // a menu rebuild shows the crank where it stands
  EXPECT_EQ(m.form.st.wxx, afterSpace);
  EXPECT_EQ(m.form.st.qgw, 1);  // the sense of the last step stays
  m.key(kKeySpace, kShift);
  EXPECT_NEAR(m.form.st.wxx, start, 1e-12);
  EXPECT_EQ(m.form.st.qgw, -1);
}

TEST(DriveStep, CrankAngleIsNormalisedWhateverTheDriveAngle) {
  for (double drive : {0.0, 1000.3, -1000.3, 1e12, -7e15, 2 * kPi}) {
    Mechanism m(2);
    m.form.st.qgw = 0;
    m.form.st.wxx = drive;
    m.key(kKeyRebuild);
    const double a = m.reg().angOf(U'a');
    EXPECT_GE(a, 0) << drive;
    EXPECT_LE(a, 2 * kPi) << drive;
  }
  EXPECT_EQ(normalisedCrankAngle(std::nan("")), 0);
  EXPECT_EQ(normalisedCrankAngle(INFINITY), 0);
}

TEST(DriveStep, DoubleRockerReversesAtTheEndOfItsRangeOnTheSameBranch) {
  Mechanism m(3);
  auto side = [&m] {
    const Point a = m.point(U'A'), b = m.point(U'B'), y = m.point(U'Y');
    return (y.x - a.x) * (b.y - a.y) - (y.y - a.y) * (b.x - a.x) > 0;
  };
  const bool branch = side();
  const double direction = m.form.st.qzw;
  int reversals = 0;
  for (int i = 0; i < 200; ++i) {
    const double before = m.form.st.qzw;
    m.key(kKeySpace);
    if (m.form.st.qzw != before) ++reversals;
    ASSERT_EQ(m.form.scratch().kks, 0) << "step " << i;  // the picture always closes
    EXPECT_EQ(side(), branch) << "step " << i;
  }
  EXPECT_GE(reversals, 2);
  EXPECT_TRUE(m.form.st.qzw == direction || m.form.st.qzw == -direction);
}

TEST(DriveStep, ShortFormStopsAfterTheReversal) {
  Mechanism m(1);
  Registers& r = m.reg();
  r.setPoint(U'C', {-1, -1});
  r.setPoint(U'P', {-2, -2});
  m.form.st.qgw = 1;
  EXPECT_TRUE(driveStep(m.form, true));
  EXPECT_EQ(r.point(U'C'), (Point{-1, -1}));  // no coupler point
  EXPECT_EQ(r.point(U'P'), (Point{-2, -2}));  // no instantaneous centre
  EXPECT_TRUE(driveStep(m.form));
  EXPECT_NE(r.point(U'C'), (Point{-1, -1}));
}

TEST(DriveStep, LoopThatNeverClosesShowsItsStatus) {
  Mechanism m(1);
  m.form.st.qb = -140;  // coupler of 10: the loop cannot close at any angle
  m.key(kKeyRebuild);
  EXPECT_NE(m.form.scratch().kks, 0);
  bool status = false;
  for (const Primitive* p : texts(m.picture()))
    status |= p->y1 == 600 && p->x1 == 20 && p->text.find(U'1') != std::u32string::npos;
  EXPECT_TRUE(status);
  EXPECT_EQ(countKind(m.picture(), Primitive::Kind::Circle), 0);  // no joints drawn
}

TEST(FullRevolution, KeyOneBringsEveryJointBackAndShowsEachFrame) {
  Mechanism m(1);
  const Point a = m.point(U'A'), b = m.point(U'B'), c = m.point(U'C');
  const double crank = m.reg().angOf(U'a');
  const int framesBefore = m.host.frames;
  m.keyChar('1');
  EXPECT_EQ(m.host.frames - framesBefore, kRevolutionFrames + 1);  // frames and the end
  EXPECT_NEAR(std::remainder(m.reg().angOf(U'a') - crank, 2 * kPi), 0, 1e-9);
  EXPECT_LT(distance(m.point(U'A'), a), 1e-6);
  EXPECT_LT(distance(m.point(U'B'), b), 1e-6);
  EXPECT_LT(distance(m.point(U'C'), c), 1e-6);
  EXPECT_EQ(m.form.st.qgw, 1);
}

TEST(FullRevolution, KeyTwoTurnsTheOtherWay) {
  Mechanism m(2);
  const double drive = m.form.st.wxx;
  m.keyChar('2');
  EXPECT_NEAR(m.form.st.wxx - drive, -2 * kPi, 1e-9);
  EXPECT_EQ(m.form.st.qgw, -1);
}

TEST(FullRevolution, RockersDoNotRun) {
  Mechanism m(3);
  const double drive = m.form.st.wxx;
  const int framesBefore = m.host.frames;
  m.keyChar('1');
  EXPECT_EQ(m.host.frames - framesBefore, 1);
  EXPECT_EQ(m.form.st.wxx, drive);
}

TEST(FullRevolution, EveryFrameIsACompletePictureWithTheEmblem) {
  Mechanism m(1);
  int frames = 0;
  bool complete = true;
  m.host.onProcessEvents = [&] {
    // The canvas still holds the previous frame while events are processed.
    if (frames++ > 0) {
      const std::u32string text = allText(m.picture());
      complete &= text.find(U"Werklehre") != std::u32string::npos;
      complete &= countKind(m.picture(), Primitive::Kind::Circle) > 0;
    }
  };
  m.keyChar('1');
  EXPECT_EQ(frames, kRevolutionFrames);
  EXPECT_TRUE(complete);
}

TEST(FullRevolution, EscDuringARunEndsAtOnce) {
  Mechanism m(1);
  int events = 0;
  m.host.onProcessEvents = [&] {
    if (++events == 5) m.key(kKeyEsc);
  };
  const int framesBefore = m.host.frames;
  m.keyChar('1');
  EXPECT_TRUE(m.form.ending);
  EXPECT_TRUE(m.host.quitCalled);
  EXPECT_EQ(events, 5);
  EXPECT_EQ(m.host.frames - framesBefore, 4);
}

TEST(FullRevolution, KeyDuringARunIsANestedCommand) {
  Mechanism m(1);
  int events = 0;
  m.host.onProcessEvents = [&] {
    if (++events == 10) m.key(kKeyF1 + 5);  // F6: data read-out on
  };
  m.keyChar('1');
  EXPECT_EQ(m.form.st.qse, 1);
  EXPECT_EQ(m.form.depth, 0);
  EXPECT_EQ(events, kRevolutionFrames);
}

TEST(FullRevolution, AKeyThatStartsARunEndsTheRunningOneInsteadOfNesting) {
  // Every key or menu item that starts a run or the demonstration, pressed
  // during a run: the run ends at that frame, one picture follows, nothing nests.
  struct Case {
    const char* what;
    std::function<void(Mechanism&)> press;
  } cases[] = {
      {"1", [](Mechanism& m) { m.keyChar('1'); }},
      {"2", [](Mechanism& m) { m.keyChar('2'); }},
      {"Shift+1", [](Mechanism& m) { m.keyChar('1', kShift); }},
      {"5", [](Mechanism& m) { m.keyChar('5'); }},
      {"F7", [](Mechanism& m) { m.key(kKeyF1 + 6); }},
      {"F2", [](Mechanism& m) { m.key(kKeyF1 + 1); }},
      {"menu Umlauf", [](Mechanism& m) { m.form.menuCommand("mnu66"); }},
      {"a storm of 50", [](Mechanism& m) { for (int i = 0; i < 50; ++i) m.keyChar('1'); }},
  };
  for (const Case& c : cases) {
    Mechanism m(1);
    int events = 0, deepest = 0;
    m.host.onProcessEvents = [&] {
      deepest = std::max(deepest, m.form.depth);
      if (++events == 10) c.press(m);
    };
    const int frames = m.host.frames;
    m.keyChar('1');
    EXPECT_EQ(events, 10) << c.what;
    EXPECT_EQ(deepest, 1) << c.what;
    EXPECT_EQ(m.host.frames - frames, 9 + 1) << c.what;  // nine run frames, one picture
    EXPECT_FALSE(m.form.ending) << c.what;
    EXPECT_EQ(m.form.st.qxy, 0) << c.what;
    // The next key starts a run again.
    events = 0;
    m.host.onProcessEvents = [&] { ++events; };
    m.keyChar('1');
    EXPECT_EQ(events, kRevolutionFrames) << c.what;
  }
}

TEST(FullRevolution, SixBarGroupRebuildsThroughTheHandler) {
  Mechanism m(1);
  m.form.st.mn1 = 8;
  m.form.st.mn2 = 1;
  m.key(kKeyRebuild);
  const double drive = m.form.st.wxx;
  m.keyChar('1');
  EXPECT_FALSE(m.form.ending);
  EXPECT_EQ(m.form.st.mn1, 8);
  EXPECT_NE(m.form.st.wxx, drive);
}

}  // namespace
}  // namespace pm::testing
