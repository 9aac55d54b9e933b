// Faulty commands: operands outside their bank, over-long commands and
// negative category codes abandon the script without touching registers;
// random scripts never crash.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "script/engine_fixture.h"

namespace pm::testing {
namespace {

class Faults : public EngineTest {
 protected:
  // Runs a script that must fail at its second command: the first and the
  // registers it wrote survive, nothing after the fault runs.
  void expectFault(std::u32string_view faulty) {
    e.beginCommand();
    point(U'A', 1, 2);
    std::u32string script = U"36S=A:";
    script += faulty;
    script += U":36T=A";
    ::testing::internal::CaptureStderr();
    e.run(script);
    const std::string written = ::testing::internal::GetCapturedStderr();
    // One line on stderr naming the command.
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 1) << written;
    EXPECT_NE(written.find("script error"), std::string::npos);
    ASSERT_EQ(e.errors().size(), 1u) << std::string(faulty.begin(), faulty.end());
    EXPECT_EQ(e.errors()[0].command, faulty);
    EXPECT_FALSE(e.errors()[0].reason.empty());
    EXPECT_POINT_NEAR(at(U'S'), 1, 2);
    EXPECT_POINT_NEAR(at(U'T'), 0, 0);
  }
};

TEST_F(Faults, OperandOutsideItsBank) {
  expectFault(U"21-=A+AA");          // result from notation "-" (code −3)
  expectFault(U"21K=(+AA");          // base "(" (code −8)
  expectFault(U"25X(',b)");          // value register "'" (−9)
  expectFault(U"29d=(\u0200)");      // value register 464
  expectFault(U"36S=\u0600");        // point register 1488 > 1296
  expectFault(U"22Y=X+\u00F0");      // label index 192 + 80 > 256
  expectFault(U"42SB=b+AY+\u00F0");  // label of the second radius
  expectFault(U"42SB=\u00F0+AY+c");  // label of the first radius
  expectFault(U"38\u0150=a+d");      // vector register 288
  expectFault(U"48x=\U0001F600");    // far beyond every bank
  expectFault(std::u32string(1, U'2') + U"1" + std::u32string(1, char32_t(0xFFFFFFFFu)) + U"=A+AA");
}

TEST_F(Faults, LargestValidIndicesWork) {
  // Point 1296 is "\u0540" (1344 − 48); label index 176 is "\u00E0".
  point(U'A', 4, 5);
  e.run(U"36\u0540=A:22Y=X+\u00E0:29\u0130=(\u0130)");
  EXPECT_TRUE(e.errors().empty());
  EXPECT_EQ(e.reg.px[1296], 4);
  EXPECT_EQ(e.reg.ang[256], 0);
}

TEST_F(Faults, BadCategoryOrOperationCharacter) {
  expectFault(U"-6S=A");
  expectFault(U"3(S=A");
  expectFault(U"/");
}

TEST_F(Faults, OverlongCommand) {
  point(U'A', 1, 2);
  std::u32string longCommand = U"36S=A";
  longCommand.append(251, U'x');  // 256 characters: accepted
  e.run(longCommand);
  EXPECT_TRUE(e.errors().empty());
  EXPECT_POINT_NEAR(at(U'S'), 1, 2);
  expectFault(longCommand + U"x");
}

TEST_F(Faults, FaultyCommandIsNotRepeatedByTheNextScript) {
  point(U'A', 1, 2);
  e.run(U"36S=-");
  ASSERT_EQ(e.errors().size(), 1u);
  e.run(U":36T=A");  // the leading empty command must not fail again
  EXPECT_EQ(e.errors().size(), 1u);
  EXPECT_POINT_NEAR(at(U'T'), 1, 2);
}

TEST_F(Faults, DrawingHookCanRejectACommand) {
  CountingHook hook;
  hook.answer = "colour letter out of range";
  e.setDrawingHook(&hook);
  point(U'A', 1, 2);
  e.run(U"66-+1AX:36S=A");
  ASSERT_EQ(e.errors().size(), 1u);
  EXPECT_EQ(e.errors()[0].reason, "colour letter out of range");
  EXPECT_EQ(hook.calls.size(), 1u);
  EXPECT_POINT_NEAR(at(U'S'), 0, 0);
}

TEST_F(Faults, GeometricDegeneraciesAreNotFaults) {
  // Everything at the origin: coincident points, zero lengths, parallel lines.
  e.run(U"41P=XA*BY:42SB=b+AY+c:43PQ=a+AY+y:44PQ=AB+MR:45P=AOB:46TPA~BPD:47Â=aAX:24F=C+AB");
  EXPECT_TRUE(e.errors().empty());
}

// Random scripts over the script characters plus arbitrary code points: no
// crash, no undefined behaviour, and faults only as recorded errors.
TEST(RandomScripts, NeverCrash) {
  const std::u32string alphabet =
      U"0123456789:::::::::==+-*()|~,.'/<>°ÁÂÃÄÅÆÇÈÉÊÌÍÎÒÓÔÖÜäü"
      U"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz234234234";
  std::mt19937 rng(20240607);
  std::uniform_int_distribution<int> length(0, 60);
  std::uniform_int_distribution<int> pick(0, static_cast<int>(alphabet.size()) - 1);
  std::uniform_int_distribution<int> odd(0, 19);
  std::uniform_int_distribution<std::uint32_t> any;
  Engine engine;
  CountingHook hook;
  TextRecorder text;
  engine.setDrawingHook(&hook);
  engine.setTextOutput(&text);
  ::testing::internal::CaptureStderr();  // thousands of expected fault lines
  for (int i = 0; i < 4000; ++i) {
    if (i % 50 == 0) engine.beginCommand();
    std::u32string script;
    const int n = length(rng);
    for (int k = 0; k < n; ++k) {
      script += odd(rng) == 0 ? static_cast<char32_t>(any(rng)) : alphabet[pick(rng)];
    }
    // Seed some values so that arithmetic paths are taken.
    engine.reg.val[49 + i % 26] = i;
    engine.reg.len[49 + i % 26] = i % 7 - 3;
    engine.run(script);
    for (const ScriptError& err : engine.errors()) ASSERT_FALSE(err.reason.empty());
    engine.clearErrors();
  }
  ::testing::internal::GetCapturedStderr();
  // The banks are still the right size and usable.
  engine.beginCommand();
  engine.reg.valOf(U'a') = 1;
  engine.run(U"25Z(a,a)");
  EXPECT_EQ(engine.reg.xOf(U'Z'), 1);
}

}  // namespace
}  // namespace pm::testing
