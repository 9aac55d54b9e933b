// Group 7, " Relativbewegung        ": the motion of the joint B seen from the
// turning crank plane X-A. The velocity of B is the guidance velocity (that of
// the crank-plane point at B) plus the relative velocity; its acceleration is
// the guidance acceleration plus the relative acceleration plus the Coriolis
// acceleration 2ω × v_rel.
#include <array>
#include <span>

#include "topics/topic_rows.h"
#include "topics/topics.h"
#include "topics/trace_loops.h"

namespace pm {

namespace {

using topic_rows::Scripts;

// The crank plane with its angle marks, the frame, crank, rocker and joints.
constexpr std::u32string_view kBaseDrawing[] = {
    U":66-g5AX:61(g58XAXB:61(o61XAXB",
    U":66-d5XY:63*g8XA:66-n5YB:62dn15Y:69oa14AB",
};

// H guidance velocity at B, I its tangential acceleration, J on A-B and b-H,
// K relative velocity, L its place in the velocity plan; M, N the normal
// accelerations of the relative and the guidance motion; R, S, V, W the
// acceleration plan from Q; T twice the relative velocity and U the Coriolis
// acceleration (U − T); Ö the acceleration S − Q drawn at B.
constexpr std::u32string_view kRelativeMotionBase[] = {
    U":46HXB~aXA:46IXB~ÁXA:41J=ABxHb:21K=B+bH",
    U":21L=O+HB:46MBK~KBA:46NBH~HBX:21R=Q+BN:21S=R+IB",
    U":21T=K+KB:46UBT~aXA:21V=S+UT:21W=V+BM:21Ö=B+SQ",
};

constexpr std::u32string_view kGuidanceVelocity[] = {
    U":66-j1XaXAXHBX:61(k35aXA:61(k36HXB",
    U":67>k6Aa:67>k6BH:61)j14XBH:61)j15XBH:65.j14AB",
};

constexpr std::u32string_view kRelativeVelocity[] = {
    U":66-j1ABJHbKBY:61)j14AJH:61)j15AJH:67>k6BH:67>k6Bb",
    U":61)j14bBY:61)j15bBY:67>k6BK:65.j14ABY",
    U":65.j13HJKL",
};

constexpr std::u32string_view kVelocityPlan[] = {
    U":67>k6Ok:67>k6OL:67>k6kL",
    U":67>k6BH:67>k6Bb:67>k6BK:69oc14LkO:65.a14B",
};

constexpr std::u32string_view kGuidanceAcceleration[] = {
    U":66-j1XAÁXBIX:67>k6Aa:67>m6AÁ:67>k6BH:67>m6BI:65.j14AB",
    U":61(n35ÁXA:61(n36IXB:61)j14IBX:61)j15IBX",
};

constexpr std::u32string_view kNormalAcceleration[] = {
    U":66-j1XHNBX:67>k6BH:61)j14NHX:61)j15NHX:67>m6NB:67>m6BI",
    U":66-j1YbpY:61)j14Ybp:61)j15Ybp:67>k6Bb:67>m6pB",
    U":67>m6Q7:67>m6QR:67>m6RS:69oa14QS:65.a14XBY",
};

constexpr std::u32string_view kCoriolisAcceleration[] = {
    U":66-j1BAKBMKB:61)j14AKM:61)j15AKM::67>k6BK:67>m6MB",
    U":66-j1aXAa:66-j1UBTU:61(n36aXA:61(n36UBT",
    U":67>k6KT:67>m6TU:67>k6Aa",
    U":67>m6Q7:67>m6QR:67>m6RS:69oa14QS:65.a14XBY",
    U":67>m6SV:67>m6VW:61(m14Q76:61)m15Q76",
    U":61(m146WV:61)m156WV:67>m6Q6:66-m1W67:65.a14VWRSTUMK7:69oa14Q6",
};

constexpr std::u32string_view kAccelerationPlan[] = {
    U":67>m6Q6:67>m6QS:67>m6SV:67>m6V6:69oa14Q6S",
    U":67>m6BÖ:67>m6Br:67>m6Aq",
    U":67>k6Ok:67>k6OL:67>k6kL",
    U":67>k6BH:67>k6Bb:67>k6BK:69oc14LkO:65.a14B",
};

struct Topic {
  std::u32string_view name;
  Scripts scripts;  // topic 1 has none and needs no relative-motion base
};

const std::array<Topic, 8> kTopics = {{
    {U" Relativbewegung        ", {}},
    {U" Antriebsgeschwindigkeit", kGuidanceVelocity},
    {U" Relativgeschwindigkeit ", kRelativeVelocity},
    {U" Geschwindigkeitsplan   ", kVelocityPlan},
    {U" Antriebsbeschleunigung ", kGuidanceAcceleration},
    {U" Normalbeschleunigung   ", kNormalAcceleration},
    {U" Coriolisbeschleunigung ", kCoriolisAcceleration},
    {U" Beschleunigungsplan    ", kAccelerationPlan},
}};

}  // namespace

void group7(Form1& f) {
  topic_rows::writeTopicNames(f, 7, U" Relativbewegung        ", kTopics);

  // Without an assembled mechanism there is no motion of B to show.
  if (driveStep(f)) {
    topic_rows::runScripts(f, kBaseDrawing);
    const int topic = topic_rows::topicNumber(f.st.mn2);
    if (topic >= 2 && topic <= static_cast<int>(kTopics.size())) {
      velocityBase(f);
      topic_rows::runScripts(f, kRelativeMotionBase);
      topic_rows::runScripts(f, kTopics[topic - 1].scripts);
    }
  } else {
    traces::showLoopStatus(f);
  }
  topicHeader(f);
}

}  // namespace pm
