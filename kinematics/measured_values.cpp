#include "kinematics/measured_values.h"

#include "shell/form1.h"

namespace pm {

std::vector<MeasuredValue> measuredValues(const Form1&) {
  return {{"Messwerte", ""}};
}

}  // namespace pm
