// The curve loops of the synthesis: one pass of construction scripts for every
// whole degree t = 0 … 360, each pass drawing its points of the curve.
//
// Subtopic 7 runs the whole synthesis picture twice and only the second run is
// drawn; the first computes the pairs of the construction point. Its loops
// matter only for the registers they leave, and those come from the last
// pass: every pass computes from registers set before the loop, and only a
// dyad that cannot close keeps its point from the pass before. So a computing
// loop runs passes 359 and 360 (360 then repeats the command that ended 359,
// as in the whole loop) and, should a dyad of pass 360 not close, starts again
// from where it began and runs all passes.
#pragma once

#include <functional>

namespace pm {

class Form1;

// One pass at angle t degrees; true when all its dyads closed.
using CurvePass = std::function<bool(int t)>;

// Runs the loop: all passes when drawing, the last ones when computing.
void runCurveLoop(Form1& f, bool computing, const CurvePass& pass);

// Test switch: false makes computing loops run all passes as well.
extern bool curveLoopShortcut;

}  // namespace pm
