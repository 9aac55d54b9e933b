// Group 5, " Koppelkurve        ": the coupler curve, the stretched positions,
// the links of the three four-bars that draw the same coupler curve (Roberts'
// cognates: the mechanism itself, the one on the pivots X and Z and the one on
// Y and Z) and a step-by-step construction paged with the text pages.
#include <array>

#include "script/vector.h"
#include "topics/topic_rows.h"
#include "topics/topics.h"
#include "topics/trace_loops.h"

namespace pm {

namespace {

// Construction points of the stretched positions: 2 and 4 are A and B moved
// outwards along the coupler line by the crank and the rocker length, 3 and 5
// are C moved by the same distances in the same directions.
constexpr std::u32string_view kStretchPoints = U":262=A+AX|AB:264=B+YB|BA:263=C+AX|2A:265=C+YB|4B";

// A construction that runs the drive step a second time within one rebuild
// finds the step request taken by the first: the crank advances only once per
// rebuild, and the sense of motion stays for the next one.
bool secondDriveStep(Form1& f) { return driveStep(f); }

// K1: the stretched positions with the similar triangles 6-2-4, 7-C-5, 8-3-C
// and the third pivot Z.
void stretchedPositions(Form1& f) {
  if (!secondDriveStep(f)) return;
  topic_rows::runScripts(f, std::array<std::u32string_view, 5>{
                                kStretchPoints,
                                U":46624~CAB:467C5~CAB:4683C~CAB:46ZYX~CBA",
                                U":66-m1AXZYBYX:66-j1CA2363C8CB424675C754:",
                                U":61(n36CAB:61(n36ZXY:61(l36CBA:61(l36ZYX:66-a1XYZX",
                                U":61(m11XA22:61(m11YB44:65.j1372345678AB:65.m15C:69oa15Z",
                            });
}

// K2: the links of the three four-bars.
void links(Form1& f) {
  if (!secondDriveStep(f)) return;
  topic_rows::runScripts(f, std::array<std::u32string_view, 6>{
                                kStretchPoints,
                                U":46624~CAB:467C5~CAB:4683C~CAB:46ZXY~CAB",
                                U":66-d52ABCAB4:62°d15AB:63*g5B:63*dXA",
                                U":66-k5683C832:62°k15382:65.g157",
                                U":66-h5457C576:62°h156457:62°d13C:65.m15C",
                                U":66-m1AXZYXABY:66-a1XYZX:69oa15ZXY",
                            });
}

// K3: the mechanism itself.
void mechanismLinks(Form1& f) {
  f.run(U":66-d5XABCABY:62°d150AB:63*g5YX:63*d8XA:62°d13C:65.m15C:");
}

// K4: the first cognate on the pivots X and Z (X-I parallel and equal to A-C).
void cognateXZ(Form1& f) {
  f.run(U":46ZYX~CBA:21I=X+CA:46JCI~CBA");
  f.run(U":66-k5ZJIJCIX:62°k15IJ:63*g5ZX:63*g8XZ:62°k13C:65.m15C:");
}

// K5: the second cognate on the pivots Y and Z (Y-M parallel and equal to B-C).
void cognateYZ(Form1& f) {
  f.run(U":46ZYX~CBA:66-p5ZZ:21M=Y+CB:46LMC~CBA");
  f.run(U":66-h5YMCLMLZ:62°h15LM:62°h13C:65.m15C:63*g5ZL:63*g5YZ");
}

void couplerCurveTopic(Form1& f) {
  if (standardPicture(f)) traces::couplerCurve(f);
}

void stretchTopic(Form1& f) {
  if (standardPicture(f)) stretchedPositions(f);
}

void linksTopic(Form1& f) {
  if (!standardPicture(f)) return;
  links(f);
  stretchedPositions(f);
}

// The drive step alone, showing the status where the four-bar cannot close.
bool assembled(Form1& f) {
  if (driveStep(f)) return true;
  traces::showLoopStatus(f);
  return false;
}

void robertsAll(Form1& f) {
  if (!assembled(f)) return;
  mechanismLinks(f);
  cognateXZ(f);
  cognateYZ(f);
}

void robertsXZ(Form1& f) {
  if (!assembled(f)) return;
  cognateXZ(f);
  traces::couplerCurve(f);
}

void robertsYZ(Form1& f) {
  if (!assembled(f)) return;
  cognateYZ(f);
  traces::couplerCurve(f);
}

// --- step-by-step construction ---------------------------------------------

// A line of the construction, drawn while first < mn5 < last.
struct ConstructionLine {
  int first;
  int last;
  std::u32string_view script;
};

constexpr std::array<ConstructionLine, 9> kConstructionLines = {{
    {1, 8, U":66-j1A2::69oj132"},
    {2, 8, U":66-j1C32:69oj133"},
    {3, 8, U":66-j14B:66-j1C54:69oj1345"},  // labels 4 and 5 (4 stood as 0, at the origin)
    {4, 8, U":66-j12642:69oj132642"},
    {5, 10, U":66-j1675C754:69oj137234567"},
    {6, 9, U":66-j168C3832:69oj132345678"},
    {7, 11, U":66-d52ABCAB4:62°d15AB:62°d13C:63*g54B:63*d82A"},
    {8, 12, U":66-k5683C832:62°k1538:63*g568:63*g823:62°k13C"},
    {9, 13, U":66-h5457C576:62°h1557:63*g567:63*g545:62°h13C"},
}};

// The page mn5 is the step: each page adds a line of the construction of the
// cognates, from the stretched positions to the three four-bars; from page 15
// on the crank turns with every rebuild and the three four-bars move together.
void stepByStep(Form1& f) {
  const int page = topic_rows::topicNumber(f.st.mn5);
  // Before the last page the crank stands still whatever key was pressed;
  // from page 15 on every rebuild turns it one step (the drive step takes the
  // request, so the standard picture below does not step again).
  f.cmd.stepAsked = page >= 15;
  const bool assembled = driveStep(f);
  if (!assembled) {
    standardPicture(f);  // shows the status number of the loop
    return;
  }
  f.run(kStretchPoints);
  f.run(U":46624~CAB:467C5~CAB:4683C~CAB");
  f.run(U":46ZYX~CBA");

  if (page >= 0 && page < 8 && !standardPicture(f)) return;
  for (const ConstructionLine& line : kConstructionLines) {
    if (line.first < page && page < line.last) f.run(line.script);
  }
  if (page > 10) {
    // The mechanism is drawn without disturbing the crank angle register.
    f.st.qww = f.reg().angOf(U'a');
    mechanismLinks(f);
    f.reg().angOf(U'a') = f.st.qww;
    f.run(U":66-j1XZYX:69oa15Z");  // the frame triangle, with the third pivot named
  }
  if (page > 11) cognateXZ(f);
  if (page > 12) cognateYZ(f);
  if (page > 13) traces::couplerCurve(f);
  if (page > 14) f.st.qgw = 1;
}

using Topic = topic_rows::FunctionTopic;

constexpr std::array<Topic, 7> kTopics = {{
    {U" Koppelkurve        ", couplerCurveTopic},
    {U" Streckung          ", stretchTopic},
    {U" Glieder            ", linksTopic},
    {U" Roberts alle       ", robertsAll},
    {U" Roberts XZ         ", robertsXZ},
    {U" Roberts YZ         ", robertsYZ},
    {U" Konstruktion       ", stepByStep},
}};

}  // namespace

void group5(Form1& f) {
  topic_rows::writeTopicNames(f, 5, U" Koppelkurve        ", kTopics);

  const int topic = topic_rows::topicNumber(f.st.mn2);
  if (topic >= 1 && topic <= static_cast<int>(kTopics.size())) kTopics[topic - 1].draw(f);
  topicHeader(f);
}

}  // namespace pm
