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
  // Line intersections far out to the right are clamped to x = 99999, a
  // sentinel that scripts may test for. The topic constructions, whose points
  // lie that far in earnest (the inflection pole of a nearly straight coupler
  // motion), take them as computed while this is set.
  bool farIntersections = false;
};

// Sets Scratch::farIntersections for its lifetime.
class FarIntersections {
 public:
  explicit FarIntersections(Scratch& s) : s_(s), before_(s.farIntersections) { s.farIntersections = true; }
  ~FarIntersections() { s_.farIntersections = before_; }
  FarIntersections(const FarIntersections&) = delete;
  FarIntersections& operator=(const FarIntersections&) = delete;

 private:
  Scratch& s_;
  bool before_;
};

}  // namespace pm
