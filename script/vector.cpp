// Placeholder so that the tree links while this file is being written.
#include "script/vector.h"
namespace pm {
void polarStd(Scratch&) {}
void polarScreen(Scratch&) {}
void vectorFromPolar(Scratch&) {}
void intersectLines(Scratch&, double, double, double, double, double, double, double, double) {}
}  // namespace pm
