// A key event pressed during a run is a nested command: it must leave the
// outer command's registers and its repeatable last command as they were.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/engine.h"
#include "support/test_form.h"

namespace {

struct RecordingHook : pm::DrawingHook {
  std::vector<std::u32string> drawn;
  const char* drawCommand(int, const int* codes, int length, std::u32string_view) override {
    std::u32string text;
    for (int i = 1; i <= length; ++i) text.push_back(pm::charOfCode(codes[i]));
    drawn.push_back(text);
    return nullptr;
  }
};

TEST(CommandMemory, EmptyCommandRepeatsTheOuterCommandAfterANestedOne) {
  pm::Engine e;
  RecordingHook hook;
  e.setDrawingHook(&hook);
  e.beginCommand();
  e.run(U":65.m15C");
  const pm::Engine::CommandMemory outer = e.savedCommand();

  e.beginCommand();  // the nested key event
  e.run(U":42SC=e+AB+f:69ob15PDABXY");
  e.restoreCommand(outer);

  hook.drawn.clear();
  e.run(U":");  // empty commands repeat "65.m15C" with its own length
  ASSERT_TRUE(e.errors().empty()) << e.errors().front().reason;
  ASSERT_FALSE(hook.drawn.empty());
  for (const auto& d : hook.drawn) EXPECT_EQ(d, U"65.m15C");
}

TEST(CommandMemory, ARestoredCommandIsCheckedAgainWhenRepeated) {
  // The nested run ends with a command checked when compiled; the restored
  // codes are not that command, so repeating them checks them again.
  pm::Engine e;
  e.beginCommand();
  e.run(U"36A=B");
  pm::Engine::CommandMemory outer = e.savedCommand();
  outer.reg.cmdCode[5] = 100000;  // a code beyond every bank
  e.run(U"36C=D");
  e.restoreCommand(outer);
  testing::internal::CaptureStderr();
  e.run(U":");
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(e.errors().size(), 1u);
}

TEST(CommandMemory, StoppingTheDemonstrationDuringARunLeavesNoScriptFault) {
  // F2 starts the demonstration; after some frames a second F2 arrives as a
  // nested command, as when the user presses it while the crank turns.
  pm::testing::TestForm t;
  int frames = 0;
  t.host.onProcessEvents = [&] {
    if (++frames == 300) t.key(pm::kKeyF1 + 1);
  };
  t.key(pm::kKeyF1 + 1);
  EXPECT_EQ(t.form.st.qxy, 0);
  EXPECT_TRUE(t.form.cmd.errors.empty()) << std::string(t.form.cmd.errors.front().reason);
}

}  // namespace
