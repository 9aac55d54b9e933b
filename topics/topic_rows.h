// Helpers shared by the group routines of the poles, velocity, acceleration and
// curvature topics: the topic number of the state record as a safe index, the
// name lists of the header, and running a list of scripts in order.
#pragma once

#include <cmath>
#include <span>
#include <string_view>

#include "shell/form1.h"

namespace pm::topic_rows {

using Scripts = std::span<const std::u32string_view>;

// The topic field as an index; anything that is not a small whole number (a
// corrupted or not yet clamped field) selects no topic.
inline int topicNumber(double mn2) {
  if (!std::isfinite(mn2) || mn2 < -1000 || mn2 > 1000) return -1;
  return static_cast<int>(mn2);
}

// Writes the group's name at its own index of the group list and the names of
// a topic table (rows with `.name`) at 1, 2, … of the topic list; the header
// prints the current pair.
template <typename Table>
void writeTopicNames(Form1& f, int group, std::u32string_view groupName, const Table& topics) {
  f.cmd.groupNames[group] = std::u32string(groupName);
  for (std::size_t i = 0; i < topics.size() && i + 1 < f.cmd.topicNames.size(); ++i)
    f.cmd.topicNames[i + 1] = std::u32string(topics[i].name);
}

// A topic drawn by one function of its group.
struct FunctionTopic {
  std::u32string_view name;
  void (*draw)(Form1&);
};

inline void runScripts(Form1& f, Scripts scripts) {
  for (std::u32string_view s : scripts) f.run(s);
}

}  // namespace pm::topic_rows
