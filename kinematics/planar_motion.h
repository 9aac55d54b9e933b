// Closed-form kinematics of the plane loop X-A-B-Y with its coupler point C
// and of the dyads the six-bar chains add to it: positions, velocities and
// accelerations for a crank turning at ω with angular acceleration α.
//
// Points are in drawing coordinates (y grows downwards), as the scripts place
// them. Angles and angular velocities count positive counter-clockwise as the
// user sees the screen, like the screen angle of the vector registers: a link
// turning at ω > 0 moves its point q (relative to its pivot o) with the
// velocity ω·J(q − o), where J is the quarter turn (x, y) → (y, −x).
#pragma once

#include <array>
#include <complex>
#include <optional>

namespace pm::kinematics {

using Vec = std::complex<double>;  // (x, y) in drawing coordinates

// The quarter turn counter-clockwise on screen.
inline constexpr Vec kQuarterTurn{0, -1};

// Screen angle of a vector in radians, [0, 2π); 0 for the null vector.
double screenAngle(Vec v);

// z-component of the cross product of a and b.
inline double cross(Vec a, Vec b) { return a.real() * b.imag() - a.imag() * b.real(); }

// Position, velocity and acceleration of a point.
struct PointMotion {
  Vec p, v, a;
};

// Angle (screen angle of the link's direction, radians), angular velocity and
// angular acceleration of a link.
struct LinkMotion {
  double angle = 0, omega = 0, alpha = 0;
};

// The motion of a point q rigidly joined to a link whose point `base` moves
// as given and which turns with `link`.
PointMotion carried(const PointMotion& base, const LinkMotion& link, Vec q);

// The joint at distance |r1| from p and |r2| from q, as the dyad command of
// the scripts places it: the sign of r2 picks the side of the line p-q, a
// coincident p and q count as 0.001 apart and r2 is kept away from 0 by
// 0.0001. Nothing where the two circles do not meet.
std::optional<Vec> dyadJoint(Vec p, Vec q, double r1, double r2);

// A dyad p-j-q whose end points move as given: the joint j and the motion of
// its two links p-j and q-j.
struct DyadMotion {
  bool closed = false;  // the circles meet
  bool dead = false;    // both links on one line: velocities undefined
  PointMotion joint;
  LinkMotion first, second;  // links p-j and q-j
};
DyadMotion solveDyad(const PointMotion& p, const PointMotion& q, double r1, double r2);

// The loop as the parameter registers describe it.
struct LoopGeometry {
  Vec pivot;             // X
  double frameAngle = 0; // screen angle of X-Y, radians
  double crank = 0;      // len a (signed: a negative crank points the other way)
  double coupler = 0;    // len b
  double rocker = 0;     // len c, its sign picks the branch of B
  double frame = 0;      // len d
  double toC = 0;        // len e, distance A-C
  double fromBToC = 0;   // len f, distance B-C, its sign picks the side of C
};

// The crank drive: angle (screen angle of the crank vector of length len a,
// radians), ω and α.
struct Drive {
  double angle = 0, omega = 0, alpha = 0;
};

struct LoopMotion {
  bool closed = false;     // B can be placed
  bool hasC = false;       // C can be placed
  bool dead = false;       // coupler and rocker in line (a dead position)
  Vec X, Y;
  PointMotion A, B, C;
  LinkMotion crank, coupler, rocker;
};

LoopMotion solveLoop(const LoopGeometry& g, const Drive& drive);

// The dyad I-F-H that a six-bar topic n (1 … 8) of the Watt and Stephenson
// chains adds to the loop: I and H are two of the points C (coupler), D (on
// the crank, len g from X, len h from A), E (on the rocker, len i from B,
// len j from Y) and Z (fixed, len k from X, len l from Y); F is len m from I
// and len n from H, and G on the link H-F is len o from F and len p from H.
struct SixBarMotion {
  bool closed = false;     // every joint of the chain can be placed
  char first = 0, second = 0;  // the letters of I and H
  DyadMotion dyad;         // links I-F (first) and H-F (second)
  bool hasG = false;
  PointMotion G;
};
// lengths: len g … p.
SixBarMotion solveSixBar(const LoopMotion& m, const std::array<double, 10>& lengths, int topic);

// The instantaneous kinematics of a moving plane that turns at ω ≠ 0.
struct PlaneInvariants {
  bool valid = false;          // ω ≠ 0 and the pole lines meet
  Vec pole;                    // instantaneous centre P
  Vec inflectionPole;          // W, opposite P on the inflection circle
  double inflectionDiameter = 0;
  bool hasAccelerationPole = false;
  Vec accelerationPole;        // U, the point of zero acceleration
};

// For the coupler of the loop: P as the intersection of the lines X-A and
// Y-B, W from the acceleration of the plane point at P (a_P = ω²·(W − P)),
// U from a(U) = 0.
PlaneInvariants couplerInvariants(const LoopMotion& m);

// Centre and radius of curvature of a path with velocity v and acceleration
// a at point p; nothing where the path stands still or runs straight.
struct Curvature {
  Vec centre;
  double radius = 0;
};
std::optional<Curvature> pathCurvature(const PointMotion& m);

// Rate of change of the distance s = |p − o| from a fixed point o, for a point
// moving as m: s, ds/dt and d²s/dt².
struct DistanceMotion {
  double s = 0, rate = 0, acceleration = 0;
};
DistanceMotion distanceMotion(const PointMotion& m, Vec o);

// The line from the fixed point o through a point moving as m (a slotted
// link pivoted at o whose block sits at m): its angle, ω and α.
LinkMotion lineMotion(const PointMotion& m, Vec o);

// Transmission angle between coupler A-B and rocker Y-B, degrees in [0, 90].
double transmissionAngle(const LoopMotion& m);

// Grashof condition of four link lengths: shortest + longest against the sum
// of the other two.
enum class Grashof { Fulfilled, Limit, NotFulfilled };
Grashof grashof(std::array<double, 4> lengths);

}  // namespace pm::kinematics
