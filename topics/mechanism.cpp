// The four-bar loop X-A-B-Y with its coupler point C, as every mechanism type
// uses it: case number and title, the drive step with its reversal at dead
// positions, the standard picture and the full-revolution run.
#include <array>
#include <cmath>
#include <string_view>

#include "draw/colour_tables.h"
#include "script/vector.h"
#include "shell/form1.h"
#include "topics/mechanism_detail.h"
#include "topics/topics.h"

namespace pm {

namespace {

constexpr double kTwoPi = 2 * kPi;

// Titles of the case numbers 0 … 7 (each starts with its own blank). The
// shortest link turns fully in a Grashof chain: the crank (0), the frame (3),
// the coupler (6) or the rocker (5, a crank-rocker driven at its rocker).
// Otherwise no link turns fully, and the case tells the longest link: the
// frame (4), the coupler (1), the rocker (2) or the crank (7).
constexpr std::array<std::u32string_view, 8> kCaseTitles = {
    U" Kurbelschwinge",
    U" Doppelschwinge ohne umlauffähiges Glied, Koppel am längsten",
    U" Doppelschwinge ohne umlauffähiges Glied, Schwinge am längsten",
    U" Doppelkurbel",
    U" Doppelschwinge mit Durchschlag",
    U" Kurbelschwinge mit Antrieb der Schwinge",
    U" Doppelschwinge mit zweiteiliger Koppelkurve und umlauffähiger Koppel",
    U" Doppelschwinge ohne umlauffähiges Glied, Kurbel am längsten",
};

int& kks(Form1& f) { return f.scratch().kks; }

}  // namespace

std::u32string_view sliderTitle(double type) {
  if (type == 6) return U"Kurbelschleife";
  if (type == 7) return U"Schubschleife";
  if (type == 8) return U"Schubkurbel";
  return {};
}

void noteShownMechanism(Form1& f) {
  const Registers& r = f.reg();
  ShownMechanism& s = f.cmd.shown;
  s.taken = true;
  for (int k = 0; k < static_cast<int>(s.lengths.size()); ++k) s.lengths[k] = r.len[code(U'a') + k];
  s.pivotX = r.val[code(U'a')];
  s.pivotY = r.val[code(U'b')];
  s.frameAngle = r.val[code(U'd')];
  s.zoom = f.st.qzz;
  s.sense = f.st.qgw;
  s.type = f.st.mn0;
  s.group = f.st.mn1;
  s.topic = f.st.mn2;
  // After a dead position the angle is recomputed without being brought into
  // range; the read-out shows it in 0 … 360 degrees.
  s.crankAngle = normalisedCrankAngle(r.ang[code(U'a')]);
  for (int k = 1; k < static_cast<int>(s.labelX.size()); ++k) {
    s.labelX[k] = r.len[k + Registers::kLabelOffset];
    s.labelY[k] = r.ang[k + Registers::kLabelOffset];
  }
}

double normalisedCrankAngle(double a) {
  if (!std::isfinite(a)) return 0;
  // A drive angle that has run up over very many turns is first brought near
  // the range, so that the subtraction below ends quickly.
  if (std::fabs(a) > 64 * kTwoPi) a = std::fmod(a, kTwoPi);
  while (a > kTwoPi) a -= kTwoPi;
  while (a < 0) a += kTwoPi;
  return a;
}

std::u32string_view caseTitle(int loopCase) {
  if (loopCase < 0 || loopCase >= static_cast<int>(kCaseTitles.size())) return {};
  return kCaseTitles[static_cast<std::size_t>(loopCase)];
}

LoopClass classifyLoop(Form1& f) {
  Registers& r = f.reg();
  return classifyLengths(r.lenOf(U'a'), r.lenOf(U'b'), r.lenOf(U'c'), r.lenOf(U'd'));
}

LoopClass classifyLengths(double a, double b, double c, double d) {
  a = std::fabs(a);
  b = std::fabs(b);
  c = std::fabs(c);
  d = std::fabs(d);
  LoopClass k;
  if (a + b > c + d) k.loopCase += 1;
  if (a + c > b + d) k.loopCase += 2;
  if (a + d > b + c) k.loopCase += 4;
  k.turnClass = 2;
  if (k.loopCase == 0) k.turnClass = 0;
  if (k.loopCase == 3) k.turnClass = 1;
  if (k.loopCase > 3) k.turnClass = 3;
  return k;
}

void caseAndTurnClass(Form1& f) {
  const LoopClass k = classifyLoop(f);
  f.cmd.loopCase = k.loopCase;
  f.cmd.turnClass = k.turnClass;
}

void printTitle(Form1& f) {
  std::u32string_view title = sliderTitle(f.st.mn0);
  if (!title.empty()) {
    f.cmd.loopCase = 8;
  } else {
    title = caseTitle(f.cmd.loopCase);
  }
  f.canvas.setFont("Arial", 11);
  f.setPosition(20, 690);
  f.printNumber(f.cmd.loopCase);
  f.print(title, true);
}

bool driveStep(Form1& f, bool shortForm) {
  Registers& r = f.reg();
  // The crank turns only in a command that asks for a step, and only once in
  // it; qgw is the sense of that step and stays for the commands after it.
  const double step = f.cmd.takeStep() ? f.st.qgw * r.valOf(U'i') * kDeg : 0;
  f.st.wxx += step;
  r.angOf(U'a') = normalisedCrankAngle(r.valOf(U'c') * kDeg - f.st.wxx);
  f.run(U":25X(a,b):29d=(d):22Y=X+d:22A=X+a:42SB=b+AY+c");
  bool closed = true;
  if (kks(f) != 0) {
    // A dead position was passed: back to the last angle, same branch of B, and
    // the drive turns the other way from the next rebuild on.
    f.st.wxx -= step;
    r.angOf(U'a') = r.valOf(U'c') * kDeg - f.st.wxx;
    f.run(U":22A=X+a:42SB=b+AY+c");
    f.st.qzw = -f.st.qzw;
    closed = kks(f) == 0;
  }
  if (closed && !shortForm) {
    f.run(U":42SC=e+AB+f:41P=XA*YB");
    if (f.st.mn0 == 9) f.run(U":42SD=g+AB+h");
  }
  noteShownMechanism(f);
  return closed;
}

bool standardPicture(Form1& f) {
  if (f.st.mn0 == 9) synthesisTaskDisplay(f);
  driveStep(f);
  f.run(U":42SB=b+AY+c");
  if (kks(f) != 0) {
    f.setPosition(20, 600);
    f.printNumber(kks(f), true);
    return false;
  }
  f.run(U":66-d5XY:66-m5AX:66-n5YB:66-g5AB:62dn15Y:63*m8XA:62mg15A:62ng15B");
  f.run(U":42SC=e+AB+f");
  if (kks(f) != 0) return false;
  f.run(U":66-g5BCAB:62°g13C:62mg15A:62ng15B:65.m15C");
  if (f.st.mn0 == 9) f.run(U":66-a2CD");
  if (f.st.qer == 0) {
    if (f.st.mn0 == 6 || f.st.mn0 == 7) f.run(U"38l=a+d:39E=l-AY:66-g5AE");
    if (f.st.mn0 == 8) f.run(U"38l=a+b:39E=l-XB:66-d5XE");
  }
  noteShownMechanism(f);  // the links as drawn, with the letters of B, C
  return true;
}

void fullRevolutionRun(Form1& f) {
  revolutionFrames(f, true, [] { return false; });
}

void revolutionFrames(Form1& f, bool turning, const std::function<bool()>& stop) {
  // The class is taken from the lengths as they are now, so that a run started
  // from the key table (before the presentation has classified the loop) obeys
  // the same rule as one started by the keys "1" and "2".
  if (classifyLoop(f).turnClass > 1) return;
  for (int frame = 0; frame < kRevolutionFrames; ++frame) {
    const double group = f.st.mn1;
    if (group == 8) {
      f.rebuildAsFrame(turning);
      if (f.ending) return;
    }
    f.host.processEvents();
    if (f.stopping) {
      // Stopped by a key that took no command of its own: the surface as a
      // command leaves it, for the picture that follows.
      f.canvas.setTextColour(fixedColour(0));
      return;
    }
    if (f.ending || stop()) return;
    // A key handled meanwhile ran as a command with its own register file;
    // the run goes on with the parameters as they are now (zoom, type, ...).
    loadParameters(f);
    // Each frame shows the mechanism as it is now: a key or the demonstration
    // may have changed its type or lengths since the frame before.
    caseAndTurnClass(f);
    f.canvas.setTextColour(fixedColour(0));
    if (f.st.mn1 != 8) {
      f.canvas.clear();
      f.cmd.forgetPicture();
      f.cmd.stepAsked = turning;
      if (f.st.mn1 >= 1 && f.st.mn1 <= 7) runGroup(f, static_cast<int>(f.st.mn1));
      f.cmd.stepAsked = false;
    }
    // Every frame carries the emblem, as the picture at the end of a command does.
    f.logo("840055");
    f.canvas.setFont(f.canvas.fontName(), 10);
    f.runFrame = frame + 1;
    f.host.frameReady();
    f.runFrame = 0;
    if (f.ending) return;
  }
}

}  // namespace pm
