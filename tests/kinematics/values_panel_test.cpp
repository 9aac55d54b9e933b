// The lines of the values panel: the listed speeds and accelerations are the
// arrows and plan vectors the constructions draw; the number format; the lines
// where the loop does not close, where no mechanism is shown and in the
// synthesis.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kinematics/measured_values.h"
#include "kinematics/number_format.h"
#include "kinematics/planar_motion.h"
#include "support/test_form.h"
#include "topics/synthesis_check.h"

namespace pm::kinematics {
namespace {

using pm::testing::TestForm;

const std::string kMinus = "\u2212";

std::optional<std::string> valueOf(const std::vector<MeasuredValue>& lines, const std::string& name) {
  for (const MeasuredValue& l : lines)
    if (l.name == name) return l.value;
  return std::nullopt;
}

// The German numbers in a value, in order ("128 E/s ∠ 148°" gives 128, 148;
// "(488; 260)" gives 488, 260).
std::vector<double> numbersIn(const std::string& text) {
  std::vector<double> out;
  std::size_t i = 0;
  while (i < text.size()) {
    bool negative = false;
    if (text.compare(i, kMinus.size(), kMinus) == 0 && i + kMinus.size() < text.size() &&
        std::isdigit(static_cast<unsigned char>(text[i + kMinus.size()]))) {
      negative = true;
      i += kMinus.size();
    }
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
      ++i;
      continue;
    }
    std::string digits;
    while (i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == ',')) {
      digits += text[i] == ',' ? '.' : text[i];
      ++i;
    }
    out.push_back((negative ? -1 : 1) * std::stod(digits));
  }
  return out;
}

Vec at(const TestForm& t, char32_t name) {
  const Point p = t.form.engine.reg.point(name);
  return {p.x, p.y};
}

double angleDegrees(Vec v) { return screenAngle(v) * 180 / std::numbers::pi; }

// A listed vector (magnitude and direction) against a drawn one, to the three
// digits of the panel.
void expectListedVector(const std::vector<MeasuredValue>& lines, const std::string& name, Vec drawn,
                        const std::string& where) {
  const std::optional<std::string> value = valueOf(lines, name);
  ASSERT_TRUE(value) << where << " " << name;
  const std::vector<double> n = numbersIn(*value);
  ASSERT_EQ(n.size(), 2u) << where << " " << name << ": " << *value;
  EXPECT_NEAR(n[0], std::abs(drawn), 0.005 * std::abs(drawn) + 1e-9) << where << " " << name << ": " << *value;
  const double turn = std::remainder(n[1] - angleDegrees(drawn), 360.0);
  EXPECT_LE(std::fabs(turn), 0.5) << where << " " << name << ": " << *value;
}

TEST(ValuesPanel, SpeedsAndAccelerationsAreTheArrowsOfTheConstruction) {
  TestForm t;
  int checked = 0;
  for (int type = 1; type <= 8; ++type) {
    for (double qgw : {1.0, -1.0}) {
      for (double wxx : {0.0, 0.9, 2.3, 4.4}) {
        t.form.st.wxx = wxx;
        t.form.st.qgw = qgw;
        t.show(type, 2, 3);  // velocities of A, B and C
        if (t.form.engine.s.kks != 0) continue;
        ++checked;
        const std::vector<MeasuredValue> lines = measuredValues(t.form);
        const std::string where = "type " + std::to_string(type) + " qgw " + std::to_string(qgw) + " wxx " +
                                  std::to_string(wxx);
        const Vec q = at(t, U'Q');
        expectListedVector(lines, "v A", at(t, U'a') - at(t, U'A'), where);
        expectListedVector(lines, "v C", at(t, U'c') - at(t, U'C'), where);
        expectListedVector(lines, "a A", at(t, U'9') - q, where);
        expectListedVector(lines, "a C", at(t, U'8') - q, where);
        // The pole and the acceleration pole of the velocity base.
        for (const auto& [name, point] : {std::pair{"Momentanpol P", at(t, U'P')},
                                          std::pair{"Beschleunigungspol U", at(t, U'U')}}) {
          const std::vector<double> n = numbersIn(valueOf(lines, name).value_or(""));
          ASSERT_EQ(n.size(), 2u) << where << " " << name;
          EXPECT_LE(std::abs(Vec(n[0], n[1]) - point), 0.005 * std::abs(point)) << where << " " << name;
        }
        if (std::fabs(t.form.engine.reg.lenOf(U'b')) < 10000) {
          expectListedVector(lines, "v B", at(t, U'b') - at(t, U'B'), where);
          expectListedVector(lines, "a B", at(t, U'6') - q, where);
        } else {
          EXPECT_FALSE(valueOf(lines, "v B")) << where << ": B lies at the end of the guide";
        }
      }
    }
  }
  EXPECT_GT(checked, 40);
  // The preset of type 1: crank 80 at v = 8 gives an arrow of 128 at A.
  t.form.st.wxx = 0;
  t.form.st.qgw = 0;
  t.show(1, 2, 1);
  EXPECT_TRUE(valueOf(measuredValues(t.form), "v A")->starts_with("128 E/s"));
}

