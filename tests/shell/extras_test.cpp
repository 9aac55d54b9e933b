// The added menu "E&xtras" (window commands the command handler never sees)
// and the replay of one revolution for recording it as an animation.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "shell/menu_table.h"
#include "support/test_form.h"

namespace pm {
namespace {

using testing::TestForm;

TEST(ExtrasMenu, FollowsTheSpecifiedMenusAndStaysOutOfTheCommandHandler) {
  for (const Edition* e : {&planimoveEdition(), &rautenwerkEdition()}) {
    const std::vector<MenuEntry> bar = menuBarTree(*e);
    std::vector<std::string> tops;
    std::set<std::string> names;
    for (const MenuEntry& m : bar) {
      EXPECT_TRUE(names.insert(m.name).second) << "duplicate " << m.name;
      if (m.parent.empty()) tops.push_back(m.caption);
    }
    ASSERT_GE(tops.size(), 3u);
    EXPECT_EQ(tops[tops.size() - 3], "&Beispiele");
    EXPECT_EQ(tops[tops.size() - 2], "E&xtras");
    EXPECT_EQ(tops.back(), "Ü&bungen");
    // The edition's own tree is unchanged and comes first.
    ASSERT_EQ(bar.size(), menuTree(*e).size() + extrasMenu().size() + exerciseMenu().size());
    for (std::size_t i = 0; i < menuTree(*e).size(); ++i) EXPECT_EQ(bar[i].name, menuTree(*e)[i].name);

    TestForm t(*e);
    const StateRecord before = t.form.st;
    const int frames = t.host.frames;
    for (const MenuEntry& m : extrasMenu()) {
      EXPECT_NE(m.windowCommand, WindowCommand::None) << m.name;
      EXPECT_FALSE(m.hasCommand()) << m.name;
      EXPECT_FALSE(t.form.menuCommand(m.name)) << m.name;
    }
    EXPECT_EQ(t.host.frames, frames);
    EXPECT_EQ(t.form.st.wxx, before.wxx);
  }
  const MenuEntry* panel = findMenuEntry(extrasMenu(), "mnu91");
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(panel->checkable);
  EXPECT_EQ(panel->shortcut, "F11");
}

// Notes the run frame and the crank at every picture the host is handed.
class RecordingHost : public testing::FakeHost {
 public:
  Form1* form = nullptr;
  std::vector<int> runFrames;
  std::vector<double> crank;
  void frameReady() override {
    FakeHost::frameReady();
    runFrames.push_back(form->runFrame);
    crank.push_back(form->st.wxx);
  }
};

struct RecordingForm {
  RecordingCanvas canvas;
  RecordingHost host;
  Form1 form{canvas, host, planimoveEdition()};
  RecordingForm() {
    host.form = &form;
    form.Form_Activate();
  }
  void show(double type, double group, double topic) {
    form.st.mn0 = type;
    form.st.mn1 = group;
    form.st.mn2 = topic;
    form.Form_KeyDown(kKeyRebuild, 0);
    for (int i = 0; i < 5; ++i) form.Form_KeyDown(kKeySpace, 0);  // crank away from its start
    host.runFrames.clear();
    host.crank.clear();
  }
};

TEST(ReplayRevolution, HandsOverTheRunFramesAndPutsTheStateBack) {
  std::vector<double> firstStep;
  for (double sense : {1.0, -1.0}) {
    RecordingForm r;
    r.show(1, 2, 4);  // crank-rocker, pole rays
    r.form.st.qgw = sense;
    r.form.st.qsc = 1;  // a display flag the run must not change
    const StateRecord before = r.form.st;
    const double shownCrank = r.form.cmd.shown.crankAngle;
    r.form.replayRevolution();
    // Exactly the run's frames, numbered 1 … 90, and no picture of its end.
    ASSERT_EQ(r.host.runFrames.size(), 90u) << sense;
    for (int i = 0; i < 90; ++i) EXPECT_EQ(r.host.runFrames[static_cast<std::size_t>(i)], i + 1);
    firstStep.push_back(r.host.crank[1] - r.host.crank[0]);
    EXPECT_NE(r.host.crank[0], r.host.crank[45]);
    // Everything stands as before: crank, sense, flags, the mechanism shown.
    EXPECT_EQ(r.form.st.wxx, before.wxx);
    EXPECT_EQ(r.form.st.qgw, before.qgw);
    EXPECT_EQ(r.form.st.qsc, 1);
    EXPECT_EQ(r.form.st.mn2, 4);
    EXPECT_EQ(r.form.cmd.shown.crankAngle, shownCrank);
    EXPECT_EQ(r.form.depth, 0);
    EXPECT_EQ(r.form.runFrame, 0);
    // The next command continues from there.
    r.form.Form_KeyDown(kKeyRebuild, 0);
    EXPECT_EQ(r.form.st.wxx, before.wxx);
  }
  // The crank turns in the sense of motion that was set.
  EXPECT_LT(firstStep[0] * firstStep[1], 0);

  // Group 8 rebuilds each frame through a nested command: still one run frame each.
  RecordingForm six;
  six.show(1, 8, 1);
  const double wxx = six.form.st.wxx;
  six.form.replayRevolution();
  ASSERT_EQ(six.host.runFrames.size(), 90u);
  EXPECT_EQ(six.host.runFrames.back(), 90);
  EXPECT_EQ(six.form.st.wxx, wxx);
}

TEST(ReplayRevolution, NothingForACrankThatCannotTurnOrInsideACommand) {
  RecordingForm r;
  r.show(3, 2, 4);  // double rocker: its crank does not turn round
  const double wxx = r.form.st.wxx;
  r.form.replayRevolution();
  EXPECT_TRUE(r.host.runFrames.empty());
  EXPECT_EQ(r.form.st.wxx, wxx);

  RecordingForm inner;
  inner.show(1, 2, 4);
  int replayed = -1;
  inner.host.onProcessEvents = [&] {
    if (replayed >= 0) return;
    const std::size_t before = inner.host.runFrames.size();
    inner.form.replayRevolution();  // called from inside a running command
    replayed = static_cast<int>(inner.host.runFrames.size() - before);
  };
  inner.form.Form_KeyDown('1', 0);
  EXPECT_EQ(replayed, 0);
  EXPECT_EQ(inner.host.runFrames.size(), 91u);  // the run's 90 frames and its end
}

}  // namespace
}  // namespace pm
