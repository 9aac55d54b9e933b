// Placeholder so that the tree links while this file is being written.
#include "topics/topics.h"
namespace pm {
void group1(Form1&) {}
}  // namespace pm
