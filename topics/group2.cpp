// Group 2, " Geschwindigkeiten    ": the velocities of the four-bar, as vector
// sum, rotated velocities, pole rays, velocity plan and by Burmester's theorem.
// Every topic draws over the mechanism and the velocity base.
#include <array>

#include "topics/topic_rows.h"
#include "topics/topics.h"
#include "topics/velocity_scripts.h"

namespace pm {

namespace {

using namespace velocity_scripts;

struct Topic {
  std::u32string_view name;
  std::array<topic_rows::Scripts, 4> steps;  // drawn in this order
};

const std::array<Topic, 6> kTopics = {{
    {U" Antrieb              ", {kV1}},
    {U" Vektorsumme          ", {kV1, kV2}},
    {U" gedrehte Geschw.     ", {kV3, kV4}},
    {U" Polstrahlen          ", {kV5, kV3, kV4}},
    {U" Vektorplan           ", {kV3, kV6}},
    {U" Burmester u.Mehmke   ", {kV7, kV3, kV6, kV8}},
}};

}  // namespace

void group2(Form1& f) {
  topic_rows::writeTopicNames(f, 2, U" Geschwindigkeiten    ", kTopics);

  // A loop that cannot close shows its status number and no construction:
  // the registers hold no assembled mechanism to construct on.
  if (!standardPicture(f)) {
    topicHeader(f);
    return;
  }
  velocityBase(f);
  const int topic = topic_rows::topicNumber(f.st.mn2);
  if (topic >= 1 && topic <= static_cast<int>(kTopics.size()))
    for (topic_rows::Scripts step : kTopics[topic - 1].steps) topic_rows::runScripts(f, step);
  topicHeader(f);
}

}  // namespace pm