TEST(ValuesPanel, GermanNumbersWithThreeSignificantDigits) {
  EXPECT_EQ(germanNumber(0), "0");
  EXPECT_EQ(germanNumber(-0.0), "0");
  EXPECT_EQ(germanNumber(128), "128");
  EXPECT_EQ(germanNumber(1.6), "1,60");
  EXPECT_EQ(germanNumber(-1), kMinus + "1,00");
  EXPECT_EQ(germanNumber(0.045612), "0,0456");
  EXPECT_EQ(germanNumber(0.0001), "0,000100");
  EXPECT_EQ(germanNumber(12.349), "12,3");
  EXPECT_EQ(germanNumber(-58.04), kMinus + "58,0");
  // Rounding that carries into the next decade keeps three digits.
  EXPECT_EQ(germanNumber(9.996), "10,0");
  EXPECT_EQ(germanNumber(0.09996), "0,100");
  EXPECT_EQ(germanNumber(999.6), "1000");
  EXPECT_EQ(germanNumber(12345), "12300");
  EXPECT_EQ(germanNumber(-99999), kMinus + "100000");
  // Very large and very small values with a power of ten.
  EXPECT_EQ(germanNumber(1234567), "1,23·10⁶");
  EXPECT_EQ(germanNumber(999999), "1,00·10⁶");
  EXPECT_EQ(germanNumber(-0.00001234), kMinus + "1,23·10⁻⁵");
  EXPECT_EQ(germanNumber(5e-300), "5,00·10⁻³⁰⁰");
  EXPECT_EQ(germanNumber(std::nan("")), "—");
  EXPECT_EQ(germanNumber(-INFINITY), "—");
}

TEST(ValuesPanel, LinesOfTheCrankRockerAtTheStart) {
  TestForm t;
  t.show(1, 1, 1);
  const std::vector<MeasuredValue> lines = measuredValues(t.form);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front().name, "Messwerte");
  EXPECT_EQ(lines.front().value, "");
  EXPECT_EQ(valueOf(lines, "Kurbelwinkel φ"), "58,0°");
  EXPECT_EQ(valueOf(lines, "ω Kurbel"), "1,60 1/s");         // len v / 5 = 8 / 5
  EXPECT_EQ(valueOf(lines, "α Kurbel"), kMinus + "1,00 1/s²");  // len x / len a = −80 / 80
  EXPECT_EQ(valueOf(lines, "Getriebeart"), "Kurbelschwinge");
  EXPECT_EQ(valueOf(lines, "Grashof-Bedingung"), "erfüllt");
  EXPECT_EQ(valueOf(lines, "Kurbel"), "umlauffähig");
  for (const char* name : {"ω Koppel", "α Koppel", "ω Schwinge", "α Schwinge", "Übertragungswinkel μ", "v B",
                           "a C", "Momentanpol P", "Wendekreisdurchmesser", "Beschleunigungspol U",
                           "Krümmungsradius ρ", "Krümmungsmittelpunkt"})
    EXPECT_TRUE(valueOf(lines, name)) << name;
  EXPECT_FALSE(valueOf(lines, "Schieberweg s = XB"));

  // Stepping backwards reverses every velocity, not the accelerations of the drive.
  t.form.st.qgw = -1;
  t.key(kKeyRebuild);
  const std::vector<MeasuredValue> back = measuredValues(t.form);
  EXPECT_EQ(valueOf(back, "ω Kurbel"), kMinus + "1,60 1/s");
  EXPECT_EQ(valueOf(back, "α Kurbel"), kMinus + "1,00 1/s²");
  const double there = numbersIn(*valueOf(lines, "v B"))[1], here = numbersIn(*valueOf(back, "v B"))[1];
  EXPECT_NEAR(std::fabs(std::remainder(here - there, 360.0)), 180, 0.5);
}

