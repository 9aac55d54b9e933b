// Building blocks of the curve-tracing loops of the coupler-curve, evolute and
// six-bar topics: one traced curve with its break colour, joint scripts that
// stop at the first joint that cannot be placed, and the shown position kept
// across a loop that turns the crank through other positions.
#pragma once

#include <string_view>

#include "script/registers.h"
#include "shell/form1.h"

namespace pm {

class Form1;

namespace traces {

// A curve traced point by point. Positions where the chain does not close are
// skipped; the next closing position starts a new piece in the break colour
// and is not joined to the last point before the gap.
class PiecewiseTrace {
 public:
  explicit PiecewiseTrace(Form1& f) : f_(f) {}
  // One position of the loop. `step` counts 0, 1, 2, … in the order the points
  // come (step 0 starts the curve). `next` continues the curve to the point,
  // `newPiece` starts a new piece there.
  void add(int step, bool closed, std::u32string_view next, std::u32string_view newPiece);

 private:
  Form1& f_;
  bool broken_ = false;
};

// Runs a script one command at a time and stops after the first circle
// intersection that fails; false then (kks tells why). An empty command
// repeats the one before it, as inside a script.
bool runJoints(Form1& f, std::u32string_view script);

// Keeps the position the picture shows while a loop assembles the chain at
// other crank angles: on destruction the registers (except the codes of the
// last command), the status kks, the drive angle wxx and the mechanism noted
// as shown are put back.
class KeepShownPosition {
 public:
  explicit KeepShownPosition(Form1& f);
  ~KeepShownPosition();
  KeepShownPosition(const KeepShownPosition&) = delete;
  KeepShownPosition& operator=(const KeepShownPosition&) = delete;

 private:
  Form1& f_;
  Registers registers_;
  int kks_;
  double drive_;
  ShownMechanism shown_;
};

// Shows why the four-bar cannot be assembled: the status kks at (20, 600), as
// the standard picture does.
void showLoopStatus(Form1& f);

// The coupler curve of C over a full turn of the crank, in steps of 4° from the
// zero of the crank angle; for mechanisms whose crank does not turn fully, the
// other assembly branch as well, in its own colours. Runs after the mechanism
// is drawn; a loop that does not close now shows its status at (20, 600).
void couplerCurve(Form1& f);

}  // namespace traces
}  // namespace pm
