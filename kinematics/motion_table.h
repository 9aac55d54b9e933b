// The motion of the mechanism over the crank angle, in closed form: one row
// per crank angle of the range the crank reaches from where it stands (a
// whole revolution, or the swing between two dead positions), at most 1°
// apart, with both edges of that range, both edges of every piece in which
// the dyad of a six-bar closes, and the shown angle itself.
//
// The conventions of planar_motion hold; the table gives lengths in mm,
// angles in degrees (screen angles, [0°, 360°) as the values panel lists
// them) and times in the drive's unit (s). A cell without a value (a dead
// position, a chain that does not close, a column that does not apply to
// this kind of mechanism) is NaN.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "kinematics/physical_values.h"
#include "kinematics/planar_motion.h"

namespace pm::kinematics {

// Which link of the loop stands for a straight guide (physical::isGuide).
enum class Guide {
  None,
  Slot,    // the coupler: a slotted link about Y, its block at A
  Slider,  // the rocker: B runs on a straight guide through X
};
Guide guideOf(const LoopGeometry& g);

// What a table is computed for.
struct TabledMechanism {
  LoopGeometry loop;   // lengths in mm
  Drive drive;         // angle: the crank angle shown (radians); ω and α of the crank
  int sixBarTopic = 0; // 1 … 8: the dyad that six-bar topic adds; 0: none
  std::array<double, 10> sixBarLengths{};  // len g … p in mm
};

// The crank angles (radians) at which the loop closes, as the interval that
// holds `angle`: first ≤ angle ≤ last, or 0 … 2π for a crank that turns
// round. Nothing where the loop does not close at `angle`.
struct CrankRange {
  double first = 0, last = 0;
  bool fullTurn = false;
};
std::optional<CrankRange> crankRange(const LoopGeometry& g, double angle);

// What a column holds; the diagrams draw the columns of one quantity in one plot.
enum class Quantity {
  CrankAngle,
  CrankOmega,
  Angle,         // of a link, degrees
  Omega,         // 1/s
  Alpha,         // 1/s²
  Speed,         // mm/s
  Acceleration,  // mm/s²
  Transmission,  // μ, degrees
  Travel,        // the slider's way, mm
};

struct ColumnInfo {
  Quantity quantity;
  std::string name;     // UTF-8, "ω Koppel"
  std::string subject;  // what the column belongs to, "Koppel", "A", "C–F"
  std::string unit;     // "1/s"
  // "ω Koppel [1/s]"
  std::string header() const { return name + " [" + unit + "]"; }
};

struct MotionTable {
  std::vector<ColumnInfo> columns;  // the first is the crank angle φ
  // One row per crank angle, in the order the angle grows; cells as columns.
  std::vector<std::vector<double>> rows;
  // The crank angle of each row unwrapped along the range (degrees), so
  // that it grows from row to row where the range runs through 0°.
  std::vector<double> sweep;
  double first = 0, last = 0;  // the range, unwrapped degrees
  bool fullTurn = false;
  std::size_t shownRow = 0;    // the row of the shown crank angle

  // The index of the column of that name, or nothing.
  std::optional<std::size_t> column(std::string_view name) const;
};

// The table of a mechanism; nothing where its loop does not close at the
// shown angle.
std::optional<MotionTable> motionTable(const TabledMechanism& mechanism);

}  // namespace pm::kinematics
