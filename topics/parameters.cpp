// Placeholder so that the tree links while this file is being written.
#include "topics/topics.h"
namespace pm {
void loadParameters(Form1&) {}
void resetLengths(Form1&) {}
void resetPositions(Form1&) {}
void recordParameters(Form1&) {}
}  // namespace pm
