// Texts of the labelled point circles: which text a point register's label
// shows depends on the topic (four-bar poles, synthesis positions, or the
// construction points of the other topics).
#pragma once

#include <string>

namespace pm {

// Label text of the point register with code `operand` for topic group mn1 and
// topic mn2; an operand missing from the topic's table prints its own letter.
std::u32string labelText(int mn1, int mn2, int operand);

// Label of a synthesis position shown beside the synthesised mechanism ("A1"
// … "B4"): there the mouse keys of group 10 do not apply, and the letters of
// the position registers (A … H) would name the joints A, B and C twice.
std::u32string positionLabel(int operand);

}  // namespace pm
