#include "topics/curve_loop.h"

#include "shell/form1.h"

namespace pm {

bool curveLoopShortcut = true;

void runCurveLoop(Form1& f, bool computing, const CurvePass& pass) {
  constexpr int kLast = 360;
  if (computing && curveLoopShortcut) {
    const Engine::CommandMemory before = f.engine.savedCommand();
    const Scratch scratch = f.engine.s;
    pass(kLast - 1);
    if (pass(kLast)) return;
    f.engine.restoreCommand(before);
    f.engine.s = scratch;
  }
  for (int t = 0; t <= kLast; ++t) pass(t);
}

}  // namespace pm
