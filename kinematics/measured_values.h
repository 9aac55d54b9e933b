// The values panel ("Messwerte"): the kinematic quantities of the mechanism
// on screen, computed in closed form from its lengths and crank position,
// independently of the construction scripts.
#pragma once

#include <string>
#include <vector>

namespace pm {

class Form1;

// One line of the panel. A line with an empty value is a section heading.
struct MeasuredValue {
  std::string name;   // UTF-8, e.g. "ω Koppel"
  std::string value;  // UTF-8, German number format, e.g. "1,23 1/s"
};

// The panel's lines for the mechanism and position the last command or run
// frame showed. Never throws; where the loop does not close, the lines say so.
std::vector<MeasuredValue> measuredValues(const Form1& form);

// A joint of the mechanism on screen that its letter key moves to the pointer.
struct ShownJoint {
  char letter;  // 'X', 'Y', 'A', 'B' or 'C'
  double x, y;  // drawing units
};

// The pivots X and Y, the crank pin A, B and the coupler point C of the
// mechanism the last command or run frame showed, where the loop places them
// (B not for a slider on a straight guide); none when no mechanism is shown.
std::vector<ShownJoint> shownJoints(const Form1& form);

}  // namespace pm
