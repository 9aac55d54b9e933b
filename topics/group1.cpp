// Group 1, " Rautenwerk           ": the mechanism, its instantaneous centre,
// the fixed and the moving centrode and the coupler curve.
#include <array>
#include <numbers>

#include "topics/topic_rows.h"
#include "topics/topics.h"
#include "topics/trace_loops.h"

namespace pm {

namespace {

using topic_rows::Scripts;

constexpr double kDegree = std::numbers::pi / 180;

// Places the four-bar at the crank angle ang[a] without touching the drive.
constexpr std::u32string_view kAssembly = U":25X(a,b):29d=(d):22Y=X+d:22A=X+a:42SB=b+AY+c";

// Lines X-A-P-B-Y through the pole, labels, the pole marked.
constexpr std::u32string_view kPoleLines = U":66-b1XAPBY:65.b15ABXY:69ob15P";

int kks(Form1& f) { return f.scratch().kks; }

void mechanism(Form1& f) { standardPicture(f); }

// Without an assembled mechanism there is no pole to draw.
void poleConfigurations(Form1& f) {
  if (!standardPicture(f)) return;
  f.run(U":41D=XY*AB:66-b1XAPBY:66-b1ABDXY:69ob15PDABXY");
}

void instantaneousCentre(Form1& f) {
  if (!standardPicture(f)) return;
  f.run(kPoleLines);
}

// The poles of all closing crank positions, one full turn in steps of 4°.
// The drive angle is not touched; only ang[a] and the points change. The pole
// of the shown position only where the loop closes there; false otherwise.
bool drawFixedCentrode(Form1& f) {
  const bool closed = standardPicture(f);
  f.run(U":36S=A:36T=B");  // the coupler's reference position
  if (closed) f.run(kPoleLines);
  for (int k = 0; k <= 360; k += 4) {
    f.cmd.traceCounter = k;
    f.reg().angOf(U'a') = k * kDegree;
    f.run(kAssembly);
    if (kks(f) == 0) f.run(U":42SC=e+AB+f:41P=XA*YB:64~b1-P:65.b21P");
  }
  return closed;
}

void fixedCentrode(Form1& f) { drawFixedCentrode(f); }

// The same poles carried into the coupler's reference position S-T: the
// moving centrode, rolling on the fixed one.
void movingCentrode(Form1& f) {
  // The coupler has no reference position where the loop does not close.
  if (!drawFixedCentrode(f)) return;
  for (int k = 0; k <= 360; k += 4) {
    f.cmd.traceCounter = k;
    f.reg().angOf(U'a') = k * kDegree;
    f.run(kAssembly);
    if (kks(f) == 0) f.run(U":41P=XA*BY:46GST~PAB:65.g214G:64~g1-G");
  }
}

// One branch of the coupler curve: 91 crank positions 4° apart from the zero
// of the crank angle. After positions where the loop does not close, the next
// closing one starts a new piece in the break colour, not joined to the last
// point before the gap.
void couplerBranch(Form1& f, std::u32string_view assembly, std::u32string_view next,
                   std::u32string_view newPiece) {
  traces::PiecewiseTrace curve(f);
  for (int k = 0; k <= 90; ++k) {
    f.cmd.traceCounter = k;
    f.reg().angOf(U'a') = (f.reg().valOf(U'c') + 4 * k) * kDegree;
    f.run(assembly);
    curve.add(k, kks(f) == 0, next, newPiece);
  }
}

void couplerCurve(Form1& f) {
  standardPicture(f);
  f.run(U":42SB=b+AY+c");
  if (kks(f) != 0) {
    const OnLayer note(f.canvas, Layer::Note);
    f.setPosition(20, 600);
    f.printNumber(kks(f), true);
    return;
  }
  f.run(U":42SC=e+AB+f");
  if (kks(f) != 0) return;

  const double drive = f.st.wxx;
  couplerBranch(f, U":25X(a,b):29d=(d):22Y=X+d:22A=X+a:42SB=b+AY+c:",
                U":42SC=e+AB+f:64~b1-C:65.b12C", U":42SC=e+AB+f:65.o12C:64~o1-C");
  if (f.cmd.turnClass != 0) {
    // The other assembly branch, in its own colours.
    double& rocker = f.reg().lenOf(U'c');
    rocker = -rocker;
    couplerBranch(f, kAssembly, U":42SC=e+AB+f:64~j1-C:65.j12C", U":42SC=e+AB+f:65.g12C:64~o1-C");
    rocker = -rocker;
  }
  f.st.wxx = drive;
}

using Topic = topic_rows::FunctionTopic;

constexpr std::array<Topic, 6> kTopics = {{
    {U" Getriebe             ", mechanism},
    {U" Polkonfigurationen   ", poleConfigurations},
    {U" Momentanpol          ", instantaneousCentre},
    {U" ruhende Polbahn      ", fixedCentrode},
    {U" bewegte Polbahn      ", movingCentrode},
    {U" Koppelkurve          ", couplerCurve},
}};

}  // namespace

void group1(Form1& f) {
  topic_rows::writeTopicNames(f, 1, U" Rautenwerk           ", kTopics);

  const int topic = topic_rows::topicNumber(f.st.mn2);
  if (topic >= 1 && topic <= static_cast<int>(kTopics.size())) kTopics[topic - 1].draw(f);
  topicHeader(f);
}

}  // namespace pm