TEST(ValuesPanel, SliderTypesListTheirGuide) {
  TestForm t;
  t.show(8, 1, 1);
  std::vector<MeasuredValue> lines = measuredValues(t.form);
  EXPECT_EQ(valueOf(lines, "Getriebeart"), "Schubkurbel");
  EXPECT_TRUE(valueOf(lines, "Schieberweg s = XB"));
  EXPECT_TRUE(valueOf(lines, "Schiebergeschwindigkeit"));
  EXPECT_FALSE(valueOf(lines, "ω Schwinge")) << "the rocker of the slider is the straight guide";
  EXPECT_FALSE(valueOf(lines, "Grashof-Bedingung"));
  // The slider's speed is B's speed.
  EXPECT_NEAR(std::fabs(numbersIn(*valueOf(lines, "Schiebergeschwindigkeit"))[0]),
              numbersIn(*valueOf(lines, "v B"))[0], 0.01 * numbersIn(*valueOf(lines, "v B"))[0]);

  t.show(6, 1, 1);
  lines = measuredValues(t.form);
  EXPECT_EQ(valueOf(lines, "Getriebeart"), "Kurbelschleife");
  EXPECT_TRUE(valueOf(lines, "ω Schleife"));
  EXPECT_TRUE(valueOf(lines, "Gleitweg s = YA"));
  EXPECT_FALSE(valueOf(lines, "v B")) << "B of the slotted crank lies practically at infinity";
  EXPECT_FALSE(valueOf(lines, "Übertragungswinkel μ"));
}

TEST(ValuesPanel, LoopThatDoesNotCloseAndNothingShown) {
  TestForm t;
  // A frame longer than crank, coupler and rocker together closes nowhere.
  t.form.st.qd = 500;
  t.show(1, 1, 1);
  std::vector<MeasuredValue> lines = measuredValues(t.form);
  EXPECT_EQ(valueOf(lines, "Getriebe"), "nicht montierbar");
  EXPECT_FALSE(valueOf(lines, "v B"));
  EXPECT_FALSE(valueOf(lines, "Momentanpol P"));
  EXPECT_TRUE(valueOf(lines, "Kurbelwinkel φ"));
  // The same in the six-bar and the curvature topics; nothing is listed from
  // stale registers.
  for (int group : {2, 4, 8}) {
    t.show(1, group, 1);
    lines = measuredValues(t.form);
    EXPECT_EQ(valueOf(lines, "Getriebe"), "nicht montierbar") << group;
    EXPECT_FALSE(valueOf(lines, "Winkel Z–F")) << group;
  }
  t.form.st.qd = 0;
  t.show(1, 1, 1);
  EXPECT_FALSE(valueOf(measuredValues(t.form), "Getriebe"));

  // The Watt preset's own dimensions do not close the six-bar chain.
  t.show(5, 8, 1);
  EXPECT_EQ(valueOf(measuredValues(t.form), "Kette"), "nicht montierbar");

  // Type 9 before any synthesis: every length is 0.
  t.show(9, 1, 1);
  EXPECT_EQ(valueOf(measuredValues(t.form), "Getriebe"), "nicht montierbar");

  // The task of the synthesis shows no mechanism.
  t.show(1, 10, 1);
  lines = measuredValues(t.form);
  EXPECT_EQ(valueOf(lines, "Getriebe"), "nicht dargestellt");
  EXPECT_FALSE(valueOf(lines, "Kurbelwinkel φ"));
}

TEST(ValuesPanel, SynthesisListsTheDefectsOfItsFourBar) {
  TestForm t;
  t.show(1, 10, 7);  // the four-bar of the synthesis
  ASSERT_TRUE(t.form.cmd.synthesisFourBar);
  const SynthesisCheck check = checkSynthesisFourBar(*t.form.cmd.synthesisFourBar);
  ASSERT_TRUE(check.valid);
  const std::vector<MeasuredValue> lines = measuredValues(t.form);
  for (int k = 0; k < 4; ++k) {
    const std::vector<double> n = numbersIn(*valueOf(lines, "Kurbelwinkel Lage " + std::to_string(k + 1)));
    EXPECT_LE(std::fabs(std::remainder(n.at(0) - check.crankDegrees[k], 360.0)), 0.5);
  }
  const bool allOnBranch = check.onBranch == std::array{true, true, true, true};
  EXPECT_EQ(valueOf(lines, "Verzweigungsdefekt") == "keiner", allOnBranch);
  EXPECT_EQ(valueOf(lines, "Reihenfolgedefekt") == "keiner", !check.orderDefect);
  EXPECT_EQ(valueOf(lines, "Kurbel"), check.turnsFully ? "voll umlauffähig" : "nicht voll umlauffähig");
  // The task pages before the four-bar carry no report.
  t.show(1, 10, 1);
  EXPECT_FALSE(valueOf(measuredValues(t.form), "Synthese: Prüfung des Gelenkvierecks"));
}

}  // namespace
}  // namespace pm::kinematics
