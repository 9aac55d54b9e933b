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

}  // namespace pm
