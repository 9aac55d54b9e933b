// The computing run of the synthesis four-bar shortens its curve loops to their
// last passes. It must leave everything exactly as the whole loops would: the
// picture, every register, the scratch state and the state record, also where
// dyads do not close and while the drive moves the construction point on.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "support/test_form.h"
#include "topics/curve_loop.h"

namespace pm {
namespace {

// Everything a command leaves behind, as comparable text and bytes.
struct Outcome {
  std::vector<std::string> state;
  Registers registers;
  Scratch scratch;
  DisplayList picture;
};

Outcome outcome(testing::TestForm& t) {
  Outcome o;
  t.form.st.forEachNumeric([&o](std::string_view name, double v) {
    o.state.push_back(std::string(name) + "=" + std::to_string(v));
  });
  o.state.push_back("gg=" + t.form.st.gg);
  o.state.push_back("hg=" + t.form.st.hg);
  o.registers = t.form.reg();
  o.scratch = t.form.scratch();
  o.picture = t.picture();
  return o;
}

bool samePrimitive(const Primitive& a, const Primitive& b) {
  return a.kind == b.kind && a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2 &&
         a.r == b.r && a.start == b.start && a.end == b.end && a.colour == b.colour &&
         a.width == b.width && a.fillStyle == b.fillStyle && a.fillColour == b.fillColour &&
         a.text == b.text;
}

void expectSame(const Outcome& shortcut, const Outcome& full) {
  EXPECT_EQ(shortcut.state, full.state);
  EXPECT_EQ(0, std::memcmp(&shortcut.registers, &full.registers, sizeof(Registers)));
  EXPECT_EQ(0, std::memcmp(&shortcut.scratch, &full.scratch, sizeof(Scratch)));
  ASSERT_EQ(shortcut.picture.size(), full.picture.size());
  for (std::size_t i = 0; i < full.picture.size(); ++i)
    ASSERT_TRUE(samePrimitive(shortcut.picture[i], full.picture[i])) << "primitive " << i;
}

using Step = std::function<void(testing::TestForm&)>;

void show(testing::TestForm& t, int topic) {
  t.form.st.mn1 = 10;
  t.form.st.mn2 = topic;
  t.key(kKeyRebuild);
}

// Runs the same steps on two programs, one with the shortcut and one without,
// and compares them after every step.
void compareRuns(double type, const std::vector<Step>& steps) {
  testing::TestForm withShortcut, withoutShortcut;
  withShortcut.form.st.mn0 = withoutShortcut.form.st.mn0 = type;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    curveLoopShortcut = true;
    steps[i](withShortcut);
    curveLoopShortcut = false;
    steps[i](withoutShortcut);
    curveLoopShortcut = true;
    SCOPED_TRACE(::testing::Message() << "type " << type << ", step " << i);
    expectSame(outcome(withShortcut), outcome(withoutShortcut));
    if (::testing::Test::HasFatalFailure()) return;
  }
}

TEST(CurveLoopShortcut, FourBarOfTheSynthesisComesOutAsWithTheWholeLoops) {
  // Subtopic 7 straight away (the picture chooses the pairs), with the drive
  // moving; then pairs chosen by hand in subtopic 6 and subtopic 7 again.
  const std::vector<Step> steps = {
      [](testing::TestForm& t) { show(t, 7); },
      [](testing::TestForm& t) { t.key(kKeySpace); },
      [](testing::TestForm& t) { show(t, 6); },
      [](testing::TestForm& t) { t.key(kKeySpace); },
      [](testing::TestForm& t) { t.keyChar('U'); },
      [](testing::TestForm& t) { t.keyChar('V'); },
      [](testing::TestForm& t) { show(t, 7); },
      [](testing::TestForm& t) { t.key(kKeySpace); },
  };
  for (double type : {1.0, 2.0, 3.0, 5.0, 8.0}) compareRuns(type, steps);
}

TEST(CurveLoopShortcut, HoldsWhereTheCurvesBreak) {
  // Positions moved with the mouse close to each other or onto one line give
  // poles where many dyads of the loops cannot close, for some tasks in the
  // last pass too.
  struct Place {
    char key;
    double x, y;
  };
  const std::vector<std::vector<Place>> tasks = {
      {{'J', 302, 598}},
      {{'J', 320, 590}, {'K', 340, 580}},
      {{'K', 350, 350}, {'L', 300, 600}},
      {{'M', 310, 600}, {'N', 360, 350}, {'O', 710, 300}, {'R', 720, 500}},
      {{'J', 600, 200}, {'K', 900, 100}, {'L', 100, 700}},
  };
  for (const std::vector<Place>& task : tasks) {
    std::vector<Step> steps = {[](testing::TestForm& t) { show(t, 1); }};
    for (const Place& p : task)
      steps.push_back([p](testing::TestForm& t) {
        t.host.cx = p.x;
        t.host.cy = p.y;
        t.keyChar(p.key);
      });
    steps.push_back([](testing::TestForm& t) { show(t, 7); });
    steps.push_back([](testing::TestForm& t) { t.key(kKeySpace); });
    compareRuns(1, steps);
  }
}

}  // namespace
}  // namespace pm
