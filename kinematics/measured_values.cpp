// The lines of the values panel, from the mechanism the command showed, in
// physical units (kinematics/physical_values): lengths in mm, positions in mm
// from X with y upwards, the drive ω = len v / 5 and α = len x / a. Nothing it
// lists changes with the zoom or the symbol size.
#include "kinematics/measured_values.h"

#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kinematics/number_format.h"
#include "kinematics/physical_values.h"
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
using physical::isGuide;

constexpr double kDegree = std::numbers::pi / 180;
// A point farther than this from X (mm) is listed by its direction only.
constexpr double kFarPoint = 1e4;
// Within this crank angle of a dead position the panel says so instead of
// listing speeds that grow without bound there.
constexpr double kDeadTolerance = 0.01 * kDegree;

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
  double d = physical::screenDegrees(radians);
  if (germanNumber(d) == "360") d = 0;
  return germanNumber(d) + "°";
}

// A position (mm from X, y upwards); far away only its direction.
std::string position(Vec p) {
  if (std::abs(p) > kFarPoint || !std::isfinite(std::abs(p))) {
    // The direction with y upwards is the screen angle of (x, −y).
    return "im Unendlichen, Richtung " + degrees(kinematics::screenAngle(std::conj(p)));
  }
  // Rounding noise of a coordinate that is 0 (a point on the frame line) shows as 0.
  auto coordinate = [&p](double c) { return germanNumber(std::fabs(c) < 1e-9 * (1 + std::abs(p)) ? 0 : c); };
  return "(" + coordinate(p.real()) + "; " + coordinate(p.imag()) + ") mm";
}

// A point of the physical loop (X at the origin, y downwards) as a position.
std::string point(Vec p) { return position(physical::positionFromPivot(p, {})); }

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
    add("v " + name, vector(m.v, "mm/s"));
    add("a " + name, vector(m.a, "mm/s²"));
  }
  std::vector<MeasuredValue> take() { return std::move(lines_); }

 private:
  std::vector<MeasuredValue> lines_;
};

std::string length(double mm) { return isGuide(mm) ? "unendlich (Führung)" : number(std::fabs(mm), "mm"); }

void dimensions(const ShownMechanism& s, const physical::Mechanism& m, Lines& out) {
  out.heading("Maße");
  const double loop[] = {m.loop.crank, m.loop.coupler, m.loop.rocker, m.loop.frame, m.loop.toC, m.loop.fromBToC};
  const std::vector<physical::Dimension>& names = physical::loopDimensions();
  for (std::size_t k = 0; k < names.size(); ++k) out.add(names[k].name, length(loop[k]));
  if (s.group == 8)
    for (const physical::Dimension& d : physical::sixBarDimensions(static_cast<int>(s.topic)))
      out.add(d.name, length(m.sixBar[static_cast<std::size_t>(d.letter - 'g')]));
  out.add("Gestellwinkel", degrees(m.loop.frameAngle));
}

void classification(const ShownMechanism& s, Lines& out) {
  out.heading("Umlauffähigkeit");
  const std::array<double, 4> links = {s.lengths[0], s.lengths[1], s.lengths[2], s.lengths[3]};
  const LoopClass k = classifyLengths(links[0], links[1], links[2], links[3]);
  const std::u32string_view slider = sliderTitle(s.type);
  out.add("Getriebeart", trimmed(toUtf8(slider.empty() ? caseTitle(k.loopCase) : slider)));
  bool guided = false;
  for (double l : links) guided = guided || isGuide(physical::millimetres(l, s.zoom));
  if (!guided) {
    switch (kinematics::grashof(links)) {
      case kinematics::Grashof::Fulfilled: out.add("Grashof-Bedingung", "erfüllt"); break;
      case kinematics::Grashof::Limit: out.add("Grashof-Bedingung", "Grenzfall"); break;
      case kinematics::Grashof::NotFulfilled: out.add("Grashof-Bedingung", "nicht erfüllt"); break;
    }
  }
  out.add("Kurbel", k.turnClass <= 1 ? "umlauffähig" : "nicht umlauffähig");
}

void planeInvariants(const LoopMotion& m, Lines& out) {
  out.heading("Koppelebene");
  const kinematics::PlaneInvariants inv = kinematics::couplerInvariants(m);
  if (inv.valid) {
    out.add("Momentanpol P", point(inv.pole));
    out.add("Wendekreisdurchmesser", number(inv.inflectionDiameter, "mm"));
    out.add("Wendepol Wp", point(inv.inflectionPole));
  } else {
    out.add("Momentanpol P", "im Unendlichen");
  }
  if (inv.hasAccelerationPole)
    out.add("Beschleunigungspol Q", point(inv.accelerationPole));
  else
    out.add("Beschleunigungspol Q", "keiner (Koppel ohne Drehung)");
}

