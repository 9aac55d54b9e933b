// The table over the crank angle behind the diagrams: its ω and α are the
// derivatives of its own angles, its row at the shown angle is the values
// panel, a rocking crank's table spans exactly the swing the drive makes, the
// six-bar and slider columns are the positions of an independent assembly;
// the CSV and picking an angle in the diagrams.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "diagrams/diagram_sheet.h"
#include "diagrams/motion_csv.h"
#include "diagrams/motion_of_form.h"
#include "kinematics/linkage_model.h"
#include "kinematics/measured_values.h"
#include "kinematics/number_format.h"
#include "support/test_form.h"

namespace pm::testing {
namespace {

using kinematics::MotionTable;

constexpr double kDegree = std::numbers::pi / 180;

// A state to tabulate: type, group, topic and the keys that lead there.
struct Case {
  int type, group, topic;
  int spaces;
  bool backwards = false;
  int zoomSteps = 0;  // Ctrl+Down: the picture zoomed, the mm stay
};

const Case kCases[] = {
    {1, 1, 1, 0}, {1, 2, 3, 7, true}, {2, 1, 1, 3}, {3, 1, 1, 5}, {4, 1, 1, 9}, {5, 1, 1, 2},
    {6, 1, 1, 4}, {7, 1, 1, 4},       {8, 1, 1, 6}, {1, 8, 2, 3}, {1, 8, 6, 5}, {3, 8, 1, 7},
    {1, 1, 1, 2, false, 3}, {8, 1, 1, 6, false, 2}, {1, 8, 2, 3, false, 3},
};

std::string describe(const Case& c) {
  return "type " + std::to_string(c.type) + " topic " + std::to_string(c.group) + "." + std::to_string(c.topic) +
         " after " + std::to_string(c.spaces) + (c.backwards ? " backspaces" : " spaces") +
         (c.zoomSteps ? " zoomed " + std::to_string(c.zoomSteps) + "×" : "");
}

MotionTable tableOf(TestForm& t, const Case& c) {
  t.show(c.type, c.group, c.topic);
  for (int k = 0; k < c.zoomSteps; ++k) t.key(kKeyDown, kCtrl);
  for (int k = 0; k < c.spaces; ++k) t.key(c.backwards ? kKeyBackspace : kKeySpace);
  const ShownTable shown = shownMotionTable(t.form);
  EXPECT_TRUE(shown.table) << describe(c) << ": " << shown.reason;
  return shown.table.value_or(MotionTable{});
}

double cell(const MotionTable& table, std::size_t row, const std::string& column) {
  const auto k = table.column(column);
  return k ? table.rows[row][*k] : NAN;
}

TEST(CrankDiagrams, OmegaAndAlphaAreCentralDifferencesOfTheTabulatedAngles) {
  // Position, first and second derivative of each tabulated motion.
  const std::vector<std::array<std::string, 3>> motions = {
      {"Winkel Koppel", "ω Koppel", "α Koppel"},
      {"Winkel Schwinge", "ω Schwinge", "α Schwinge"},
      {"Winkel Schleife", "ω Schleife", "α Schleife"},
      {"Gleitweg s", "Gleitgeschwindigkeit", "Gleitbeschleunigung"},
      {"Schieberweg s", "Schiebergeschwindigkeit", "Schieberbeschleunigung"},
      {"Winkel C–F", "ω C–F", "α C–F"},
      {"Winkel D–F", "ω D–F", "α D–F"},
      {"Winkel Z–F", "ω Z–F", "α Z–F"},
      {"Winkel E–F", "ω E–F", "α E–F"}};
  for (const Case& c : kCases) {
    TestForm t;
    const MotionTable table = tableOf(t, c);
    const double omega = cell(table, 0, "ω Kurbel");
    const double alpha = shownMechanism(t.form)->drive.alpha;
    int checked = 0;
    for (const auto& [position, rate, acceleration] : motions) {
      if (!table.column(position)) continue;
      const bool angle = position.starts_with("Winkel");
      // Scale of the column, for the tolerance.
      double scaleRate = 0, scaleAcceleration = 0;
      for (std::size_t i = 0; i < table.rows.size(); ++i) {
        if (std::isfinite(cell(table, i, rate))) scaleRate = std::max(scaleRate, std::fabs(cell(table, i, rate)));
        if (std::isfinite(cell(table, i, acceleration)))
          scaleAcceleration = std::max(scaleAcceleration, std::fabs(cell(table, i, acceleration)));
      }
      // Rows 12° and more from a dead position or a gap of the column: closer
      // to one, the angle has a root-like edge that differences cannot follow.
      std::vector<double> edges;
      if (!table.fullTurn) edges = {table.first, table.last};
      for (std::size_t i = 0; i < table.rows.size(); ++i)
        if (!std::isfinite(cell(table, i, position)) || !std::isfinite(cell(table, i, rate)))
          edges.push_back(table.sweep[i]);
      for (std::size_t i = 1; i + 1 < table.rows.size(); ++i) {
        // Whole degrees on both sides.
        if (table.sweep[i + 1] - table.sweep[i] != 1 || table.sweep[i] - table.sweep[i - 1] != 1) continue;
        if (std::any_of(edges.begin(), edges.end(), [&](double e) { return std::fabs(e - table.sweep[i]) < 12; }))
          continue;
        const double before = cell(table, i - 1, position), here = cell(table, i, position),
                     after = cell(table, i + 1, position);
        const double v = cell(table, i, rate), a = cell(table, i, acceleration);
        if (!std::isfinite(before) || !std::isfinite(after) || !std::isfinite(v) || !std::isfinite(a)) continue;
        // Angles as listed run through 360°; lengths and angles per crank radian.
        const double unit = angle ? kDegree : 1;
        const double forward = (angle ? std::remainder(after - here, 360.0) : after - here) * unit;
        const double backward = (angle ? std::remainder(here - before, 360.0) : here - before) * unit;
        const double h = kDegree;
        const double first = (forward + backward) / (2 * h), second = (forward - backward) / (h * h);
        const std::string where = describe(c) + " " + position + " at φ " + std::to_string(table.sweep[i]);
        EXPECT_NEAR(v, first * omega, 2e-3 * scaleRate + 1e-9) << where;
        EXPECT_NEAR(a, second * omega * omega + first * alpha, 5e-3 * scaleAcceleration + 1e-9) << where;
        ++checked;
      }
    }
    EXPECT_GT(checked, 100) << describe(c);
  }
}

// The number the panel lists for a line: the text before its unit.
std::string listed(const std::string& value) {
  std::string number = value.substr(0, value.find(' '));
  if (number.ends_with("°")) number.resize(number.size() - std::string("°").size());
  return number;
}

TEST(CrankDiagrams, RowAtTheShownAngleIsTheValuesPanel) {
  // Panel lines and the columns that hold the same quantity.
  const std::vector<std::pair<std::string, std::string>> same = {
      {"Kurbelwinkel φ", "φ"},         {"ω Kurbel", "ω Kurbel"},
      {"Winkel Koppel", "Winkel Koppel"}, {"ω Koppel", "ω Koppel"},
      {"α Koppel", "α Koppel"},         {"Winkel Schwinge", "Winkel Schwinge"},
      {"ω Schwinge", "ω Schwinge"},     {"α Schwinge", "α Schwinge"},
      {"Übertragungswinkel μ", "μ"},    {"v A", "v A"},
      {"v B", "v B"},                   {"v C", "v C"},
      {"a A", "a A"},                   {"a B", "a B"},
      {"a C", "a C"},                   {"Schleifenwinkel", "Winkel Schleife"},
      {"ω Schleife", "ω Schleife"},     {"α Schleife", "α Schleife"},
      {"Gleitweg s = YA", "Gleitweg s"}, {"Gleitgeschwindigkeit", "Gleitgeschwindigkeit"},
      {"Gleitbeschleunigung", "Gleitbeschleunigung"}, {"Schieberweg s = XB", "Schieberweg s"},
      {"Schiebergeschwindigkeit", "Schiebergeschwindigkeit"},
      {"Schieberbeschleunigung", "Schieberbeschleunigung"},
      {"Winkel C–F", "Winkel C–F"},     {"ω C–F", "ω C–F"},
      {"α D–F", "α D–F"},               {"Winkel Z–F", "Winkel Z–F"},
      {"ω E–F", "ω E–F"},               {"v G", "v G"}};
  for (const Case& c : kCases) {
    TestForm t;
    const MotionTable table = tableOf(t, c);
    const std::vector<MeasuredValue> panel = measuredValues(t.form);
    int compared = 0;
    for (const auto& [line, column] : same) {
      const auto value = std::find_if(panel.begin(), panel.end(), [&](const MeasuredValue& v) { return v.name == line; });
      if (value == panel.end()) continue;
      std::string number = germanNumber(cell(table, table.shownRow, column));
      if (number == "360") number = "0";
      EXPECT_EQ(number, listed(value->value)) << describe(c) << ": " << line << " = " << value->value;
      ++compared;
    }
    EXPECT_GE(compared, 10) << describe(c);
  }
}

TEST(CrankDiagrams, RockingCrankSpansTheSwingOfTheDrive) {
  for (const int type : {3, 4}) {
    TestForm t;
    t.show(type, 1, 1);
    const MotionTable table = shownMotionTable(t.form).table.value();
    ASSERT_FALSE(table.fullTurn) << "type " << type;
    const FourBar bar = FourBar::fromRegisters(t.form);
    // The loop closes at every row and not a hair beyond either end.
    for (double phi : table.sweep) EXPECT_TRUE(bar.B((phi + (phi == table.first ? 1e-6 : phi == table.last ? -1e-6 : 0)) * kDegree)) << phi;
    EXPECT_FALSE(bar.B((table.first - 0.01) * kDegree)) << "type " << type;
    EXPECT_FALSE(bar.B((table.last + 0.01) * kDegree)) << "type " << type;
    for (std::size_t i = 1; i < table.sweep.size(); ++i) EXPECT_LE(table.sweep[i] - table.sweep[i - 1], 1 + 1e-9);
    // Both ends are dead positions: angles listed, no ω.
    EXPECT_TRUE(std::isfinite(cell(table, 0, "Winkel Schwinge")));
    EXPECT_FALSE(std::isfinite(cell(table, 0, "ω Schwinge")));
    EXPECT_FALSE(std::isfinite(cell(table, table.rows.size() - 1, "ω Koppel")));
    // The drive swings between the ends and turns back at them.
    double lowest = 1e9, highest = -1e9;
    for (int step = 0; step < 200; ++step) {
      t.key(kKeySpace);
      double phi = t.form.cmd.shown.crankAngle / kDegree;
      phi = table.first + std::fmod(std::fmod(phi - table.first, 360.0) + 360.0, 360.0);
      lowest = std::min(lowest, phi), highest = std::max(highest, phi);
    }
    EXPECT_GE(lowest, table.first - 1e-9) << "type " << type;
    EXPECT_LE(highest, table.last + 1e-9) << "type " << type;
    EXPECT_LT(lowest, table.first + 4.01) << "type " << type;  // one drive step from the end
    EXPECT_GT(highest, table.last - 4.01) << "type " << type;
  }
}

TEST(CrankDiagrams, SixBarAndSliderColumnsAreTheAssembledPositions) {
  auto degreesOf = [](Z2 v) {
    double d = std::atan2(-v.imag(), v.real()) / kDegree;
    return d < 0 ? d + 360 : d;
  };
  auto sameAngle = [](double a, double b) { return std::fabs(std::remainder(a - b, 360.0)); };
  for (const int topic : {1, 2, 3, 4, 5, 6, 7, 8}) {
    for (const int type : {1, 3}) {
      TestForm t;
      t.show(type, 8, topic);
      const MotionTable table = shownMotionTable(t.form).table.value();
      const SixBarModel model = SixBarModel::fromRegisters(t.form, topic);
      const std::string first = std::string(1, static_cast<char>(model.ends.i)) + "–F";
      const std::string second = std::string(1, static_cast<char>(model.ends.h)) + "–F";
      int closed = 0, open = 0;
      for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const double theta = table.sweep[i] * kDegree;
        const auto F = model.F(theta);
        const double a = cell(table, i, "Winkel " + first), b = cell(table, i, "Winkel " + second);
        const std::string where = "type " + std::to_string(type) + " topic " + std::to_string(topic) + " φ " +
                                  std::to_string(table.sweep[i]);
        if (!F || !model.G(theta)) {
          // The chain may close at an edge row that lies a hair inside.
          if (!std::isfinite(a)) ++open;
          continue;
        }
        ASSERT_TRUE(std::isfinite(a) && std::isfinite(b)) << where;
        EXPECT_LT(sameAngle(a, degreesOf(*F - *model.joint(model.ends.i, theta))), 1e-6) << where;
        EXPECT_LT(sameAngle(b, degreesOf(*F - *model.joint(model.ends.h, theta))), 1e-6) << where;
        ++closed;
      }
      EXPECT_GT(closed, 50) << "type " << type << " topic " << topic << " (" << open << " open)";
    }
  }
  // The slider's way: B from X (slider crank), A from Y (slotted links).
  for (const int type : {6, 7, 8}) {
    TestForm t;
    t.show(type, 1, 1);
    const MotionTable table = shownMotionTable(t.form).table.value();
    const FourBar bar = FourBar::fromRegisters(t.form);
    const std::string column = type == 8 ? "Schieberweg s" : "Gleitweg s";
    ASSERT_TRUE(table.column(column)) << type;
    EXPECT_FALSE(table.column(type == 8 ? "Gleitweg s" : "Schieberweg s")) << type;
    for (std::size_t i = 0; i < table.rows.size(); i += 7) {
      const double theta = table.sweep[i] * kDegree;
      const double s = type == 8 ? std::abs(*bar.B(theta) - bar.X) : std::abs(bar.A(theta) - bar.Y);
      EXPECT_NEAR(cell(table, i, column), s, 1e-6) << "type " << type << " φ " << table.sweep[i];
    }
    // The guide's stand-in is no rocker, nor, for a slotted link, a coupler.
    EXPECT_FALSE(std::isfinite(cell(table, 0, "Winkel Schwinge"))) << type;
    EXPECT_EQ(std::isfinite(cell(table, 0, "Winkel Koppel")), type == 8) << type;
  }
}

TEST(CrankDiagrams, CsvForSpreadsheets) {
  TestForm t;
  t.show(1, 1, 1);
  const MotionTable table = shownMotionTable(t.form).table.value();
  const std::string csv = motionCsv(table);
  const std::string header =
      "\xEF\xBB\xBFφ [°];ω Kurbel [1/s];Winkel Koppel [°];ω Koppel [1/s];α Koppel [1/s²];Winkel Schwinge [°];"
      "ω Schwinge [1/s];α Schwinge [1/s²];v A [mm/s];v B [mm/s];v C [mm/s];a A [mm/s²];a B [mm/s²];"
      "a C [mm/s²];μ [°]\r\n";
  EXPECT_EQ(csv.substr(0, header.size()), header);
  // A whole turn: 0° … 360°, one row a degree.
  std::size_t lines = 0;
  for (char ch : csv) lines += ch == '\n';
  EXPECT_EQ(lines, 1 + 361u);
  EXPECT_NE(csv.find("\r\n0;1,6;"), std::string::npos);
  EXPECT_NE(csv.find("\r\n360;1,6;"), std::string::npos);
  EXPECT_EQ(csvNumber(-1.28), "-1,28");
  EXPECT_EQ(csvNumber(153.6), "153,6");
  EXPECT_EQ(csvNumber(0.000123456789), "0,000123457");
  EXPECT_EQ(csvNumber(1234567.8), "1234568");
  EXPECT_EQ(csvNumber(NAN), "");
  EXPECT_EQ(csvNumber(-0.0), "0");
}

TEST(CrankDiagrams, PickingAnAngleTurnsTheCrankThere) {
  for (const int type : {1, 3}) {
    TestForm t;
    t.show(type, 2, 3);
    RecordingCanvas sheet;
    const DiagramLayout layout = drawDiagrams(sheet, shownMotionTable(t.form), {380, 740});
    ASSERT_GE(layout.plots.size(), 5u);
    EXPECT_GT(sheet.list().size(), 500u);
    const DiagramLayout::Box& box = layout.plots[1];
    const double y = (box.top + box.bottom) / 2;
    EXPECT_FALSE(crankAngleAt(layout, box.left - 30, y));
    for (double at : {0.0, 0.3, 0.75, 1.0}) {
      const std::optional<double> phi = crankAngleAt(layout, box.left + at * (box.right - box.left), y);
      ASSERT_TRUE(phi);
      const double expected = layout.first + at * (layout.last - layout.first);
      EXPECT_NEAR(std::remainder(*phi - expected, 360.0), 0, 1e-9);
      EXPECT_TRUE(turnCrankTo(t.form, *phi));
      ASSERT_TRUE(t.form.cmd.shown.taken);
      EXPECT_TRUE(t.form.cmd.errors.empty());
      // At the ends of a swing the crank stands a hair inside.
      EXPECT_NEAR(std::remainder(t.form.cmd.shown.crankAngle / kDegree - *phi, 360.0), 0, 1e-4)
          << "type " << type << " at " << at;
      EXPECT_EQ(t.form.st.mn1, 2);
    }
  }
  // Nothing shown (the start page): no table, and the sheet says why.
  TestForm t;
  t.show(1, 1, 0);
  const ShownTable shown = shownMotionTable(t.form);
  EXPECT_FALSE(shown.table);
  EXPECT_FALSE(turnCrankTo(t.form, 90));
  RecordingCanvas sheet;
  EXPECT_TRUE(drawDiagrams(sheet, shown, {380, 740}).plots.empty());
  EXPECT_FALSE(sheet.list().empty());
}

}  // namespace
}  // namespace pm::testing
