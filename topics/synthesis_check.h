// What a four-bar found by the four-position synthesis can do: the crank angle
// of every position, which positions lie on the assembly branch of the first
// one, and whether the crank reaches them in the order 1-2-3-4 without passing
// a dead position. Plain closed-form geometry on the found pivots, free of the
// script engine, so the synthesis and the tests can both ask it.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "script/registers.h"

namespace pm {

// The four-bar as the synthesis found it in position 1 and the task it serves.
struct SynthesisFourBar {
  Point crankPivot;   // fixed pivot of the crank (f)
  Point rockerPivot;  // fixed pivot of the rocker (h)
  Point crankPin;     // moving pivot of the crank in position 1 (g)
  Point rockerPin;    // moving pivot of the rocker in position 1 (i)
  std::array<Point, 4> first;   // first point of the plane in the positions 1 … 4 (A … D)
  std::array<Point, 4> second;  // second point of the plane in the positions 1 … 4 (E … H)
};

struct SynthesisCheck {
  bool valid = false;                     // false: degenerate task or links
  std::array<double, 4> crankDegrees{};   // screen angle of the crank, [0, 360)
  std::array<bool, 4> onBranch{};         // on the assembly branch of position 1
  bool turnsFully = false;                // the loop closes at every crank angle
  bool orderDefect = false;               // no sense of rotation meets the order 1-2-3-4
  int sense = 0;                          // +1 growing crank angle (counter-clockwise on screen), −1 the other way
  std::vector<std::pair<int, int>> deadBetween;  // positions (1-based) with a dead position between them
};

// A point of the plane in position 1 carried with the plane into position j (0-based).
Point carryIntoPosition(const SynthesisFourBar& m, Point q, int j);

SynthesisCheck checkSynthesisFourBar(const SynthesisFourBar& m);

// The German lines of the report, without the case line (which the caller
// writes with the title of the loop case).
std::vector<std::u32string> synthesisReportLines(const SynthesisCheck& c);

}  // namespace pm
