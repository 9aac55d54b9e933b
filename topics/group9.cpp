// Topic group 9: the worked example of a plane moving in its own plane. The
// plane is the coloured rectangle with its points A, B, C; the current four-bar
// guides it but is not drawn. Every subtopic repeats the task picture and adds
// its own construction: instantaneous centre, velocities, normal accelerations,
// centres of curvature, accelerations and the locus of the points whose paths
// have the same curvature as the path of C.
#include <array>
#include <cmath>
#include <optional>
#include <string_view>

#include "draw/colour.h"
#include "script/vector.h"
#include "shell/form1.h"
#include "topics/moving_plane_locus.h"
#include "topics/topics.h"

namespace pm {
namespace {

constexpr std::u32string_view kGroupName = U" Komplan bewegte Ebene";

// Subtopic labels, index = mn2 (spelled as the program has always shown them).
constexpr std::array<std::u32string_view, 8> kSubtopicNames = {
    U"",
    U" Aufgabenstellung     ",
    U" Momentanpol          ",
    U" Geschwindigkeit      ",
    U" Normalbeschleunigung ",
    U" Krümmngsmittelpunkt  ",
    U" Beschleunigung       ",
    U" Lagenort             ",
};

enum Subtopic : int {
  kTask = 1,
  kPole = 2,
  kVelocity = 3,
  kNormalAcceleration = 4,
  kCurvatureCentres = 5,
  kAcceleration = 6,
  kLocus = 7,
};

constexpr Rgb kPlaneColour = rgb(200, 200, 0);
constexpr Rgb kBlack = rgb(0, 0, 0);

// J: centre of curvature of the path of C (Bobillier's construction from the
// collineation point D).
void curvatureCentre(Form1& f) { f.run(U":41P=XA*BY:41D=XY*AB:46EPC~DPB:41F=EPxAC:41J=FXxPC"); }

// T: point on the pole tangent.
void poleTangent(Form1& f) { f.run(U":41P=XA*BY:41D=XY*AB:46TPA~BPD"); }

// W: the inflection pole.
void inflectionPole(Form1& f) {
  velocityBase(f);
  f.run(U":27EP|Aa:27FP|Bb:41G=EPxXa:41H=FPxYb:");
  f.run(U":23I=.+GP:23J=.+HP:41K=IGxJH:");
  f.run(U"23Ì=.+KP:23Í=.+PK:46ÎÍP~aAP:41Ò=KÌxPÎ:23Ó=.+ÒK:41Ô=PÍxÒÓ:36W=Ô");
}

// One branch of the locus, traced in 4° steps of the direction from the pole.
// Where the branch has no point the trace is interrupted, so that the pieces on
// either side are not joined.
void locusBranch(Form1& f, double sigma, char32_t vector, std::u32string_view script, double phi0,
                 double a, double d) {
  Registers& r = f.reg();
  for (int t = 0; t <= 91; ++t) {
    f.cmd.traceCounter = t;
    const double phi = 4 * t * kDeg - phi0;
    const std::optional<double> rho = equalCurvatureLocusDistance(sigma, phi, a, d);
    if (!rho) {
      f.drawing.beginCommand();  // forgets the trace point: the next point starts a new piece
      continue;
    }
    r.lenOf(vector) = *rho;
    r.angOf(vector) = phi + phi0 - kPi / 2;
    f.run(script);
  }
}

void locus(Form1& f) {
  Registers& r = f.reg();
  f.run(U":28f=PW");
  const double phi0 = r.angOf(U'f');
  const double a = r.lenOf(U'f');
  curvatureCentre(f);
  f.run(U":28f=CJ");
  const double d = r.lenOf(U'f');
  locusBranch(f, +1, U'h', U":22R=P+h:64~p2-R", phi0, a, d);
  locusBranch(f, -1, U'g', U":22R=P+g:64~p2-R", phi0, a, d);
}

// The task picture: hidden four-bar, coupler-plane kinematics, the plane, the
// scale note and the velocity and acceleration of A.
void taskPicture(Form1& f) {
  driveStep(f);  // a loop that cannot close leaves the registers as they are
  velocityBase(f);
  f.canvas.box(100, 250, 650, 650, kPlaneColour, true);
  f.canvas.setFont("Arial", 11);
  f.canvas.setTextColour(kBlack);
  f.setPosition(550, 260);
  f.print(U"Mb = Mv² / Mz", true);
  f.run(U":67>k8Aa:67>m8Aq:67>m8BÄ:69oa15ABC");
}

}  // namespace

std::optional<double> equalCurvatureLocusDistance(double sigma, double phi, double a, double d) {
  if (d == 0) d = 0.00001;
  const double discriminant = 1 + 4 * a * std::sin(phi) / d;
  // A degenerate mechanism can leave infinite or undefined distances; such a
  // direction has no point rather than a point at an undefined place.
  if (!(discriminant >= 0) || !std::isfinite(discriminant)) return std::nullopt;
  const double rho = (1 + sigma * std::sqrt(discriminant)) * d / 2;
  if (!std::isfinite(rho)) return std::nullopt;
  return rho;
}

void group9(Form1& f) {
  f.cmd.groupNames[9] = kGroupName;
  for (std::size_t k = 1; k < kSubtopicNames.size(); ++k) f.cmd.topicNames[k] = kSubtopicNames[k];

  taskPicture(f);
  switch (static_cast<int>(f.st.mn2)) {
    case kTask:
      break;
    case kPole:
      f.run(U":66-b1APBPC:69oa15ABCP");
      break;
    case kVelocity:
      f.run(U":67>k8Bb:67>k8Cc:66-j1APBPC:66-j1aPbPcPC");
      f.run(U":61(n28aPA:61(n27bPB:61(n29cPC:69oa15ABCP");
      break;
    case kNormalAcceleration:
      // The normal acceleration of C is the part of its acceleration s along
      // the normal of its path, the pole ray C-P: I is the foot of the
      // perpendicular from s. (Normal accelerations do not follow the coupler
      // triangle the way the total accelerations do.)
      f.run(U":24I=s+CP");
      f.run(U":66-m1ÁqÃA:67>m6AÃ:67>m6CI:66-j1ABCA:66-j1CP:66-m1CsI:61(m14CIs:61)m15CIs");
      f.run(U":69oa15ABC");
      break;
    case kCurvatureCentres:
      curvatureCentre(f);
      f.run(U":66-m1AX::66-m1BY:66-m1CJ:69oa15ABCXYJ");
      break;
    case kAcceleration:
      curvatureCentre(f);
      poleTangent(f);
      f.run(U":67>m8Cs:67>m8Br:66-m1CJ:69om15JU:69oa15ABCP");
      break;
    case kLocus:
      curvatureCentre(f);
      poleTangent(f);
      inflectionPole(f);
      locus(f);
      f.run(U":67>k8Bb:67>k8Cc:67>m8Cs:67>m8Br:66-m1CJ:69om15JU::69oa15ABCP");
      break;
    default:  // no construction of its own
      break;
  }
}

}  // namespace pm
