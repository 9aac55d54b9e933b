// Placeholder so that the tree links while this file is being written.
#include "topics/topics.h"
namespace pm {
void presentationStage(Form1&) {}
void topicStepping(Form1&) {}
void explanatoryPicture(Form1&) {}
void topicHeader(Form1&) {}
void runGroup(Form1&, int) {}
void demonstration(Form1&) {}
void drawGrid(Form1&) {}
}  // namespace pm
