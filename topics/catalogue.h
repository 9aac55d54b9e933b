// The topic catalogue: the on-screen names of the ten topic groups and their
// topics, trailing blanks included (the header prints them side by side).
#pragma once

#include <string_view>

namespace pm {

class Form1;

// Name of group g (1 … 10); empty for any other group.
std::u32string_view groupName(int group);
// Name of topic t of group g; empty where the catalogue has no entry.
std::u32string_view topicName(int group, int topic);
// The last topic of group g that has a name (the last one the menus and the
// arrow keys show); 0 for a group outside the catalogue.
int lastTopic(int group);
// Writes group g's name at index g of the group list and its topic names at
// 1, 2, … of the topic list.
void writeCatalogueNames(Form1& f, int group);

}  // namespace pm
