// Placeholder so that the tree links while this file is being written.
#include "topics/topics.h"
namespace pm {
void mousePlacement(Form1&, char32_t) {}
}  // namespace pm
