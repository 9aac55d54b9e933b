// The lines of the values panel, from the mechanism the command showed: its
// lengths, pivot, frame and crank angle as the drive step noted them, the
// drive speed ω = len v / 5 and the crank's angular acceleration len x / len a,
// as the velocity and acceleration constructions use them. Lengths are in
// drawing units (E), times in the construction's time unit (s), so that a
// listed speed equals the length of the velocity arrow the construction draws.
#include "kinematics/measured_values.h"

#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kinematics/number_format.h"
#include "kinematics/planar_motion.h"
#include "script/utf8.h"
#include "shell/form1.h"
#include "topics/mechanism_detail.h"
#include "topics/synthesis_check.h"

namespace pm {

namespace {

using kinematics::LinkMotion;
using kinematics::LoopMotion;
using kinematics::PointMotion;
using kinematics::Vec;

constexpr double kDegree = std::numbers::pi / 180;
// A link at least this long stands for a straight guide (the slider presets
// give 99999).
constexpr double kGuideLength = 10000;

bool isGuide(double length) { return std::fabs(length) >= kGuideLength; }

std::string trimmed(std::string s) {
  while (!s.empty() && s.front() == ' ') s.erase(s.begin());
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

std::string number(double v, const char* unit) {
  std::string out = germanNumber(v);
  if (*unit != 0) out += std::string(" ") + unit;
  return out;
}

// Degrees of a screen angle, in [0, 360).
std::string degrees(double radians) {
  double d = std::fmod(radians / kDegree, 360.0);
  if (d < 0) d += 360;
  if (germanNumber(d) == "360") d = 0;
  return germanNumber(d) + "°";
}

std::string point(Vec p) { return "(" + germanNumber(p.real()) + "; " + germanNumber(p.imag()) + ")"; }

// Magnitude and screen direction of a velocity or acceleration.
std::string vector(Vec v, const char* unit) {
  std::string out = number(std::abs(v), unit);
  if (std::abs(v) > 0) out += " ∠ " + degrees(kinematics::screenAngle(v));
  return out;
}

class Lines {
 public:
  void heading(std::string name) { lines_.push_back({std::move(name), ""}); }
  void add(std::string name, std::string value) { lines_.push_back({std::move(name), std::move(value)}); }
  void link(const std::string& name, const LinkMotion& l) {
    add("ω " + name, number(l.omega, "1/s"));
    add("α " + name, number(l.alpha, "1/s²"));
  }
  void motion(const std::string& name, const PointMotion& m) {
    heading("Punkt " + name);
    add("v " + name, vector(m.v, "E/s"));
    add("a " + name, vector(m.a, "E/s²"));
  }
  std::vector<MeasuredValue> take() { return std::move(lines_); }

 private:
  std::vector<MeasuredValue> lines_;
};

double shownLength(const ShownMechanism& s, char32_t letter) { return s.lengths[letter - U'a']; }

kinematics::LoopGeometry geometryOf(const ShownMechanism& s) {
  kinematics::LoopGeometry g;
  g.pivot = {s.pivotX, s.pivotY};
  g.frameAngle = s.frameAngle * kDegree;
  g.crank = shownLength(s, U'a');
  g.coupler = shownLength(s, U'b');
  g.rocker = shownLength(s, U'c');
  g.frame = shownLength(s, U'd');
  g.toC = shownLength(s, U'e');
  g.fromBToC = shownLength(s, U'f');
  return g;
}

// The drive as the velocity construction takes it: |v_A| = len a · len v / 5,
// reversed while stepping backwards; the tangential acceleration of A has the
// length len x along the unreversed direction of v_A.
kinematics::Drive driveOf(const Form1& form) {
  const ShownMechanism& s = form.cmd.shown;
  kinematics::Drive d;
  d.angle = s.crankAngle;
  d.omega = shownLength(s, U'v') / 5;
  if (form.st.qgw == -1) d.omega = -d.omega;
  const double crank = shownLength(s, U'a');
  d.alpha = crank != 0 ? shownLength(s, U'x') / crank : 0;
  return d;
}

void classification(const Form1& form, Lines& out) {
  const ShownMechanism& s = form.cmd.shown;
  out.heading("Umlauffähigkeit");
  const std::u32string_view slider = sliderTitle(form.st.mn0);
  out.add("Getriebeart", trimmed(toUtf8(slider.empty() ? caseTitle(form.cmd.loopCase) : slider)));
  const std::array<double, 4> links = {shownLength(s, U'a'), shownLength(s, U'b'), shownLength(s, U'c'),
                                       shownLength(s, U'd')};
  bool guided = false;
  for (double l : links) guided = guided || isGuide(l);
  if (!guided) {
    switch (kinematics::grashof(links)) {
      case kinematics::Grashof::Fulfilled: out.add("Grashof-Bedingung", "erfüllt"); break;
      case kinematics::Grashof::Limit: out.add("Grashof-Bedingung", "Grenzfall"); break;
      case kinematics::Grashof::NotFulfilled: out.add("Grashof-Bedingung", "nicht erfüllt"); break;
    }
  }
  out.add("Kurbel", form.cmd.turnClass <= 1 ? "umlauffähig" : "nicht umlauffähig");
}

void planeInvariants(const LoopMotion& m, Lines& out) {
  out.heading("Koppelebene");
  const kinematics::PlaneInvariants inv = kinematics::couplerInvariants(m);
  if (inv.valid) {
    out.add("Momentanpol P", point(inv.pole));
    out.add("Wendekreisdurchmesser", number(inv.inflectionDiameter, "E"));
    out.add("Wendepol W", point(inv.inflectionPole));
  } else {
    out.add("Momentanpol P", "im Unendlichen");
  }
  if (inv.hasAccelerationPole)
    out.add("Beschleunigungspol U", point(inv.accelerationPole));
  else
    out.add("Beschleunigungspol U", "keiner (Koppel ohne Drehung)");
}

void pathOfC(const LoopMotion& m, Lines& out) {
  if (!m.hasC) return;
  out.heading("Bahn von C");
  if (const auto k = kinematics::pathCurvature(m.C)) {
    out.add("Krümmungsradius ρ", number(k->radius, "E"));
    out.add("Krümmungsmittelpunkt", point(k->centre));
  } else {
    out.add("Krümmungsradius ρ", std::abs(m.C.v) > 0 ? "unendlich (Wendepunkt)" : "— (C in Ruhe)");
  }
}

void slider(const LoopMotion& m, const kinematics::LoopGeometry& g, Lines& out) {
  if (isGuide(g.coupler)) {
    // Slotted link about Y, its block at A.
    const LinkMotion slot = kinematics::lineMotion(m.A, m.Y);
    const kinematics::DistanceMotion s = kinematics::distanceMotion(m.A, m.Y);
    out.heading("Schleife um Y, Gleitstein in A");
    out.add("Schleifenwinkel", degrees(slot.angle));
    out.link("Schleife", slot);
    out.add("Gleitweg s = YA", number(s.s, "E"));
    out.add("Gleitgeschwindigkeit", number(s.rate, "E/s"));
    out.add("Gleitbeschleunigung", number(s.acceleration, "E/s²"));
  } else if (isGuide(g.rocker)) {
    // B runs on a practically straight guide through X.
    const kinematics::DistanceMotion s = kinematics::distanceMotion(m.B, m.X);
    out.heading("Schieber B");
    out.add("Schieberweg s = XB", number(s.s, "E"));
    out.add("Schiebergeschwindigkeit", number(s.rate, "E/s"));
    out.add("Schieberbeschleunigung", number(s.acceleration, "E/s²"));
  }
}

void sixBar(const Form1& form, const LoopMotion& m, Lines& out) {
  std::array<double, 10> lengths{};
  for (std::size_t k = 0; k < lengths.size(); ++k)
    lengths[k] = shownLength(form.cmd.shown, static_cast<char32_t>(U'g' + k));
  const kinematics::SixBarMotion six = kinematics::solveSixBar(m, lengths, static_cast<int>(form.st.mn2));
  if (six.first == 0) return;  // not one of the six-bar topics
  out.heading("Siebengelenkkette");
  if (!six.closed) {
    out.add("Kette", "nicht montierbar");
    return;
  }
  const std::string linkIF = std::string(1, six.first) + "–F", linkHF = std::string(1, six.second) + "–F";
  out.add("Winkel " + linkIF, degrees(six.dyad.first.angle));
  out.add("Winkel " + linkHF, degrees(six.dyad.second.angle));
  if (six.dyad.dead) {
    out.add("Lage", "Totlage des Zweischlags");
    return;
  }
  out.link(linkIF, six.dyad.first);
  out.link(linkHF, six.dyad.second);
  if (six.hasG) out.add("v G", vector(six.G.v, "E/s"));
}

void positionList(const std::vector<int>& positions, std::string& out) {
  for (std::size_t n = 0; n < positions.size(); ++n) {
    if (n > 0) out += n + 1 == positions.size() ? " und " : ", ";
    out += std::to_string(positions[n]);
  }
}

void synthesis(const SynthesisFourBar& fourBar, Lines& out) {
  out.heading("Synthese: Prüfung des Gelenkvierecks");
  const SynthesisCheck c = checkSynthesisFourBar(fourBar);
  if (!c.valid) {
    out.add("Prüfung", "nicht möglich: Lagen oder Glieder entartet");
    return;
  }
  for (int k = 0; k < 4; ++k)
    out.add("Kurbelwinkel Lage " + std::to_string(k + 1), degrees(c.crankDegrees[k] * kDegree));
  std::vector<int> other;
  for (int k = 0; k < 4; ++k)
    if (!c.onBranch[k]) other.push_back(k + 1);
  std::string branch = other.empty() ? "keiner" : (other.size() == 1 ? "Lage " : "Lagen ");
  positionList(other, branch);
  if (!other.empty()) branch += " auf dem anderen Montagezweig";
  out.add("Verzweigungsdefekt", branch);
  out.add("Reihenfolgedefekt", c.orderDefect ? "Lagen nicht in der Folge 1-2-3-4 erreichbar" : "keiner");
  if (!c.orderDefect) {
    std::string dead;
    for (const auto& [from, to] : c.deadBetween)
      dead += (dead.empty() ? "zwischen Lage " : "; zwischen Lage ") + std::to_string(from) + " und " +
              std::to_string(to);
    out.add("Totlagen", dead.empty() ? "keine" : dead);
    out.add("Drehsinn der Kurbel", c.sense > 0 ? "Gegenuhrzeigersinn" : "Uhrzeigersinn");
  }
  out.add("Kurbel", c.turnsFully ? "voll umlauffähig" : "nicht voll umlauffähig");
}

void mechanism(const Form1& form, Lines& out) {
  const ShownMechanism& s = form.cmd.shown;
  const kinematics::LoopGeometry g = geometryOf(s);
  const kinematics::Drive drive = driveOf(form);
  const LoopMotion m = kinematics::solveLoop(g, drive);

  out.heading("Antrieb");
  out.add("Kurbelwinkel φ", degrees(drive.angle));
  out.link("Kurbel", m.crank);
  if (!m.closed) {
    out.add("Getriebe", "nicht montierbar");
    out.add("Grund", "die Kette schließt sich bei diesem Kurbelwinkel nicht");
    classification(form, out);
    return;
  }
  if (m.dead) {
    out.add("Lage", "Totlage: Koppel und Schwinge in einer Flucht");
    classification(form, out);
    return;
  }
  const bool guidedB = isGuide(g.coupler);
  out.heading("Glieder");
  if (!guidedB) {
    out.add("Winkel Koppel", degrees(m.coupler.angle));
    out.link("Koppel", m.coupler);
  }
  if (!isGuide(g.rocker) && !guidedB) {
    out.add("Winkel Schwinge", degrees(m.rocker.angle));
    out.link("Schwinge", m.rocker);
  }
  if (!guidedB) out.add("Übertragungswinkel μ", degrees(kinematics::transmissionAngle(m) * kDegree));
  slider(m, g, out);

  out.motion("A", m.A);
  if (!guidedB) out.motion("B", m.B);
  if (m.hasC) out.motion("C", m.C);
  planeInvariants(m, out);
  pathOfC(m, out);
  if (form.st.mn1 == 8) sixBar(form, m, out);
  classification(form, out);
}

}  // namespace

std::vector<ShownJoint> shownJoints(const Form1& form) {
  const ShownMechanism& s = form.cmd.shown;
  if (!s.taken) return {};
  const kinematics::LoopGeometry g = geometryOf(s);
  const LoopMotion m = kinematics::solveLoop(g, driveOf(form));
  std::vector<ShownJoint> joints;
  auto add = [&joints](char letter, Vec p) {
    if (std::isfinite(p.real()) && std::isfinite(p.imag())) joints.push_back({letter, p.real(), p.imag()});
  };
  add('X', m.X);
  if (!isGuide(g.frame)) add('Y', m.Y);
  add('A', m.A.p);
  if (m.closed && !isGuide(g.coupler)) add('B', m.B.p);
  if (m.closed && m.hasC) add('C', m.C.p);
  return joints;
}

std::vector<MeasuredValue> measuredValues(const Form1& form) {
  Lines out;
  // The panel would give an exercise's answer away (poles, velocities).
  if (form.exercise.hidesSolution()) {
    out.heading("Übung " + std::to_string(form.exercise.seed));
    out.add("Messwerte", "mit der Lösung (L)");
    return out.take();
  }
  out.heading("Messwerte");
  if (form.cmd.shown.taken) {
    out.add("Längeneinheit E", "Zeichnungseinheit");
    mechanism(form, out);
  } else if (!form.cmd.synthesisFourBar) {
    out.add("Getriebe", "nicht dargestellt");
  }
  if (form.cmd.synthesisFourBar) synthesis(*form.cmd.synthesisFourBar, out);
  return out.take();
}

}  // namespace pm
