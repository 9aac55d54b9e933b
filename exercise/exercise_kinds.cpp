// The six kinds of exercise, one row each, and the lines each hint draws: the
// lines of the theorem that leads to the point, never the point itself.
#include "exercise/exercise_kinds.h"

#include <array>
#include <cmath>

#include "exercise/exercise_drawing.h"
#include "exercise/exercise_mechanism.h"
#include "shell/form1.h"

namespace pm {

namespace {

using kinematics::LoopAnswers;
using kinematics::Vec;
using namespace exercise_drawing;

// Aronhold–Kennedy: P lies on the lines X-A and Y-B.
void poleLines(Form1& f, const ExerciseFigure& fig) {
  const kinematics::LoopMotion& m = fig.motion;
  lineAcross(f, m.X, m.A.p, hintColour());
  lineAcross(f, m.Y, m.B.p, hintColour());
}

// Pac lies on the line Pab-Pbc (A-B) and on the line Pad-Pcd (X-Y).
void counterPoleLines(Form1& f, const ExerciseFigure& fig) {
  const kinematics::LoopMotion& m = fig.motion;
  lineAcross(f, m.A.p, m.B.p, hintColour());
  lineAcross(f, m.X, m.Y, hintColour());
}

// v_B is perpendicular to the pole ray P-B; the pole rays come from the lines
// X-A and Y-B.
void velocityLines(Form1& f, const ExerciseFigure& fig) {
  const kinematics::LoopMotion& m = fig.motion;
  poleLines(f, fig);
  lineAcross(f, m.B.p, m.B.p + kinematics::kQuarterTurn * (m.B.p - m.Y), hintColour());
}

// Bobillier: the collineation axis P-Pac and the pole tangent make equal
// angles with the pole rays P-A and P-B; W lies on the pole normal.
void inflectionLines(Form1& f, const ExerciseFigure& fig) {
  const LoopAnswers& a = fig.answers;
  poleLines(f, fig);
  counterPoleLines(f, fig);
  if (!a.pole || !a.counterPole || !a.inflectionPole) return;
  const Vec p = *a.pole, normal = (*a.inflectionPole - p) / std::abs(*a.inflectionPole - p);
  const Vec tangent = kinematics::kQuarterTurn * normal;
  lineAcross(f, p, *a.counterPole, hintColour());
  lineAcross(f, p, p + normal, hintColour());
  lineAcross(f, p, p + tangent, hintColour());
  // The pole normal n and the pole tangent t, named a little way out.
  label(f, p + 90.0 * normal + Vec(6, -6), hintColour(), U"n");
  label(f, p + 90.0 * tangent + Vec(6, -6), hintColour(), U"t");
  pointMark(f, p, hintColour(), U"P");
  pointMark(f, *a.counterPole, hintColour(), U"Pac");
}

// Bobillier for the points A and C: the collineation axis P-F of the pair
// makes the angle with P-C that P-Pac makes with P-B; F lies on A-C, and X-F
// cuts the pole ray P-C in the centre of curvature.
void curvatureLines(Form1& f, const ExerciseFigure& fig) {
  const kinematics::LoopMotion& m = fig.motion;
  const LoopAnswers& a = fig.answers;
  poleLines(f, fig);
  counterPoleLines(f, fig);
  if (!a.pole || !a.counterPole) return;
  const Vec p = *a.pole;
  lineAcross(f, p, *a.counterPole, hintColour());
  lineAcross(f, p, m.C.p, hintColour());
  lineAcross(f, m.A.p, m.C.p, hintColour());
  const Vec axis = p + (m.C.p - p) * (*a.counterPole - p) / (m.B.p - p);
  lineAcross(f, p, axis, hintColour());
  pointMark(f, p, hintColour(), U"P");
  pointMark(f, *a.counterPole, hintColour(), U"Pac");
  if (const std::optional<Vec> F = meet(p, axis, m.A.p, m.C.p)) pointMark(f, *F, hintColour(), U"F");
}

// The accelerations of A and B and the acceleration plan Q-9-6 (Burmester,
// Mehmke): the triangle of the pole, B and A is similar to Q-6-9. Drawn from
// the velocity and acceleration base the task ran.
void accelerationLines(Form1& f, const ExerciseFigure&) {
  f.run(U":67>m6Aq:67>m6Br:66-m1Q69Q:67>m6Q9:67>m6Q6:69om14Q:69om149:69om146:66-m1AB:65.m14AB");
}

using Needs = ExerciseNeeds;

const std::array<ExerciseKindInfo, 6> kKinds = {{
    {ExerciseKind::Pole, "momentanpol", "&Momentanpol", U"Momentanpol",
     U"Wo liegt der Momentanpol P (Pbd) der Koppel A-B?",
     U"Satz von Aronhold-Kennedy: P liegt auf den Geraden X-A und Y-B.", &LoopAnswers::pole, 1, 3,
     Needs{.pole = true}, poleLines},
    {ExerciseKind::CounterPole, "gegenpol", "&Gegenpol", U"Gegenpol",
     U"Wo liegt der Gegenpol Pac, der Relativpol von Kurbel X-A und Schwinge Y-B?",
     U"Drei-Pole-Satz: Pac liegt auf der Geraden Pab-Pbc (A-B) und auf der Geraden Pad-Pcd (X-Y).",
     &LoopAnswers::counterPole, 1, 2, Needs{.counterPole = true}, counterPoleLines},
    {ExerciseKind::VelocityOfB, "geschwindigkeit", "Geschwindigkeit von &B", U"Geschwindigkeit von B",
     U"Gegeben ist die Geschwindigkeit vA. Wo liegt die Spitze des Pfeils vB, angetragen in B?",
     U"vB steht senkrecht auf dem Polstrahl P-B, und es gilt vB : vA = PB : PA.",
     &LoopAnswers::velocityTipB, 2, 4, Needs{.pole = true, .velocityOfA = true}, velocityLines},
    {ExerciseKind::InflectionPole, "wendepol", "&Wendepol", U"Wendepol",
     U"Wo liegt der Wendepol Wp der Koppelebene?",
     U"Bobillier: Poltangente t und Kollineationsachse P-Pac bilden mit P-B bzw. P-A gleich große, "
     U"gegensinnige Winkel; Wp liegt auf der Polnormalen n.",
     &LoopAnswers::inflectionPole, 4, 3, Needs{.pole = true, .counterPole = true, .collineation = true}, inflectionLines},
    {ExerciseKind::CurvatureCentre, "kruemmungsmittelpunkt", "&Krümmungsmittelpunkt von C",
     U"Krümmungsmittelpunkt von C", U"Wo liegt der Krümmungsmittelpunkt der Bahn des Koppelpunktes C?",
     U"Bobillier für A und C: die Kollineationsachse P-F (F auf A-C) bildet mit P-C den Winkel, "
     U"den P-Pac mit P-B bildet; X-F schneidet den Polstrahl P-C im gesuchten Punkt.",
     &LoopAnswers::curvatureCentreC, 4, 2, Needs{.pole = true, .counterPole = true, .collineation = true}, curvatureLines},
    {ExerciseKind::AccelerationPole, "beschleunigungspol", "B&eschleunigungspol", U"Beschleunigungspol",
     U"Gegeben sind vA und die Tangentialbeschleunigung von A. Wo liegt der Beschleunigungspol der Koppel?",
     U"Burmester und Mehmke: Beschleunigungspol, B und A bilden ein Dreieck, das dem Dreieck Q''-B''-A'' "
     U"des Beschleunigungsplans ähnlich ist.",
     &LoopAnswers::accelerationPole, 3, 7, Needs{.accelerations = true}, accelerationLines},
}};

}  // namespace

std::span<const ExerciseKindInfo> exerciseKinds() { return kKinds; }

const ExerciseKindInfo* exerciseKind(ExerciseKind kind) {
  for (const ExerciseKindInfo& k : kKinds)
    if (k.kind == kind) return &k;
  return nullptr;
}

ExerciseKind exerciseKindNamed(std::string_view name) {
  for (const ExerciseKindInfo& k : kKinds)
    if (k.name == name) return k.kind;
  return ExerciseKind::None;
}

}  // namespace pm
