// The interpreter loop: code mapping, splitting at colons, the repeat of an
// empty command, category dispatch and the hooks for drawing and text.
#include <gtest/gtest.h>

#include "script/engine_fixture.h"

namespace pm::testing {
namespace {

TEST(CodeMapping, NotationAndLatinCharacters) {
  EXPECT_EQ(Engine::codeOf(U'|'), 76);
  EXPECT_EQ(Engine::codeOf(U'~'), 78);
  EXPECT_EQ(Engine::codeOf(U'°'), 128);
  EXPECT_EQ(Engine::codeOf(U'Ö'), 166);
  EXPECT_EQ(Engine::codeOf(U'Ä'), 148);
  EXPECT_EQ(Engine::codeOf(U'ü'), 204);
  EXPECT_EQ(Engine::codeOf(U'\''), -9);
  EXPECT_EQ(Engine::codeOf(U'/'), -1);
  EXPECT_EQ(Engine::codeOf(U'A'), 17);
  EXPECT_EQ(Engine::codeOf(U'a'), 49);
  // Values beyond Unicode still give a (large, positive) code.
  EXPECT_GT(Engine::codeOf(static_cast<char32_t>(0xFFFFFFFFu)), 256);
}

using Interpreter = EngineTest;

TEST_F(Interpreter, OperandsWrittenWithNotationCharactersAddressThoseRegisters) {
  e.reg.px[76] = 5;    // "|"
  e.reg.py[78] = 7;    // "~"
  e.reg.px[166] = 11;  // "Ö"
  e.run(U"36°=|:21Ö=°+~0");
  EXPECT_EQ(e.reg.px[128], 5);
  // Ö = ° + (~ − 0) = (5, 0) + (0, 7)
  EXPECT_DOUBLE_EQ(e.reg.px[166], 5);
  EXPECT_DOUBLE_EQ(e.reg.py[166], 7);
  EXPECT_TRUE(e.errors().empty());
}

TEST_F(Interpreter, DigitOperandsAddressRegistersZeroToNine) {
  point(U'Á', 10, 10);
  point(U'4', 3, 4);
  point(U'Q', 1, 1);
  e.run(U"21q=Á+4Q");
  EXPECT_POINT_NEAR(at(U'q'), 12, 13);
}

TEST_F(Interpreter, EmptyScriptRunsNothingAndMissingColonIsAppended) {
  e.run(U"");
  point(U'A', 2, 3);
  e.run(U"36S=A");
  EXPECT_POINT_NEAR(at(U'S'), 2, 3);
  EXPECT_TRUE(e.errors().empty());
}

TEST_F(Interpreter, LeadingColonRepeatsThePreviousCommandOfTheKeyEvent) {
  // First script of a key event: the empty command finds all codes 0.
  e.reg.lenOf(U'a') = 10;
  e.run(U":22A=X+a");
  EXPECT_POINT_NEAR(at(U'A'), 10, 0);

  // The empty command repeats "21B=B+AX", so B moves twice before A is
  // recomputed once.
  e.run(U"21B=B+AX");
  EXPECT_POINT_NEAR(at(U'B'), 10, 0);
  e.run(U":22A=X+a");
  EXPECT_POINT_NEAR(at(U'B'), 20, 0);
  EXPECT_POINT_NEAR(at(U'A'), 10, 0);
}

TEST_F(Interpreter, DoubledColonRedrawsAndStaleCodesDoNotLeak) {
  CountingHook hook;
  e.setDrawingHook(&hook);
  e.run(U":66-m1AX::66-m1BY");
  ASSERT_EQ(hook.calls.size(), 3u);
  EXPECT_EQ(hook.calls[0].text, U"66-m1AX");
  EXPECT_EQ(hook.calls[1].text, U"66-m1AX");
  EXPECT_EQ(hook.calls[1].length, 7);
  EXPECT_EQ(hook.calls[2].text, U"66-m1BY");
  EXPECT_EQ(hook.calls[0].operation, 6);

  // A trailing colon also produces an empty, repeating command.
  hook.calls.clear();
  e.run(U"62dn15Y:");
  EXPECT_EQ(hook.calls.size(), 2u);

  // The repeat survives the end of the script text it came from.
  hook.calls.clear();
  {
    std::u32string temporary = U"66-m1AX:64~b1-C";
    e.run(temporary);
    temporary.assign(temporary.size(), U'9');
  }
  e.run(U":");  // two empty commands
  ASSERT_EQ(hook.calls.size(), 4u);
  EXPECT_EQ(hook.calls[2].text, U"64~b1-C");
  EXPECT_EQ(hook.calls[3].text, U"64~b1-C");

  // beginCommand forgets the previous command.
  hook.calls.clear();
  e.beginCommand();
  e.run(U":");
  EXPECT_TRUE(hook.calls.empty());
}

TEST_F(Interpreter, ShorterCommandKeepsLaterCodesButReportsItsOwnLength) {
  CountingHook hook;
  e.setDrawingHook(&hook);
  e.run(U"69oa15ABCDEF:62dn15Y");
  EXPECT_EQ(e.reg.cmdCode[12], code(U'F'));
  ASSERT_EQ(hook.calls.size(), 2u);
  EXPECT_EQ(hook.calls[1].length, 7);
}

TEST_F(Interpreter, SkippedCategoriesAndOperations) {
  point(U'A', 1, 2);
  CountingHook hook;
  e.run(U"66-m1AX");  // drawing without a hook does nothing
  e.setDrawingHook(&hook);
  e.run(U"76S=A:86S=A:96S=A:06S=A:16S=A:56S=A:20S=A:30S=A:40S=A:2");
  e.run(U"2AS=A:3ZS=A");  // second code above 9
  EXPECT_POINT_NEAR(at(U'S'), 0, 0);
  EXPECT_TRUE(hook.calls.empty());
  EXPECT_TRUE(e.errors().empty());
  // Operations 32 to 35 change nothing.
  const Registers before = e.reg;
  e.run(U"32S=A:33S=A:34S=A:35S=A");
  for (int i = 0; i < Registers::kPointCount; ++i) ASSERT_EQ(e.reg.px[i], before.px[i]);
  EXPECT_EQ(e.reg.len, before.len);
  EXPECT_EQ(e.reg.ang, before.ang);
}

TEST_F(Interpreter, BeginCommandClearsBanksButKeepsScratchState) {
  e.reg.valOf(U'a') = 3;
  e.s.X = 4;
  e.s.kks = 2;
  e.run(U"25A(a,a)");
  e.beginCommand();
  EXPECT_EQ(e.reg.valOf(U'a'), 0);
  EXPECT_POINT_NEAR(at(U'A'), 0, 0);
  EXPECT_EQ(e.reg.cmdCode[1], 0);
  EXPECT_EQ(e.s.kks, 2);
  EXPECT_EQ(e.s.X, 4);
}

TEST_F(Interpreter, LabelWithIndexPrintsNameThenLoweredIndex) {
  TextRecorder text;
  e.setTextOutput(&text);
  text.x = 100;
  text.y = 200;
  e.run(U"31P1ab");
  // "  P1" in size 11, then "ab" in size 8 five units lower, then back.
  ASSERT_EQ(text.calls.size(), 7u);
  EXPECT_EQ(text.calls[0].what, "font");
  EXPECT_EQ(text.calls[0].a, 11);
  EXPECT_EQ(text.calls[0].text, U"Areal");  // the font name is kept
  EXPECT_EQ(text.calls[1].text, U"  P1");
  EXPECT_EQ(text.calls[1].b, 200);
  EXPECT_EQ(text.calls[2].a, 8);
  EXPECT_EQ(text.calls[4].what, "print");
  EXPECT_EQ(text.calls[4].text, U"ab");
  EXPECT_EQ(text.calls[4].a, 140);
  EXPECT_EQ(text.calls[4].b, 205);
  EXPECT_EQ(text.y, 200);
  EXPECT_EQ(text.x, 160);
  EXPECT_EQ(text.size, 11);

  // Too short for a name and an index: prints what is there, nothing else.
  text.calls.clear();
  e.run(U"31P");
  ASSERT_EQ(text.calls.size(), 7u);
  EXPECT_EQ(text.calls[1].text, U"  P");
  EXPECT_EQ(text.calls[4].text, U"");
}

TEST_F(Interpreter, VectorLettersAtStoredLabelPositions) {
  TextRecorder text;
  e.setTextOutput(&text);
  e.reg.len[code(U'a') + 80] = 10;
  e.reg.ang[code(U'a') + 80] = 20;
  e.reg.len[code(U'p') + 80] = 30;  // code 64: the last one labelled
  e.reg.ang[code(U'b') + 80] = 20;  // label x exactly 0: not labelled
  e.reg.len[code(U'q') + 80] = 30;  // code 65: beyond the labelled range
  e.run(U"37");
  std::u32string printed;
  for (const auto& c : text.calls) {
    if (c.what == "print") printed += c.text;
    if (c.what == "font") {
      EXPECT_EQ(c.a, 12);
      EXPECT_EQ(c.text, U"Arial");
    }
  }
  EXPECT_EQ(printed, U"ap");
  text.calls.clear();
  e.labelVectors();
  EXPECT_EQ(text.calls.size(), 5u);  // font, and position + letter twice
}

}  // namespace
}  // namespace pm::testing

