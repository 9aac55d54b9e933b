// Scratch state shared by the operations and the vector routines: the current
// vector (X, Y), the current length and angle, and the status of the last circle
// intersection. X, Y and kks outlive a command; curLen and curAng are scratch.
#pragma once

namespace pm {

struct Scratch {
  double X = 0;
  double Y = 0;
  double curLen = 0;
  double curAng = 0;
  int kks = 0;  // 0 success, 1 circles apart, 2/3 one circle inside the other
};

}  // namespace pm
