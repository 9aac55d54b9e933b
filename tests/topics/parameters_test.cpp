// Parameter strings: field parsing, the preset table, the adjustments with
// offsets, sign factors and zoom, the resets and the recorded strings.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "support/test_form.h"
#include "topics/parameter_strings.h"
#include "topics/topics.h"

namespace pm {
namespace {

using testing::TestForm;

constexpr int kA = 49;  // register index of "a"

RegisterBank parsed(std::string text) {
  RegisterBank bank{};
  parseFieldsInto(text, bank, kA);
  EXPECT_TRUE(text.empty());
  return bank;
}

TEST(FieldNumber, DecimalNumbersAfterTheLetter) {
  EXPECT_EQ(fieldNumber("c090"), 90);
  EXPECT_EQ(fieldNumber("f140.01"), 140.01);
  EXPECT_EQ(fieldNumber("z3 "), 3);
  EXPECT_EQ(fieldNumber("c-120"), -120);
  EXPECT_EQ(fieldNumber("x+7"), 7);
  EXPECT_EQ(fieldNumber("a .5"), 0.5);
  EXPECT_EQ(fieldNumber("a12abc"), 12);
  EXPECT_EQ(fieldNumber("a1.5.7"), 1.5);
  EXPECT_EQ(fieldNumber("a1e5"), 1);  // no exponents
  // No number: 0.
  for (const char* field : {"", "a", "ab", "a-", "a.", "a-.", "ainf", "anan", "a--3", ":"}) {
    EXPECT_EQ(fieldNumber(field), 0) << field;
  }
  EXPECT_EQ(fieldNumber("\xc3\xa4"
                        "42"),
            42);                                           // a letter of two bytes
  EXPECT_EQ(fieldNumber("a" + std::string(400, '9')), 0);  // too large: no number
}

TEST(ParseFields, ByPositionWithOrWithoutTrailingColon) {
  RegisterBank b = parsed("z5:a7");
  EXPECT_EQ(b[kA], 5);
  EXPECT_EQ(b[kA + 1], 7);
  EXPECT_EQ(b[kA + 2], 0);
  b = parsed("a1:b2:");
  EXPECT_EQ(b[kA + 1], 2);
  EXPECT_EQ(b[kA + 2], 0);
  b = parsed("a1::c3");  // an empty field takes its register
  EXPECT_EQ(b[kA + 1], 0);
  EXPECT_EQ(b[kA + 2], 3);

  // More fields than letters go on behind z, up to the end of the bank.
  std::string many;
  for (int i = 0; i < 300; ++i) many += "v" + std::to_string(i) + ":";
  b = parsed(many);
  EXPECT_EQ(b[kA + 26], 26);
  EXPECT_EQ(b[256], 256 - kA);
  EXPECT_EQ(b[kA - 1], 0);
}

TEST(PresetTable, SlotsAndRecordedPair) {
  StateRecord st;
  EXPECT_EQ(presetLengthString(st, 1).substr(0, 16), "a80:b150:c-120:d");
  EXPECT_NE(presetLengthString(st, 7).find("z3 "), std::string::npos);
  EXPECT_EQ(presetNumberString(st, 3), presetNumberString(st, 2));
  st.gg = "a1";
  st.hg = "a2";
  EXPECT_EQ(presetLengthString(st, 9), "a1");
  EXPECT_EQ(presetLengthString(st, 10), "a1");
  EXPECT_EQ(presetNumberString(st, 10), "a2");
  for (double type :
       {0.0, 11.0, 12.0, 20.0, 21.0, -1.0, 1e300, std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_EQ(presetLengthString(st, type), "") << type;
    EXPECT_EQ(presetNumberString(st, type), "") << type;
  }
}

struct Loading : ::testing::Test {
  TestForm t;
  StateRecord& st = t.form.st;
  Registers& reg = t.form.reg();
  void load() {
    reg.clear();
    loadParameters(t.form);
  }
};

TEST_F(Loading, TypeOnePresets) {
  load();
  EXPECT_EQ(reg.lenOf(U'a'), 80);
  EXPECT_EQ(reg.lenOf(U'c'), -120);
  EXPECT_EQ(reg.lenOf(U'x'), -80);
  EXPECT_EQ(reg.valOf(U'a'), 300);
  EXPECT_EQ(reg.valOf(U'b'), 560);
  EXPECT_EQ(reg.valOf(U'w'), -150);
  EXPECT_EQ(reg.valOf(U'j'), 0);  // j1 in the string, always 0 after loading
  EXPECT_EQ(reg.valOf(U'i'), -4);
  EXPECT_EQ(reg.len[kA + 26], 0);
  st.mn0 = 5;
  load();
  EXPECT_EQ(reg.lenOf(U'f'), 140.01);
  EXPECT_EQ(reg.lenOf(U'z'), 3 + st.qz);
  st.mn0 = 7;
  load();
  EXPECT_EQ(reg.lenOf(U'z'), 3 + st.qz);  // "z3 " with its blank
  st.mn0 = 2;
  load();
  EXPECT_EQ(reg.valOf(U'c'), 90);  // c090
}

TEST_F(Loading, OffsetsSignsAndZoom) {
  st.qzz = 2;
  load();
  EXPECT_EQ(reg.lenOf(U'a'), 160);
  EXPECT_EQ(reg.lenOf(U'p'), 100);
  EXPECT_EQ(reg.lenOf(U'x'), -80);  // q … z are not scaled
  EXPECT_EQ(reg.lenOf(U'v'), 8);

  st.qzz = 1;
  st.qxx = 0;
  st.qx = 5;
  load();
  EXPECT_EQ(reg.lenOf(U'x'), 0);

  st.qxx = 1;
  st.qcc = -1;
  st.qc = 4;
  load();
  EXPECT_EQ(reg.lenOf(U'c'), 116);  // -(-120 + 4)

  st.qff = st.qhh = st.qnn = st.qpp = -1;
  st.qa = 3;
  load();
  EXPECT_EQ(reg.lenOf(U'f'), 120);
  EXPECT_EQ(reg.lenOf(U'h'), -80);
  EXPECT_EQ(reg.lenOf(U'n'), -150);
  EXPECT_EQ(reg.lenOf(U'p'), -50);
  EXPECT_EQ(reg.lenOf(U'a'), 83);

  st.sa = 10;
  st.si = 2;
  st.qzw = -1;
  st.sm = 1;
  st.sz = -20;
  st.sj = 99;
  load();
  EXPECT_EQ(reg.valOf(U'a'), 310);
  EXPECT_EQ(reg.valOf(U'i'), 2 + 4);
  EXPECT_EQ(reg.valOf(U'j'), 0);
  EXPECT_EQ(reg.valOf(U'k'), 0);
  EXPECT_EQ(reg.valOf(U'm'), 1);
  EXPECT_EQ(reg.valOf(U'z'), -340);
}

TEST_F(Loading, SynthesisTypesBeforeAndAfterRecording) {
  st.mn0 = 9;
  st.qz = 0;
  load();
  for (int i = 0; i < Registers::kVectorCount; ++i) {
    EXPECT_EQ(reg.len[i], 0) << i;
    EXPECT_EQ(reg.val[i], 0) << i;
  }

  // Record a mechanism, then load it as type 9 and 10.
  reg.clear();
  reg.lenOf(U'a') = 62.7;
  reg.lenOf(U'b') = -3.2;
  reg.lenOf(U'c') = -0.0;
  reg.lenOf(U'd') = std::numeric_limits<double>::quiet_NaN();
  reg.valOf(U'a') = 1e20;
  reg.valOf(U'j') = 5;
  recordParameters(t.form);
  EXPECT_EQ(st.gg.substr(0, 19), "a62.7:b-3.2:c0:d0:e");
  EXPECT_EQ(st.gg.back(), ':');
  EXPECT_EQ(st.hg.substr(0, 26), "a100000000000000000000:b0:");
  // Six decimals, trailing zeros dropped; what rounds to zero has no sign.
  reg.lenOf(U'a') = 1.23456789;
  reg.lenOf(U'b') = -0.0000001;
  reg.lenOf(U'c') = -7.5;
  recordParameters(t.form);
  EXPECT_EQ(st.gg.substr(0, 20), "a1.234568:b0:c-7.5:d");
  reg.lenOf(U'a') = 62.7;
  reg.lenOf(U'b') = -3.2;
  recordParameters(t.form);
  st.qa = 1;
  for (double type : {9.0, 10.0}) {
    st.mn0 = type;
    load();
    EXPECT_DOUBLE_EQ(reg.lenOf(U'a'), 63.7);
    EXPECT_DOUBLE_EQ(reg.lenOf(U'b'), -3.2);
    EXPECT_EQ(reg.valOf(U'a'), 1e20);
    EXPECT_EQ(reg.valOf(U'j'), 0);
  }
}

TEST_F(Loading, MalformedRecordedStringsStayInsideTheBanks) {
  st.mn0 = 9;
  st.gg = std::string(5000, ':') + "a5";
  st.hg = "\xff\xfe:\x80-:a" + std::string(300, '.') + ":z--:y7 7";
  load();
  EXPECT_EQ(reg.val[kA + 4], 7);
  EXPECT_EQ(reg.len[256], 0);
  EXPECT_TRUE(st.gx.empty());
  EXPECT_TRUE(st.hs.empty());
}

TEST_F(Loading, ResetsKeepTheirOwnFields) {
  st.qa = st.qz = st.qt = 5;
  st.qhh = -1;
  st.qzw = -1;
  st.qnx = 3;
  st.sl = st.sj = 2;
  st.sm = st.sn = st.sz = 4;
  resetLengths(t.form);
  EXPECT_EQ(st.qa, 0);
  EXPECT_EQ(st.qt, 0);
  EXPECT_EQ(st.qz, 0);
  EXPECT_EQ(st.qhh, -1);
  EXPECT_EQ(st.qzw, -1);
  EXPECT_EQ(st.qnx, 0);
  EXPECT_EQ(st.sl, 0);
  EXPECT_EQ(st.sj, 0);
  EXPECT_EQ(st.sm, 4);
  resetPositions(t.form);
  EXPECT_EQ(st.sm, 0);
  EXPECT_EQ(st.sn, 0);
  EXPECT_EQ(st.sz, 0);
}

}  // namespace
}  // namespace pm
