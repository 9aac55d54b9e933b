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

// Titles of the case numbers 0 … 7 (each starts with its own blank).
constexpr std::array<std::u32string_view, 8> kCaseTitles = {
    U" Kurbelschwinge",
    U" Kurbelschwinge mit Antrieb der Schwinge",
    U" Doppelschwinge mit umlaufender Koppel",
    U" Doppelkurbel",
    U" Doppelschwinge mit Durchschlag",
    U" Doppelschwinge mit zweiteiliger Koppelkurve",
    U" Doppelschwinge mit zweiteiliger Koppelkurve und umlauffähiger Koppel",
    U" Kurbelschwinge mit Antrieb der Schwinge",
};

// Types whose guide is a practically infinite link carry their own title and case 8.
std::u32string_view sliderTitle(double type) {
  if (type == 6) return U"Kurbelschleife";
  if (type == 7) return U"Schubschleife";
  if (type == 8) return U"Schubkurbel";
  return {};
}

int& kks(Form1& f) { return f.scratch().kks; }

// The step of one drive request in radians (val[i] degrees per step).
double stepAngle(Form1& f) { return f.st.qgw * f.reg().valOf(U'i') * kDeg; }

}  // namespace

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
  const double a = std::fabs(r.lenOf(U'a'));
  const double b = std::fabs(r.lenOf(U'b'));
  const double c = std::fabs(r.lenOf(U'c'));
  const double d = std::fabs(r.lenOf(U'd'));
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
  // qgw is a persistent request, not a one-shot: it is read here and left as it
  // is, so every rebuild after one Space steps on until a key or a routine that
  // sets qgw changes it (menu rebuilds, group 5's step-by-step construction and
  // the demonstration depend on this).
  f.st.wxx += stepAngle(f);
  r.angOf(U'a') = normalisedCrankAngle(r.valOf(U'c') * kDeg - f.st.wxx);
  f.run(U":25X(a,b):29d=(d):22Y=X+d:22A=X+a:42SB=b+AY+c");
  if (kks(f) != 0) {
    // A dead position was passed: back to the last angle, same branch of B, and
    // the drive turns the other way from the next rebuild on.
    f.st.wxx -= stepAngle(f);
    r.angOf(U'a') = r.valOf(U'c') * kDeg - f.st.wxx;
    f.run(U":22A=X+a:42SB=b+AY+c");
    f.st.qzw = -f.st.qzw;
    if (shortForm) return kks(f) == 0;
    if (kks(f) != 0) return false;
  }
  if (shortForm) return true;
  f.run(U":42SC=e+AB+f:41P=XA*YB");
  if (f.st.mn0 == 9) f.run(U":42SD=g+AB+h");
  return true;
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
  return true;
}

void fullRevolutionRun(Form1& f) {
  revolutionFrames(f, [] { return false; });
}

void revolutionFrames(Form1& f, const std::function<bool()>& stop) {
  // The class is taken from the lengths as they are now, so that a run started
  // from the key table (before the presentation has classified the loop) obeys
  // the same rule as one started by the keys "1" and "2".
  if (classifyLoop(f).turnClass > 1) return;
  for (int frame = 0; frame < kRevolutionFrames; ++frame) {
    const double group = f.st.mn1;
    if (group == 8) {
      f.Form_KeyDown(kKeyRebuild, 0);
      if (f.ending) return;
    }
    f.host.processEvents();
    if (f.ending || stop()) return;
    // A key handled meanwhile ran as a command with its own register file;
    // the run goes on with the parameters as they are now (zoom, type, ...).
    loadParameters(f);
    f.canvas.setTextColour(fixedColour(0));
    if (f.st.mn1 != 8) {
      f.canvas.clear();
      if (f.st.mn1 >= 1 && f.st.mn1 <= 7) runGroup(f, static_cast<int>(f.st.mn1));
    }
    // Every frame carries the emblem, as the picture at the end of a command does.
    f.logo("840055");
    f.canvas.setFont(f.canvas.fontName(), 10);
    f.host.frameReady();
    if (f.ending) return;
  }
}

}  // namespace pm
