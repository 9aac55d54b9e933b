// Pieces of the mechanism routines that the presentation stage, the placement
// keys and the tests use directly.
#pragma once

#include <functional>
#include <string_view>

namespace pm {

class Form1;

// Frames of one full-revolution run (90 steps of 4° make one turn with the presets).
inline constexpr int kRevolutionFrames = 90;

struct LoopClass {
  int loopCase = 0;   // 0 … 7 from the link lengths
  int turnClass = 0;  // 0 … 3; only 0 and 1 turn through a full revolution
};

// Case number and turn class of the four lengths |len| a … d as loaded now;
// changes nothing.
LoopClass classifyLoop(Form1& f);
// The same for four given lengths (signs ignored).
LoopClass classifyLengths(double a, double b, double c, double d);

// The title of a loop case 0 … 7 (with its leading blank); empty for any other.
std::u32string_view caseTitle(int loopCase);

// The title of the types 6, 7 and 8, whose guide is a practically infinite
// link and which carry case 8; empty for any other type.
std::u32string_view sliderTitle(double type);

// The crank angle brought into [0, 2π]; a value that is not finite gives 0.
double normalisedCrankAngle(double a);

// The frames of a full-revolution run, each turning the crank one step
// (turning) or standing still; stop() is asked after the pending events of
// every frame have been processed and ends the run early when it is true.
void revolutionFrames(Form1& f, bool turning, const std::function<bool()>& stop);

// Notes the mechanism as the registers hold it now as the one this command
// shows (lengths, pivot, frame and crank angle, link-letter positions).
void noteShownMechanism(Form1& f);

}  // namespace pm
