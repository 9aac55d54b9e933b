// Curve-tracing helpers shared by the coupler-curve, evolute and six-bar topics.
#include "topics/trace_loops.h"

#include <string>

#include "script/vector.h"
#include "shell/form1.h"

namespace pm::traces {

void PiecewiseTrace::add(int step, bool closed, std::u32string_view next,
                         std::u32string_view newPiece) {
  if (!closed) {
    broken_ = true;
    return;
  }
  if (!broken_) {
    f_.cmd.traceCounter = step;
    f_.run(next);
  } else {
    // A counter of 0 makes the trace command start afresh at this point, so
    // the gap is not bridged by a line the point never runs along.
    f_.cmd.traceCounter = 0;
    f_.run(newPiece);
    broken_ = false;
  }
  f_.cmd.traceCounter = step;
}

bool runJoints(Form1& f, std::u32string_view script) {
  std::u32string_view previous;
  std::size_t start = 0;
  for (;;) {
    const std::size_t colon = script.find(U':', start);
    std::u32string_view command = colon == std::u32string_view::npos
                                      ? script.substr(start)
                                      : script.substr(start, colon - start);
    // A leading empty command would repeat whatever ran before this script;
    // inside the script it repeats the command before it.
    if (command.empty()) command = previous;
    if (!command.empty()) {
      f.run(command);
      previous = command;
      const bool circleIntersection =
          command.size() >= 2 && command[0] == U'4' && (command[1] == U'2' || command[1] == U'3');
      if (circleIntersection && f.scratch().kks != 0) return false;
    }
    if (colon == std::u32string_view::npos) return true;
    start = colon + 1;
  }
}

KeepShownPosition::KeepShownPosition(Form1& f)
    : f_(f), registers_(f.reg()), kks_(f.scratch().kks), drive_(f.st.wxx), shown_(f.cmd.shown) {}

KeepShownPosition::~KeepShownPosition() {
  // The codes of the last command stay: an empty command that follows must
  // repeat the command that really ran last.
  registers_.cmdCode = f_.reg().cmdCode;
  f_.reg() = registers_;
  f_.scratch().kks = kks_;
  f_.st.wxx = drive_;
  f_.cmd.shown = shown_;
}

namespace {

constexpr std::u32string_view kAssembly = U":25X(a,b):29d=(d):22Y=X+d:22A=X+a:42SB=b+AY+c";

// One branch: 91 positions 4° apart, one full turn from the zero of the crank.
void couplerBranch(Form1& f, std::u32string_view next, std::u32string_view newPiece) {
  PiecewiseTrace trace(f);
  for (int k = 0; k <= 90; ++k) {
    f.reg().angOf(U'a') = (f.reg().valOf(U'c') + 4 * k) * kDeg;
    f.run(kAssembly);
    trace.add(k, f.scratch().kks == 0, next, newPiece);
  }
}

}  // namespace

void showLoopStatus(Form1& f) {
  const OnLayer note(f.canvas, Layer::Note);
  f.setPosition(20, 600);
  f.printNumber(f.scratch().kks, true);
}

void couplerCurve(Form1& f) {
  f.run(U":42SB=b+AY+c");
  if (f.scratch().kks != 0) {
    showLoopStatus(f);
    return;
  }
  f.run(U":42SC=e+AB+f");
  if (f.scratch().kks != 0) return;

  KeepShownPosition keep(f);
  couplerBranch(f, U":42SC=e+AB+f:64~b1-C:65.b12C", U":42SC=e+AB+f:65.o12C:64~o1-C");
  if (f.cmd.turnClass != 0) {
    // The other assembly branch, in its own colours.
    f.reg().lenOf(U'c') = -f.reg().lenOf(U'c');
    couplerBranch(f, U":42SC=e+AB+f:64~j1-C:65.j12C", U":42SC=e+AB+f:65.g12C:64~o1-C");
  }
}

}  // namespace pm::traces