void pathOfC(const LoopMotion& m, Lines& out) {
  if (!m.hasC) return;
  out.heading("Bahn von C");
  if (const auto k = kinematics::pathCurvature(m.C)) {
    out.add("Krümmungsradius ρ", number(k->radius, "mm"));
    out.add("Krümmungsmittelpunkt Co", point(k->centre));
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
    out.add("Gleitweg s = YA", number(s.s, "mm"));
    out.add("Gleitgeschwindigkeit", number(s.rate, "mm/s"));
    out.add("Gleitbeschleunigung", number(s.acceleration, "mm/s²"));
  } else if (isGuide(g.rocker)) {
    // B runs on a practically straight guide through X.
    const kinematics::DistanceMotion s = kinematics::distanceMotion(m.B, m.X);
    out.heading("Schieber B");
    out.add("Schieberweg s = XB", number(s.s, "mm"));
    out.add("Schiebergeschwindigkeit", number(s.rate, "mm/s"));
    out.add("Schieberbeschleunigung", number(s.acceleration, "mm/s²"));
  }
}

void sixBar(const ShownMechanism& s, const physical::Mechanism& p, const LoopMotion& m, Lines& out) {
  const int topic = static_cast<int>(s.topic);
  const kinematics::SixBarMotion six = kinematics::solveSixBar(m, p.sixBar, topic);
  if (six.first == 0) return;  // not one of the six-bar topics
  out.heading("Siebengelenkkette");
  if (!six.closed) {
    out.add("Kette", "nicht montierbar");
    return;
  }
  const std::string linkIF = std::string(1, six.first) + "–F", linkHF = std::string(1, six.second) + "–F";
  out.add("Winkel " + linkIF, degrees(six.dyad.first.angle));
  out.add("Winkel " + linkHF, degrees(six.dyad.second.angle));
  // The dyad closes no further within the tolerance on one side: its links
  // lie in line.
  bool dead = six.dyad.dead;
  for (double side : {-1.0, 1.0}) {
    kinematics::Drive d = p.drive;
    d.angle += side * kDeadTolerance;
    const LoopMotion near = kinematics::solveLoop(p.loop, d);
    dead = dead || (near.closed && !kinematics::solveSixBar(near, p.sixBar, topic).closed);
  }
  if (dead) {
    out.add("Lage", "Totlage: " + linkIF + " und " + linkHF + " in einer Flucht");
    return;
  }
  out.link(linkIF, six.dyad.first);
  out.link(linkHF, six.dyad.second);
  if (six.hasG) out.add("v G", vector(six.G.v, "mm/s"));
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

// Which links lie in line where the crank stands within the tolerance of a
// dead position: coupler and rocker (the loop closes no further on one side)
// or crank and coupler (the rocker turns back; the coupler is a link, not a
// guide). Empty elsewhere.
std::string deadPosition(const physical::Mechanism& p, const LoopMotion& m) {
  if (m.dead) return "Koppel und Schwinge";
  auto crankCoupler = [](const LoopMotion& l) {
    return kinematics::cross(l.A.p - l.X, l.B.p - l.A.p);
  };
  const double here = crankCoupler(m);
  for (double side : {-1.0, 1.0}) {
    kinematics::Drive d = p.drive;
    d.angle += side * kDeadTolerance;
    const LoopMotion near = kinematics::solveLoop(p.loop, d);
    if (!near.closed || near.dead) return "Koppel und Schwinge";
    const double there = crankCoupler(near);
    if (!isGuide(p.loop.coupler) && (here == 0 || (here > 0) != (there > 0))) return "Kurbel und Koppel";
  }
  return {};
}

void mechanism(const ShownMechanism& s, Lines& out) {
  const physical::Mechanism p = physical::shownMechanism(s);
  const kinematics::LoopGeometry& g = p.loop;
  const LoopMotion m = kinematics::solveLoop(g, p.drive);

  dimensions(s, p, out);
  out.heading("Antrieb");
  out.add("Kurbelwinkel φ", degrees(p.drive.angle));
  out.link("Kurbel", m.crank);
  if (!m.closed) {
    out.add("Getriebe", "nicht montierbar");
    out.add("Grund", "die Kette schließt sich bei diesem Kurbelwinkel nicht");
    classification(s, out);
    return;
  }
  const std::string dead = deadPosition(p, m);
  if (!dead.empty()) out.add("Lage", "Totlage: " + dead + " in einer Flucht");
  if (dead == "Koppel und Schwinge") {
    // Coupler and rocker turn at speeds without bound here.
    classification(s, out);
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
  if (s.group == 8) sixBar(s, p, m, out);
  classification(s, out);
}

}  // namespace

std::vector<ShownJoint> shownJoints(const Form1& form) {
  const ShownMechanism& s = form.cmd.shown;
  if (!s.taken) return {};
  const physical::Mechanism p = physical::shownMechanism(s);
  const kinematics::LoopGeometry& g = p.loop;
  const LoopMotion m = kinematics::solveLoop(g, p.drive);
  std::vector<ShownJoint> joints;
  // The loop in mm about X, back in drawing units at the zoom it was shown with.
  const double zoom = s.zoom > 0 ? s.zoom : 1;
  auto add = [&joints, &s, zoom](char letter, Vec mm) {
    const Vec q = Vec(s.pivotX, s.pivotY) + zoom * mm;
    if (std::isfinite(q.real()) && std::isfinite(q.imag())) joints.push_back({letter, q.real(), q.imag()});
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
    out.add("Koordinaten", "mm ab X, y nach oben");
    mechanism(form.cmd.shown, out);
  } else if (!form.cmd.synthesisFourBar) {
    out.add("Getriebe", "nicht dargestellt");
  }
  if (form.cmd.synthesisFourBar) synthesis(*form.cmd.synthesisFourBar, out);
  return out.take();
}

}  // namespace pm
