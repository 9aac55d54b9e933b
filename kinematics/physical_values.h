// Physical values of the mechanism and the registers and state fields that
// carry them: the one conversion that the values panel, set-up files, the
// dimensions dialog and the diagrams share. Other modules store and compare
// these values, so the conventions below stay as they are.
//
//   Lengths    millimetres; 1 mm is one drawing unit at the standard zoom
//              (qzz = 1). The loader multiplies len a … p by the zoom, so a
//              length in mm is |len| / qzz. A length is a magnitude: the sign
//              of len c, f, h, n, p picks an assembly branch or the side of a
//              point and stays with the mechanism when a length is set.
//              A link of 10 000 mm or more stands for a straight guide (the
//              slider presets give 99 999).
//   Positions  millimetres from the fixed pivot X, x to the right and y
//              upwards as the user sees the screen (the zoom scales the
//              picture about X).
//   Angles     degrees in [0, 360), counter-clockwise as the user sees the
//              screen, from its x axis. The crank angle φ is the direction of
//              X→A: φ = val c − wxx·180/π. The frame angle is val d.
//   Drive      ω = len v / 5 in 1/s, negated while the crank steps backwards
//              (qgw = −1); α = len x / a in 1/s², with the crank a in mm
//              (len x is the tangential acceleration of A in mm/s² and is not
//              zoomed). Speeds are in mm/s, accelerations in mm/s².
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "kinematics/planar_motion.h"

namespace pm {

struct StateRecord;
struct ShownMechanism;

namespace physical {

using kinematics::Vec;

// Lengths from here on stand for a straight guide, not for a link.
inline constexpr double kGuideLength = 10000;
inline bool isGuide(double mm) { return !(std::abs(mm) < kGuideLength); }

// A dimension: the register letter and its German name ("Kurbel a").
struct Dimension {
  char letter = 0;
  std::string name;
};

// The four-bar with its coupler point: "Kurbel a", "Koppel b", "Schwinge c",
// "Gestell d", "Koppelpunkt AC e", "Koppelpunkt BC f".
const std::vector<Dimension>& loopDimensions();

// The added links of six-bar topic 1 … 8 (group 8), in the order g … p, named
// with the joints the topic joins ("Glied ZF m"); empty for another topic.
std::vector<Dimension> sixBarDimensions(int topic);

// --- single values --------------------------------------------------------

// A length register as loaded at `zoom`, in mm, with its sign.
double millimetres(double lengthRegister, double zoom);
// A point of the standard-zoom picture as a position: mm from X, y upwards.
Vec positionFromPivot(Vec point, Vec pivot);
// A screen angle (radians) in degrees [0, 360); a value that is not finite
// stays so (there is no angle to show).
double screenDegrees(double radians);
// The crank angle φ in degrees [0, 360) for the zero offset val c (degrees)
// and the drive angle wxx (radians).
double crankAngle(double valC, double wxx);
// The drive angle wxx that shows the crank angle φ (degrees).
double driveAngleFor(double valC, double phi);
// ω of the crank from len v and the sense of stepping qgw.
double crankOmega(double lenV, double qgw);
// α of the crank from len x and the crank length in mm; 0 for a crank of 0.
double crankAlpha(double lenX, double crankMm);

// --- the mechanism on screen ----------------------------------------------

// The mechanism the drive step noted, in physical units: the loop with X at
// the origin, lengths in mm (signed as the registers: the signs pick the
// branch of B and the side of C), its drive, and the lengths g … p in mm.
struct Mechanism {
  kinematics::LoopGeometry loop;
  kinematics::Drive drive;           // angle in radians, as LoopGeometry takes it
  std::array<double, 10> sixBar{};  // g … p
};
Mechanism shownMechanism(const ShownMechanism& shown);

// --- the state record -----------------------------------------------------
// What the next command loads for the current mechanism type, and the offsets
// that make it load a wanted value. Setting lengths first and then ω and α
// gives exactly the wanted values (α depends on the crank's length).

// The length of letter a … p in mm (magnitude); 0 for any other letter.
double lengthOf(const StateRecord& st, char letter);
// Sets the offset of a … p so that the next load gives `mm` (a magnitude;
// the branch sign stays). False, and nothing changed, for another letter or
// a value that is negative or not finite.
bool setLength(StateRecord& st, char letter, double mm);

double crankAngleOf(const StateRecord& st);
// False, and nothing changed, for a value that is not finite.
bool setCrankAngle(StateRecord& st, double phi);

double omegaOf(const StateRecord& st);
bool setOmega(StateRecord& st, double omega);

double alphaOf(const StateRecord& st);
// Also switches the tangential acceleration of A on (qxx) when α is not 0.
bool setAlpha(StateRecord& st, double alpha);

}  // namespace physical
}  // namespace pm
