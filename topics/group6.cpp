// Group 6, " Polwechselgeschwindigkeit": the centre of curvature of the coupler
// point with its evolute, the pole-change velocity (the velocity with which the
// instantaneous centre runs along the centrodes), its components, the
// acceleration of the pole point and two constructions of the inflection pole.
#include <array>
#include <cmath>

#include "script/vector.h"
#include "topics/curvature_curves.h"
#include "topics/topic_rows.h"
#include "topics/topics.h"
#include "topics/trace_loops.h"

namespace pm {

namespace {

// P1: the pole-change velocity K. The velocity tips a and b are moved onto the
// pole (E, F); their lines from X and Y meet the parallels in G and H; the
// perpendiculars at G and H meet in K.
void poleChangeVelocity(Form1& f) {
  velocityBase(f);
  f.run(U":27EP|Aa:27FP|Bb:41G=EPxXa:41H=FPxYb:");
  f.run(U":23I=.+GP:23J=.+HP:41K=IGxJH:");
}

// P3: the arrow of the pole-change velocity at P.
void poleChangeArrow(Form1& f) { f.run(U":66-j1XAPBY:67>j9PK:65.a14P"); }

// P2: the drawing of the construction P1, then P3.
void poleChangeConstruction(Form1& f) {
  topic_rows::runScripts(f, std::array<std::u32string_view, 5>{
                                U":66-j1XAPBY:67>k6Aa:67>k6Bb:",
                                U":66-j1XaG:66-j1YbH:67>k6PG:67>k6PH:66-j1GKH",
                                U":68'm27Aa:68'm27PG:68'k27Bb:68'k27PH",
                                U":61(m14PGK:61)m15PGK:61(m14PHK:61)m15PHK",
                                U":67>h9PK:69oa14P",
                            });
  poleChangeArrow(f);
}

// P4: the pole-change velocity split along and across the pole ray of A.
void poleChangeComponents(Form1& f) {
  f.run(U":46ÈPK~aAP:23É=.+PK:41Ê=PÉxÈK:");
  f.run(U":67>k6Aa:66-j1aP:66-j1KÊ:67>m6PÊ:61(k38aPA:61(k38PKÊ");
  f.run(U":61(j14KPÊ:61)j15KPÊ:");
}

// The inflection pole W from the velocity tips (with the velocity base).
void inflectionPoleFromVelocities(Form1& f) {
  velocityBase(f);
  f.run(U":27EP|Aa:27FP|Bb:41G=EPxXa:41H=FPxYb:");
  f.run(U":23I=.+GP:23J=.+HP:41K=IGxJH:");
  f.run(U"23Ì=.+KP:23Í=.+PK:46ÎÍP~aAP:41Ò=KÌxPÎ:23Ó=.+ÒK:41Ô=PÍxÒÓ:36W=Ô");
}

// P5: the inflection pole V from the acceleration Ç of the pole point and the
// pole-change velocity K. Ç − P is perpendicular to K − P and |PK|² = |PÇ|·|PV|,
// so V lies at the foot of the right angle at K. The pole acceleration points
// from P to the inflection pole; the right triangle is therefore built on Ë, Ç
// mirrored through P, which puts V on the side of Ç.
void inflectionPoleFromAcceleration(Form1& f) {
  f.run(U":67>m6PÇ");
  poleChangeVelocity(f);
  poleChangeArrow(f);
  inflectionCircle(f);
  f.run(U":21Ë=P+PÇ:23L=.+KË:41V=ËPxKL");
  f.run(U":61(m14ËKV:61)m15ËKV:65°a14ÇËK:66-j1ÇË:66-j1ËKV:69°a14V");
}

// P6: the inflection pole from the pole-change velocity, then P5 and the
// circle on the diameter V-P.
void inflectionPoleFromPoleChange(Form1& f) {
  inflectionPoleFromVelocities(f);
  poleChangeArrow(f);
  topic_rows::runScripts(f, std::array<std::u32string_view, 3>{
                                U":66-j1KÒÔPÒ:66-j1XAPBY:67>k6Aa:67<k9ÔÒ:66-j1aP",
                                U":61(k27APa:61(k27ÒPÔ:61(m14KPÔ:61)m15KPÔ:68'm27KÒ:68'm27PÔ",
                                U":68'l27KP:68'l27ÒÔ",
                            });
  inflectionPoleFromAcceleration(f);
  f.run(U":49VM=MP:61(m11VMVV");
}

// Whether two points of the construction coincide up to rounding, measured
// against the size of the mechanism.
bool coincide(Form1& f, char32_t p, char32_t q) {
  const Point a = f.reg().point(p), b = f.reg().point(q);
  const double size = std::abs(f.reg().lenOf(U'a')) + std::abs(f.reg().lenOf(U'b'));
  return std::hypot(a.x - b.x, a.y - b.y) <= 1e-9 * (1 + size);
}

// One branch of the evolute: the centre of curvature J of C (Bobillier) at the
// crank angles 4k°, for k running from `from` to `to`.
void evoluteBranch(Form1& f, int from, int to) {
  traces::PiecewiseTrace trace(f);
  const int direction = from <= to ? 1 : -1;
  for (int k = from, step = 0;; k += direction, ++step) {
    f.scratch().kks = 0;
    f.reg().angOf(U'a') = 4 * k * kDeg;
    // The coupler point is placed only where B could be: C built on a B left
    // over from another position would put a false point on the curve.
    bool closed = traces::runJoints(f, U":25X(a,b):29d=(d):22Y=X+d:22A=X+a:42SB=b+AY+c") &&
                  traces::runJoints(f, U":42SC=e+AB+f");
    bool centre = closed;
    if (closed) {
      f.run(U":41P=XA*BY:41D=XY*AB:46HPC~DPA:41I=BC*PH:41J=PC*IY");
      // With A on the frame line the pole is Y and D is A: the triangle D-P-A
      // collapses and the rocker pair gives no centre. The crank pair gives the
      // same centre there (its triangle D-P-B collapses only with B on the
      // frame line); with both on it the position has no centre to draw and
      // the trace goes on from the position before.
      if (coincide(f, U'D', U'A')) {
        centre = !coincide(f, U'D', U'B');
        if (centre) f.run(U":41P=XA*BY:41D=XY*AB:46EPC~DPB:41F=EPxAC:41J=FXxPC");
      }
    }
    if (centre || !closed) trace.add(step, closed, U":65.c12J:64~c1-J", U":65.c12J:64~o1-J");
    if (k == to) break;
  }
}

// The evolute: the locus of the centres of curvature of the path of C; for a
// crank that does not turn fully, on both assembly branches.
void evolute(Form1& f) {
  traces::KeepShownPosition keep(f);
  evoluteBranch(f, 0, 89);
  if (f.cmd.turnClass == 2 || f.cmd.turnClass == 3) {
    f.reg().lenOf(U'c') = -f.reg().lenOf(U'c');
    evoluteBranch(f, 89, 0);
  }
}

void centreOfCurvature(Form1& f) {
  f.run(U":66-n1JC:69on15J");
  traces::couplerCurve(f);
}

void evoluteTopic(Form1& f) {
  centreOfCurvature(f);
  evolute(f);
}

void constructionTopic(Form1& f) {
  poleChangeVelocity(f);
  poleChangeConstruction(f);
}

void poleChangeTopic(Form1& f) {
  poleChangeVelocity(f);
  poleChangeArrow(f);
  poleChangeComponents(f);
}

void poleAccelerationTopic(Form1& f) {
  f.run(U":67>m6PÇ");
  poleChangeVelocity(f);
  poleChangeArrow(f);
}

using Topic = topic_rows::FunctionTopic;

constexpr std::array<Topic, 7> kTopics = {{
    {U" Kümmungsmittelpunkt  ", centreOfCurvature},
    {U" Evolute              ", evoluteTopic},
    {U" Konstruktion Ubd.    ", constructionTopic},
    {U" Polwechselgeschw.    ", poleChangeTopic},
    {U" Polbeschleunigung    ", poleAccelerationTopic},
    {U" Wendepol             ", inflectionPoleFromAcceleration},
    {U" Wendepol             ", inflectionPoleFromPoleChange},
}};

}  // namespace

void group6(Form1& f) {
  topic_rows::writeTopicNames(f, 6, U" Polwechselgeschwindigkeit", kTopics);

  // Common part: the mechanism, its velocities and accelerations and the
  // centre of curvature J of C. Without a mechanism there is nothing to build on.
  if (standardPicture(f)) {
    velocityBase(f);
    f.run(U":41P=XA*BY:41D=XY*AB:46EPC~DPB:41F=EPxAC:41J=FXxPC");
    const int topic = topic_rows::topicNumber(f.st.mn2);
    if (topic >= 1 && topic <= static_cast<int>(kTopics.size())) kTopics[topic - 1].draw(f);
  }
  topicHeader(f);
}

}  // namespace pm