namespace pm::testing {

// Scripts are compiled once and kept under the address of their text: a text
// changed in place, or a new text at a freed address, must run as written.
TEST_F(Interpreter, ScriptChangedInPlaceRunsAsWritten) {
  point(U'A', 3, 4);
  point(U'B', 10, 20);
  std::u32string script = U"36S=A";
  e.run(script);
  EXPECT_POINT_NEAR(at(U'S'), 3, 4);
  script[4] = U'B';  // same address, same length
  e.run(script);
  EXPECT_POINT_NEAR(at(U'S'), 10, 20);
  for (int i = 0; i < 3000; ++i) {  // more texts than are kept
    const std::u32string other = U"25T(" + std::u32string(1, U'a' + i % 26) + U",b)";
    e.reg.valOf(U'a' + i % 26) = i;
    e.run(other);
    ASSERT_EQ(e.reg.xOf(U'T'), i);
  }
}

// A command shorter than its operation's operands reads the codes an earlier
// command left there; those are checked every time it runs, not once.
TEST_F(Interpreter, OperandsBeyondAShortCommandAreCheckedWhenItRuns) {
  point(U'A', 1, 1);
  point(U'B', 5, 1);
  point(U'C', 1, 5);
  point(U'D', 5, 5);
  e.run(U"41S=ABxCD:41");  // the short command reuses A, B, C, D: valid
  EXPECT_TRUE(e.errors().empty());
  e.reg.cmdCode[5] = 100000;  // now a code beyond every bank stands at position 5
  ::testing::internal::CaptureStderr();
  e.run(U"41");
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(e.errors().size(), 1u);
}

}  // namespace pm::testing
