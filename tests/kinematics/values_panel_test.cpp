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
#include "kinematics/linkage_model.h"
#include "kinematics/number_format.h"
#include "kinematics/physical_values.h"
#include "kinematics/planar_motion.h"
#include "script/utf8.h"
#include "support/test_form.h"
#include "topics/motion_support.h"
#include "topics/synthesis_check.h"

namespace pm::kinematics {
namespace {

using pm::testing::allText;
using pm::testing::TestForm;

const std::string kMinus = "\u2212";

std::optional<std::string> valueOf(const std::vector<MeasuredValue>& lines, const std::string& name) {
  for (const MeasuredValue& l : lines)
    if (l.name == name) return l.value;
  return std::nullopt;
}

// The German numbers in a value, in order ("128 mm/s ∠ 148°" gives 128, 148;
// "(488; 260) mm" gives 488, 260).
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
        // The pole and the acceleration pole of the velocity base, in mm
        // from X with y upwards; far away by their direction.
        for (const auto& [name, drawn] : {std::pair{"Momentanpol P", at(t, U'P')},
                                          std::pair{"Beschleunigungspol Q", at(t, U'U')}}) {
          const Vec point = std::conj(drawn - at(t, U'X'));
          const std::string value = valueOf(lines, name).value_or("");
          const std::vector<double> n = numbersIn(value);
          if (std::abs(point) > 1e4) {
            EXPECT_TRUE(value.starts_with("im Unendlichen, Richtung ")) << where << " " << name << ": " << value;
            ASSERT_EQ(n.size(), 1u) << where << " " << name << ": " << value;
            EXPECT_LE(std::fabs(std::remainder(n[0] - angleDegrees(drawn - at(t, U'X')), 360.0)), 0.5) << where;
            continue;
          }
          ASSERT_EQ(n.size(), 2u) << where << " " << name << ": " << value;
          EXPECT_LE(std::abs(Vec(n[0], n[1]) - point), 0.005 * std::abs(point) + 1e-6) << where << " " << name;
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
  EXPECT_TRUE(valueOf(measuredValues(t.form), "v A")->starts_with("128 mm/s"));
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
  const std::pair<const char*, const char*> dimensions[] = {
      {"Kurbel a", "80,0 mm"},           {"Koppel b", "150 mm"},          {"Schwinge c", "120 mm"},
      {"Gestell d", "180 mm"},           {"Koppelpunkt AC e", "150 mm"}, {"Koppelpunkt BC f", "120 mm"},
      {"Gestellwinkel", "0°"}};
  for (const auto& [name, value] : dimensions) EXPECT_EQ(valueOf(lines, name), value) << name;
  for (const char* name : {"ω Koppel", "α Koppel", "ω Schwinge", "α Schwinge", "Übertragungswinkel μ", "v B",
                           "a C", "Momentanpol P", "Wendekreisdurchmesser", "Beschleunigungspol Q",
                           "Krümmungsradius ρ", "Krümmungsmittelpunkt Co"})
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

TEST(ValuesPanel, ZoomAndSymbolSizeChangeNothingListed) {
  // Every topic group of the four-bars, the slider crank and a six-bar.
  const struct {
    int type, group, topic;
  } pictures[] = {{1, 1, 1}, {2, 2, 4}, {3, 3, 7}, {1, 4, 6}, {8, 2, 3}, {6, 1, 1}, {5, 8, 2}, {1, 7, 7}};
  // Ctrl+Down and Ctrl+Up zoom, Ctrl+Shift+Left/Right scale the symbols.
  const std::pair<int, int> keys[] = {{kKeyDown, kCtrl}, {kKeyUp, kCtrl}, {kKeyLeft, kShift | kCtrl},
                                      {kKeyRight, kShift | kCtrl}};
  for (const auto& p : pictures) {
    for (double wxx : {0.4, 2.2}) {
      TestForm t;
      t.form.st.wxx = wxx;
      t.show(p.type, p.group, p.topic);
      const std::vector<MeasuredValue> before = measuredValues(t.form);
      for (const auto& [key, shift] : keys) {
        for (int n = 0; n < 5; ++n) t.key(key, shift);
        const std::vector<MeasuredValue> after = measuredValues(t.form);
        ASSERT_EQ(after.size(), before.size()) << p.type << " " << p.group << " " << p.topic << " key " << key;
        for (std::size_t k = 0; k < after.size(); ++k)
          EXPECT_EQ(after[k].value, before[k].value) << p.type << " " << p.group << " " << p.topic << " key " << key
                                                     << " zoom " << t.form.st.qzz << ": " << after[k].name;
      }
    }
  }
}

TEST(ValuesPanel, PhysicalValuesSetThroughTheStateAreListedExactly) {
  TestForm t;
  t.show(1, 2, 4);
  for (int n = 0; n < 3; ++n) t.key(kKeyDown, kCtrl);  // any zoom
  t.key(kKeyF1 + 1, kShift);                            // the other branch of B: c's sign flips
  StateRecord& st = t.form.st;
  ASSERT_TRUE(physical::setLength(st, 'a', 95.5));
  ASSERT_TRUE(physical::setLength(st, 'c', 131));
  ASSERT_TRUE(physical::setLength(st, 'e', 0));
  ASSERT_TRUE(physical::setCrankAngle(st, 230));
  ASSERT_TRUE(physical::setOmega(st, 2));
  ASSERT_TRUE(physical::setAlpha(st, -0.5));
  EXPECT_FALSE(physical::setLength(st, 'a', -3)) << "a length is a magnitude";
  EXPECT_FALSE(physical::setLength(st, 'q', 3)) << "q is no length of a link";
  EXPECT_FALSE(physical::setCrankAngle(st, NAN));
  t.key(kKeyRebuild);
  Registers& r = t.form.engine.reg;
  EXPECT_NEAR(r.lenOf(U'a'), 95.5 * st.qzz, 1e-9);
  EXPECT_NEAR(r.lenOf(U'c'), 131 * st.qzz, 1e-9) << "the flipped branch is kept";
  const std::vector<MeasuredValue> lines = measuredValues(t.form);
  EXPECT_EQ(valueOf(lines, "Kurbel a"), "95,5 mm");
  EXPECT_EQ(valueOf(lines, "Schwinge c"), "131 mm");
  EXPECT_EQ(valueOf(lines, "Koppelpunkt AC e"), "0 mm");
  EXPECT_EQ(valueOf(lines, "Kurbelwinkel φ"), "230°");
  EXPECT_EQ(valueOf(lines, "ω Kurbel"), "2,00 1/s");
  EXPECT_EQ(valueOf(lines, "α Kurbel"), kMinus + "0,500 1/s²");
  EXPECT_DOUBLE_EQ(physical::lengthOf(st, 'a'), 95.5);
  EXPECT_NEAR(physical::crankAngleOf(st), 230, 1e-9);
  EXPECT_NEAR(physical::omegaOf(st), 2, 1e-12);
  EXPECT_NEAR(physical::alphaOf(st), -0.5, 1e-12);
  // The speed of A is ω·a in mm/s, whatever the zoom.
  EXPECT_EQ(valueOf(lines, "v A")->substr(0, 8), "191 mm/s");
}

TEST(ValuesPanel, DeadPositionsAndFarPolesAreNamed) {
  TestForm t;
  // The double rocker (type 3): its range ends where coupler and rocker lie
  // in line, |A − Y| = b + c (a = 100, b = 150, |c| = 120, d = 180).
  t.show(3, 2, 1);
  const double reach = std::acos((100.0 * 100 + 180 * 180 - 270.0 * 270) / (2 * 100 * 180)) * 180 / std::numbers::pi;
  // The loop closes for |φ| ≤ reach (φ from the frame line X→Y).
  for (const auto& [offset, dead] : {std::pair{1e-8, true}, {0.004, true}, {0.02, false}, {1.0, false}}) {
    physical::setCrankAngle(t.form.st, reach - offset);
    t.key(kKeyRebuild);
    const std::vector<MeasuredValue> lines = measuredValues(t.form);
    EXPECT_EQ(valueOf(lines, "Lage") == "Totlage: Koppel und Schwinge in einer Flucht", dead) << offset;
    EXPECT_EQ(valueOf(lines, "ω Koppel").has_value(), !dead) << offset;
  }
  // The crank-rocker (type 1): the rocker turns back where crank and coupler
  // lie in line, |B − X| = a + b, at ±β from the frame line; the model tells
  // which of the two lies on the branch shown.
  t.show(1, 2, 1);
  const double a = 80, b = 150, c = 120, d = 180;
  const double beta = std::acos(((a + b) * (a + b) + d * d - c * c) / (2 * (a + b) * d));
  const testing::FourBar model = testing::FourBar::fromRegisters(t.form);
  double stretched = 0;
  for (double candidate : {beta, -beta}) {
    const Vec pin = model.A(candidate), rocker = *model.B(candidate);
    if (std::fabs(cross(pin - model.X, rocker - pin)) < 1e-6 * a * b) stretched = candidate * 180 / std::numbers::pi;
  }
  ASSERT_NE(stretched, 0);
  for (const auto& [offset, dead] : {std::pair{0.0, true}, {0.005, true}, {-0.005, true}, {0.03, false}}) {
    physical::setCrankAngle(t.form.st, stretched + offset);
    t.key(kKeyRebuild);
    const std::vector<MeasuredValue> lines = measuredValues(t.form);
    EXPECT_EQ(valueOf(lines, "Lage") == "Totlage: Kurbel und Koppel in einer Flucht", dead) << offset;
    EXPECT_TRUE(valueOf(lines, "ω Schwinge")) << "the speeds stay finite there";
  }
  // The slider crank (type 8, guide perpendicular to the frame direction 30°):
  // with the crank along 30° the crank line and the normal of the guide at B
  // run parallel, the pole lies at infinity.
  t.show(8, 2, 1);
  physical::setCrankAngle(t.form.st, 30);
  t.key(kKeyRebuild);
  const std::string pole = valueOf(measuredValues(t.form), "Momentanpol P").value_or("");
  EXPECT_TRUE(pole == "im Unendlichen, Richtung 30,0°" || pole == "im Unendlichen, Richtung 210°") << pole;
}

TEST(ValuesPanel, NestedCommandsHandTheirPictureToThePanel) {
  // The synthesis hands its four-bar over through a nested command: the
  // panel names the class the title line of that picture shows.
  TestForm t;
  t.keyChar('4');
  t.keyChar('T');
  for (int n = 0; n < 5; ++n) t.key(kKeySpace);
  t.keyChar('W');
  t.key(kKeyF1 + 2);
  t.key(kKeyDown);
  t.key(kKeyDown);
  ASSERT_EQ(t.form.st.mn0, 9);
  const std::vector<MeasuredValue> handed = measuredValues(t.form);
  const std::u32string text = allText(t.picture());
  const std::string kind = valueOf(handed, "Getriebeart").value_or("");
  ASSERT_FALSE(kind.empty());
  EXPECT_NE(text.find(fromUtf8(" " + kind)), std::u32string::npos) << kind;
  t.key(kKeyRebuild);
  const std::vector<MeasuredValue> rebuilt = measuredValues(t.form);
  for (const char* name : {"Kurbel a", "Gestell d", "Kurbelwinkel φ", "ω Koppel", "Getriebeart", "Kurbel"})
    EXPECT_EQ(valueOf(handed, name), valueOf(rebuilt, name)) << name;

  // The demonstration and a run, with steps pressed while they run, end with
  // a picture as a rebuild draws it: the panel then says what a rebuild of
  // that state says, whether a key ended them or they ran out. Rautenwerk's
  // demonstration, stopped, returns to the first group through a nested
  // rebuild.
  const struct {
    const Edition& edition;
    int start, stopAt;
  } runs[] = {{planimoveEdition(), kKeyF1 + 1, 12},
              {planimoveEdition(), '1', 12},
              {planimoveEdition(), '1', 0},
              {rautenwerkEdition(), '5', 300}};
  for (const auto& run : runs) {
    TestForm d(run.edition);
    int events = 0;
    d.host.onProcessEvents = [&] {
      // The number of this event: the keys below process events of their own.
      const int event = ++events;
      // Steps nest; a key that starts a run ends the running one.
      if (event >= 3 && event < 8) d.key(kKeySpace);
      if (event == run.stopAt) d.keyChar('5');
    };
    if (run.start < 128)
      d.keyChar(static_cast<char>(run.start));
    else
      d.key(run.start);
    d.host.onProcessEvents = nullptr;
    ASSERT_GE(events, 12) << run.start;
    const std::vector<MeasuredValue> after = measuredValues(d.form);
    const DisplayList shown = d.picture();
    d.key(kKeyRebuild);
    EXPECT_EQ(d.picture().size(), shown.size()) << run.start;
    EXPECT_EQ(allText(d.picture()), allText(shown)) << run.start;
    const std::vector<MeasuredValue> again = measuredValues(d.form);
    ASSERT_EQ(after.size(), again.size()) << run.start;
    for (std::size_t k = 0; k < after.size(); ++k)
      EXPECT_EQ(after[k].value, again[k].value)
          << after[k].name << " " << run.start << " " << run.stopAt;
  }
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
