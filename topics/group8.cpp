// Group 8, " Siebengelenke         ": eight six-bar chains of Watt and
// Stephenson type built on the four-bar X-A-B-Y. Each adds a dyad I-F-H between
// two points of the chain (the coupler point C, the crank point D, the rocker
// point E or the third fixed pivot Z) and traces the coupler point G of its
// link F-H over 91 drive steps.
#include <array>
#include <string_view>

#include "script/vector.h"
#include "topics/mechanism_detail.h"
#include "topics/topic_rows.h"
#include "topics/topics.h"
#include "topics/trace_loops.h"

namespace pm {

namespace {

struct SixBarChain {
  std::u32string_view name;
  // Joints and drawings after the four-bar, in order. A script that computes
  // a joint begins with ":42S"; the chain stops where such a joint cannot be
  // placed, after the parts already drawn.
  std::array<std::u32string_view, 9> construction;
  // The joints of the chain at another crank position, and the copies I, H of
  // the two points the dyad hangs on.
  std::u32string_view pathJoints;
  std::u32string_view pathCopies;
};

const std::array<SixBarChain, 8> kChains = {{
    {U" Watt-dc               ",
     {U":42SZ=k+XY+l", U":66-j5XYZX:62jn15Y:62°j15Z:66-m5AX:63*m8XA:66-g5AB:62ng15B:62mg15A:",
      U":42SE=i+BY+j", U":66-n5EYBE:62jn15Y:62ng15B:62°n15E", U":36I=Z:36H=E", U":42SF=m+IH+n",
      U":66-l5IF:66-k5EF:62nk15E:62lk15F", U":42SG=o+FH+p",
      U":66-k5FHGF:62nk15E:62lk15F:62°k13G:65.m15G"},
     U":42SE=i+BY+j:42SZ=k+XY+l",
     U":36I=Z:36H=E"},
    {U" Watt-ba               ",
     {U":42SD=g+XA+h", U":66-m5AXDA:63*m8XA:62gm15A:62°m15D", U":42SC=e+AB+f",
      U":66-g5ABCA:62°g15C:62ng15B:62gm15A:", U":36I=C:36H=D", U":42SF=m+IH+n",
      U":66-l5CF:62gl15C:66-k5DF:62mk15D:62lk15F", U":42SG=o+FH+p",
      U":66-k5FHGF:62mk15D:62lk15F:62°k13G:65.m15G"},
     U":42SC=e+AB+f:42SD=g+XA+h",
     U":36I=C:36H=D"},
    {U" Watt-ab               ",
     {U":42SD=g+XA+h", U":42SC=e+AB+f",
      U":66-j5XY:66-m5AXDA:63*m8XA:66-n5YB:66-g5ABCA:62mg15A:62ng15B:62gl15C:62jn15Y:",
      U":36I=D:36H=C", U":42SF=m+IH+n", U":66-l5DF:62ml15D:66-k5CF:62gk15C:62lk15F",
      U":42SG=o+FH+p", U":66-k5FHGF:62gk15C:62lk15F:62°k13G:65.m15G"},
     U":42SD=g+XA+h:42SC=e+AB+f:",
     U":36H=C:36I=D"},
    {U" Watt-bc               ",
     {U":42SE=i+BY+j", U":42SC=e+AB+f",
      U":66-j5XY:66-m5AX:63*m8XA:66-n5YBEY:66-g5ABCA:62mg15A:62ng15B:62jn15Y:62°g15C:62°n15E",
      U":36I=C:36H=E", U":42SF=m+IH+n", U":66-l5EF:62nl15E:66-k5CF:62gl15C:62lk15F",
      U":42SG=o+FH+p", U"66-l5FC:66-k5FHGF:62lk15F:62gl15C:62nk15E:62°k13G:65.m15G"},
     U":42SC=e+AB+f:42SE=i+BY+j",
     U":36H=E:36I=C"},
    {U" Watt-cb               ",
     {U":42SE=i+BY+j", U":66-n5YBEY", U":42SC=e+AB+f",
      U":66-j5XY:66-m5AX:63*m8XA:66-g5ABCA:62mg15A:62ng15B:62jn15Y:62°g15C:62°n15E",
      U":36I=E:36H=C", U":42SF=m+IH+n", U":66-l5EF:66-k5CF:62nl15E:62gk15C:62lk15F",
      U":42SG=o+FH+p", U":66-k5FHGF:62lk15F:62gk15C:62jn15Y:62jn15Y:62°k13G:65.m15G"},
     U":42SC=e+AB+f:42SE=i+BY+j",
     U":36H=C:36I=E"},
    {U" St-ac                 ",
     {U":42SE=i+BY+j", U":66-n5YBEY:62ng15B:62°n15E:62jn15Y", U":42SD=g+XA+h",
      U":66-m5AXDA:63*m8XA:66-g5AB:62ng15B:62mg15A:62°m15D:", U":36H=E:36I=D", U":42SF=m+DE+n",
      U":66-l5FD:66-k5FEF:62ml15D:62nk15E:62lk15F", U":42SG=o+FH+p",
      U":66-k5FEGF:62lk15F:62nk15E:62°k13G:65.m15G"},
     U":42SD=g+XA+h:42SE=i+BY+j",
     U":36H=E:36I=D"},
    {U" St-ca                 ",
     {U":42SE=i+BY+j", U":42SD=g+XA+h",
      U":66-m5AXDA:66-n5YBEY:62jn15Y:63*m8XA:62mg15A:62ng15B:62°m15D:62°n15E:", U":36H=D:36I=E",
      U":42SF=m+IH+n", U":66-l5FE:62nl15E", U":42SG=o+FH+p",
      U":66-k5FHGF::62mk15D:62lk15F:62°k13G:65.m15G"},
     U":42SD=g+XA+h:42SE=i+BY+j",
     U":36H=D:36I=E"},
    {U" St-db                 ",
     {U":42SC=e+AB+f", U":66-g5ABCA:62mg15A:62ng15B:62°g15C:", U":42SZ=k+XY+l",
      U":66-j5XYZX:63*m8XA:66-n5YB:62gn15B:62jn15Y:62°j15Z:", U":36H=C:36I=Z", U":42SF=m+IH+n",
      U":66-l5IF:62jl15I:62nk15E:62lk15F:62jn15Y:", U":42SG=o+FH+p",
      U":66-k5FCGF:62gk15C:62nk15E:62lk15F:62°k13G:65.m15G"},
     U":42SC=e+AB+f:42SZ=k+XY+l",
     U":36H=C:36I=Z"},
}};

constexpr std::u32string_view kFourBar =
    U":66-j5XY:66-m5AX:63*m8XA:66-n5YB:62jn15Y:66-g5AB:62mg15A:62ng15B";

bool joint(Form1& f, std::u32string_view script) {
  f.run(script);
  return f.scratch().kks == 0;
}

// Builds and draws the chain in the current position; false where a joint
// cannot be placed (the picture then ends with the parts drawn so far).
bool buildChain(Form1& f, const SixBarChain& chain) {
  if (!driveStep(f, true) || !joint(f, U":42SB=b+AY+c")) {
    traces::showLoopStatus(f);
    return false;
  }
  f.run(kFourBar);
  for (std::u32string_view script : chain.construction) {
    if (script.empty()) continue;
    if (script.starts_with(U":42S")) {
      if (!joint(f, script)) return false;
    } else {
      f.run(script);
    }
  }
  return true;
}

// The path of G: 91 drive steps forward, each assembling the whole chain. A
// dead position of the four-bar reverses the drive for the rest of the loop.
// Afterwards the mechanism stands where it was shown and the drive keeps the
// sense it had: only the drive step of the shown position reverses it.
void traceCouplerPoint(Form1& f, const SixBarChain& chain) {
  traces::KeepShownPosition keep(f);
  const double stepping = f.st.qgw;
  const double driveSense = f.st.qzw;
  double& driveStepDegrees = f.reg().valOf(U'i');
  const double numberOffset = f.st.si;
  f.st.qgw = 1;
  traces::PiecewiseTrace trace(f);
  for (int k = 0; k <= 90; ++k) {
    const double driveSign = f.st.qzw;
    f.cmd.stepAsked = true;
    bool closed = driveStep(f, true) && f.scratch().kks == 0;
    // The loaded step is si + qzw·i; with qzw reversed it runs the other way.
    if (f.st.qzw != driveSign) driveStepDegrees = 2 * numberOffset - driveStepDegrees;
    closed = closed && traces::runJoints(f, chain.pathJoints);
    if (closed) {
      f.run(chain.pathCopies);
      closed = traces::runJoints(f, U":42SF=m+IH+n:42SG=o+FH+p:");
    }
    trace.add(k, closed, U":65.j12G:64~j1-G", U":65.j12G:64~o1-G");
  }
  f.st.qgw = stepping;
  f.st.qzw = driveSense;
}

}  // namespace

void group8(Form1& f) {
  topic_rows::writeTopicNames(f, 8, U" Siebengelenke         ", kChains);

  const int topic = topic_rows::topicNumber(f.st.mn2);
  if (topic >= 1 && topic <= static_cast<int>(kChains.size())) {
    const SixBarChain& chain = kChains[topic - 1];
    const bool built = buildChain(f, chain);
    noteShownMechanism(f);  // the links of the chain as drawn, with their letters
    if (built) traceCouplerPoint(f, chain);
  }
  topicHeader(f);
}

}  // namespace pm
