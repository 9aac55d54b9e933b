// Group 4, " Krümmungen           ": curvature of the coupler motion: the
// theorem of Bobillier, the centre of curvature of the coupler point, the
// inflection circle and the curves of equal path curvature.
#include <array>
#include <cmath>
#include <numbers>

#include "topics/curvature_curves.h"
#include "topics/topic_rows.h"
#include "topics/topics.h"

namespace pm {

namespace {

// Centre of curvature J of the path of C by Bobillier: D on the frame line and
// the coupler line, triangle E-P-C similar to D-P-B, F on A-C, J on P-C.
constexpr std::u32string_view kCentreOfCurvature =
    U":41P=XA*BY:41D=XY*AB:46EPC~DPB:41F=EPxAC:41J=FXxPC";

void bobillier(Form1& f) {
  f.run(U":66-j1DP:46TPA~BPD:61(n28DPA:61(n28BPT:66-j1PT:69oj11T");
  f.run(U":66-b1XAPBY:65.b15ABXY:69ob15P");
  f.run(U":41D=XY*AB:66-j1BADXY:69oe14D:65.j15XYAB");
}

void centreOfCurvature(Form1& f) {
  f.run(U":66-d1DAB:66-d1DXY:66-d1FCA:66-d1PCJ:66-d1PBY:66-d1XYPX:66-d1DPF");
  f.run(U":66-d1XFJ:65.j15ABXY:69oj15DPF:61(n28DPB:61(n27FPC");
  f.run(U":66-n1JC:69on15J");
}

void accelerationPole(Form1& f) {
  inflectionCircle(f);
  f.run(U":69om14U");
}

// The number of directions of one curve loop of topic 5 (k = 0 … 90); the
// header shows the loop counter as it stands after the last loop.
constexpr int kDirections = 91;

// Curves of equal path curvature for eight radii d/8 … 16d, families G1, G2.
void equalCurvatureCurves(Form1& f) {
  inflectionCircle(f);
  f.run(U":28ü=PW");
  const double d = f.reg().lenOf(U'ü');
  const double gamma = f.reg().angOf(U'ü');
  // At the right-hand side below the emblem, where the acceleration topics
  // print their scale note: clear of the mechanism and of the text lines at
  // the lower left.
  {
    const OnLayer note(f.canvas, Layer::Note);
    f.setPosition(890, 130);
    f.printNumber(std::floor(d));
    f.printNumber(std::floor(gamma));
    f.printNumber(std::floor(gamma * 180 / std::numbers::pi), true);
  }
  for (int i = 1; i <= 8; ++i) {
    const double rho = d * std::pow(2.0, i - 4);
    traceEqualCurvature(f, CurvatureFamily::G1, rho, d, gamma, kDirections - 1);
    traceEqualCurvature(f, CurvatureFamily::G2, rho, d, gamma, kDirections - 1);
  }
  f.cmd.headerScratch = numberItem(kDirections);
}

// The four families of one radius ρ, with lastK = 90 (one turn) or 91.
void curvesOfOneRadius(Form1& f, double rho, double d, double gamma, int lastK) {
  for (CurvatureFamily family :
       {CurvatureFamily::G1, CurvatureFamily::G2, CurvatureFamily::G3, CurvatureFamily::G4})
    traceEqualCurvature(f, family, rho, d, gamma, lastK);
}

// The points whose paths have the curvature radius of the crank pin A.
void curvesOfCrankRadius(Form1& f) {
  inflectionCircle(f);
  f.run(U":28f=PW");
  const double d = f.reg().lenOf(U'f');
  const double gamma = f.reg().angOf(U'f');
  curvesOfOneRadius(f, f.reg().lenOf(U'a'), d, gamma, 90);
}

// The points whose paths have the curvature radius |CJ| of the coupler point.
void curvesOfCouplerRadius(Form1& f) {
  inflectionCircle(f);
  f.run(U":28f=PW");
  const double d = f.reg().lenOf(U'f');
  const double gamma = f.reg().angOf(U'f');
  f.run(kCentreOfCurvature);
  f.run(U":28f=CJ");
  curvesOfOneRadius(f, f.reg().lenOf(U'f'), d, gamma, 91);
  f.run(U":66-m1JC:65.m15C:69om15J");
}

using Topic = topic_rows::FunctionTopic;

constexpr std::array<Topic, 7> kTopics = {{
    {U" Satz von Bobellier   ", bobillier},
    {U" Krümmungsmittelpunkt ", centreOfCurvature},
    {U" Wendekreis           ", inflectionCircle},
    {U" Beschleunigungspol   ", accelerationPole},
    {U" Ro-Kurven            ", equalCurvatureCurves},
    {U" Ro-Kurven A          ", curvesOfCrankRadius},
    {U" Ro-Kurven C          ", curvesOfCouplerRadius},
}};

}  // namespace

void group4(Form1& f) {
  topic_rows::writeTopicNames(f, 4, U" Krümmungen           ", kTopics);

  // A loop that cannot close shows its status number and no construction:
  // the registers hold no assembled mechanism to construct on.
  if (!standardPicture(f)) {
    topicHeader(f);
    return;
  }
  velocityBase(f);
  f.run(kCentreOfCurvature);
  const int topic = topic_rows::topicNumber(f.st.mn2);
  if (topic >= 1 && topic <= static_cast<int>(kTopics.size())) kTopics[topic - 1].draw(f);
  topicHeader(f);
}

}  // namespace pm
