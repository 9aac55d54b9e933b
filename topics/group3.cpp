// Group 3, " Beschleunigungen     ": the accelerations of the four-bar: normal
// accelerations by similar triangles, the acceleration plan, the theorems of
// Burmester and Mehmke, the acceleration pole and the acceleration of the pole
// point. Every topic draws over the mechanism and the velocity base.
#include <array>

#include "topics/topic_rows.h"
#include "topics/topics.h"
#include "topics/velocity_scripts.h"

namespace pm {

namespace {

using Script = std::u32string_view;
using velocity_scripts::kV3;
using velocity_scripts::kV6;
using velocity_scripts::kV7;
using velocity_scripts::kV8;

// B1: drive: velocity and tangential acceleration of A.
constexpr Script kB1[] = {U":67>k6Aa:67>m6AÁ:65.j14A"};

// B2 (after B1): the three normal accelerations by similar triangles.
constexpr Script kB2[] = {
    U":67>k6Aa:67>k6Bb:67>k6Bm:66-m1YbpBY:66-m1XanAX",
    U":66-m1AmoB:65.m13YbpB:65.m13XanA:65.m13AmoB:61(m14Xan:61)m15Xan",
    U":61(m14Ybp:61)m15Ybp:61(m14Amo:61)m15Amo:65.j14AB",
};

// Topic 3's own arcs before B3 and B2.
constexpr Script kNormalArcs[] = {U":61(m11nAXn:61(m11pBYp:61(m11ABoo:65.j14AB"};

// B3: acceleration components at A and B.
constexpr Script kB3[] = {U":67>m6AÁ:67>m6AÃ:67>m6BÄ:67>m6BÅ:65.j14AB"};

// B4: acceleration plan from Q: normal and tangential acceleration of A, the
// relative normal acceleration, the normal acceleration of B about Y, and the
// two tangential directions meeting in 6.
constexpr Script kB4[] = {
    U":65.m14Q:67>m6Q4:67>m649:67>m695:67>m6Q7:66-m176:66-m156",
    U":69om1306:69om1309:61(m14956:61)m15956:61(m14Q76:61)m15Q76:",
    U":69om15Q",
};

// B5: Burmester and Mehmke: the plan triangle 9-6-8 and the triangle q-r-s of
// the acceleration tips are both similar to the coupler A-B-C.
constexpr Script kB5[] = {
    U":66-m19689",
    U":67>m6Q9:67>m6Q6:67>m6Q8:69om14Q:69om148:69om149:69om146:",
    U":67>m6Aq:67>m6Br:67>m6Cs:65.m14ABC",
    U":66-j1ABCA:66-m1rsqr:61(n36CAB:61(n36sqr:61(h36ABC:61(h36qrs",
    U":65.m14sqr",
};

// B6: acceleration pole U: triangle U-B-A similar to the plan triangle Q-6-9.
constexpr Script kB6[] = {
    U":66-m1BUA:66-m1Q69Q:61(o35BAU:61(h35ABU:61(o35Q96:61(h35Q69:",
    U":67>m6Q9:67>m6Q6:69om14Q:69om149:69om146:69om14U:66-m1AB:65.m14AB",
};

// B7: acceleration of the pole point: Æ in the plan, drawn at P as P-Ç.
constexpr Script kB7[] = {
    U":61(o35PAB:61(h35PBA:67>m6Q9:67>m6Q6:66-j169Æ6:69om14Q:69om149",
    U":69om146:61(o3569Æ:61(h3596Æ:67>m6PÇ:67>m6QÆ:66-j1APB:69oe14P",
    U":66-j1AB:65.j14AB:69om14Æ",
};

struct Topic {
  std::u32string_view name;
  std::array<topic_rows::Scripts, 6> steps;  // drawn in this order
};

const std::array<Topic, 8> kTopics = {{
    {U" Antrieb              ", {kB1}},
    {U" Konstruktion.        ", {kB1, kB2}},
    {U" Normalbeschl.        ", {kNormalArcs, kB3, kB1, kB2}},
    {U" Beschleunigung von B ", {kB3, kB4}},
    {U" Burmester u.Mehmke   ", {kB5}},
    {U" und Geschwindigkeiten", {kB5, kV7, kV3, kV6, kV8}},
    {U" Beschleunigungspol   ", {kB6}},
    {U" Polbeschleunigung    ", {kB7}},
}};

}  // namespace

// Topic 9 is reached only by stepping back from the curvature group and shows
// the common part alone, with an empty topic name.
void group3(Form1& f) {
  topic_rows::writeTopicNames(f, 3, U" Beschleunigungen     ", kTopics);

  // A loop that cannot close shows its status number and no construction:
  // the registers hold no assembled mechanism to construct on.
  if (!standardPicture(f)) {
    topicHeader(f);
    return;
  }
  velocityBase(f);
  // The drawing scales of accelerations, velocities and lengths.
  {
    const OnLayer note(f.canvas, Layer::Note);
    f.setPosition(890, 130);
    f.print(U"Mb = Mv² / Mz");
  }

  const int topic = topic_rows::topicNumber(f.st.mn2);
  if (topic >= 1 && topic <= static_cast<int>(kTopics.size()))
    for (topic_rows::Scripts step : kTopics[topic - 1].steps) topic_rows::runScripts(f, step);
  topicHeader(f);
}

}  // namespace pm
