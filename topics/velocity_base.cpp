// The velocity and acceleration base: the velocities of A, B and C, the
// velocity plan, the normal accelerations and the acceleration plan of the
// four-bar in its current position. The velocity, acceleration and curvature
// topics, the relative-motion topics and the worked example all start from it.
#include <cmath>

#include "shell/form1.h"
#include "topics/topics.h"

namespace pm {

namespace {

// The construction in the order it must run; each script builds on the points
// of the ones before it.
constexpr std::u32string_view kVelocityBaseScripts[] = {
    // Pole P; direction of the tangential acceleration x of A; plan origin O;
    // velocity tip a of A; tips b, c by triangles similar to a-A-P (every
    // velocity is perpendicular to its pole ray and proportional to it).
    U":41P=XA*BY:48x=A:25O(e,f):22a=A+A:46bBP~aAP:46cCP~aAP",
    // Velocity plan from O.
    U":21j=O+aA:21k=O+bB:21l=O+cC",
    // Normal acceleration n of A (v²/r by similar triangles), relative velocity
    // m of B against A, its normal acceleration o, normal acceleration p of B
    // about Y.
    U":46nAa~aAX:46mBA~aAP:46oBm~mBA:46pBb~bBY",
    // Acceleration plan from Q: 4 normal acceleration of A, 9 plus the
    // tangential one, 5 plus the relative normal acceleration, 7 normal
    // acceleration of B about Y; h and i give the two unknown tangential
    // directions (perpendicular to A-B at 5 and to B-Y at 7).
    U":25Q(g,h):214=Q+An:229=4+x:215=9+Bo:217=Q+Bp:46h59~XAa:46i7Q~XAa",
    // Tangential acceleration tip Á at A; acceleration 6 of B; acceleration 8
    // of C (plan triangle similar to the coupler); acceleration pole U;
    // acceleration Æ of the pole point, drawn at P as Ç.
    U":22Á=A+x:416=5h*7i:46869~CBA:46UBA~Q69:46Æ69~PBA:21Ç=P+ÆQ",
    // The plan vectors carried to the mechanism, and the images Ã, Ä, Å of n,
    // p, o mirrored through A and B.
    U"21q=Á+4Q:21r=B+6Q:21s=C+8Q:21Ã=A+An:21Ä=B+Bp:21Å=B+Bo",
};

}  // namespace

void velocityBase(Form1& f) {
  const double pi = 4 * std::atan(1.0);
  Registers& r = f.reg();
  // Velocity of A: the crank length times the drive speed v / 5, turned a
  // quarter turn ahead of the crank; stepping backwards reverses it.
  r.lenOf(U'A') = r.lenOf(U'a') * r.lenOf(U'v') / 5;
  if (f.st.qgw == -1) r.lenOf(U'A') = -r.lenOf(U'A');
  r.angOf(U'A') = r.angOf(U'a') + pi / 2;
  for (std::u32string_view script : kVelocityBaseScripts) f.run(script);
}

}  // namespace pm
