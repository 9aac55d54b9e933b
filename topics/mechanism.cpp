// Placeholder so that the tree links while this file is being written.
#include "topics/topics.h"
namespace pm {
void caseAndTurnClass(Form1&) {}
void printTitle(Form1&) {}
bool driveStep(Form1&, bool) { return true; }
bool standardPicture(Form1&) { return true; }
void fullRevolutionRun(Form1&) {}
}  // namespace pm
