// The topic catalogue: mechanism types and their assembly, parameter strings,
// the presentation stage and the constructions of the ten topic groups. Every
// routine works on the Form1 of the running command.
#pragma once

#include <string_view>

namespace pm {

class Form1;

// --- parameter strings (topics/parameters.cpp) -----------------------------
void loadParameters(Form1& f);    // strings of type mn0 → len/val a … z, with offsets
void resetLengths(Form1& f);      // Home, key "0" outside the synthesis
void resetPositions(Form1& f);    // key "0" in the synthesis group
void recordParameters(Form1& f);  // len/val a … z → gg/hg

// --- mechanism types and assembly (topics/mechanism.cpp) ----------------------
void caseAndTurnClass(Form1& f);  // loopCase and turnClass from |len| a … d
void printTitle(Form1& f);        // number item and title at (20, 690)
// Drive step and assembly; false when the loop cannot close (picture stops).
// The short form (six-bar topics) ends after the dead-position reversal.
bool driveStep(Form1& f, bool shortForm = false);
bool standardPicture(Form1& f);    // false: stopped (status number shown)
void fullRevolutionRun(Form1& f);  // keys "1", "2" and the demonstration

// --- presentation stage (topics/presentation.cpp) -----------------------------
void presentationStage(Form1& f);
// The place in the catalogue that the stepping table works on.
struct TopicPlace {
  double mn0, mn1, mn2, mn5;
};
// The stepping table applied to a place: where the rebuild shows it.
TopicPlace steppedTopic(TopicPlace t);
void topicStepping(Form1& f);
// Down (+1) and Up (-1): with the pages shown, the page turns within the
// topic's shipped pages; past its last page Down opens the next topic and
// on page 0 Up the previous one, each on its page 0; with the pages hidden
// the arrows change the topic. The stepping of the rebuild then keeps the
// topic in the catalogue.
void turnPageOrTopic(Form1& f, int direction);
// Shift+Down (+1) and Shift+Up (-1): topic 1, page 0 of the next or previous
// group; past the last group it stays there.
void stepGroup(Form1& f, int direction);
inline constexpr double kLastGroup = 10;
void explanatoryPicture(Form1& f);
void topicHeader(Form1& f);  // last action of group routines 1 … 8
void runGroup(Form1& f, int group);
void demonstration(Form1& f);
void drawGrid(Form1& f);
void dataReadout(Form1& f);                 // topics/readout.cpp
// The integer part the read-out prints: rounded towards minus infinity, after
// noise of less than 1e-9 around a whole number has been rounded away.
double readoutInteger(double v);
void mousePlacement(Form1& f, char32_t key);  // topics/placement.cpp, keys A–S, X, Y, Z

// --- constructions ----------------------------------------------------------
void velocityBase(Form1& f);  // velocity and acceleration base shared by groups 2–4, 6, 7, 9
void group1(Form1& f);        // poles, centrodes, coupler curve
void group2(Form1& f);        // velocities
void group3(Form1& f);        // accelerations
void group4(Form1& f);        // curvature
void group5(Form1& f);        // coupler curves and Roberts cognates
void group6(Form1& f);        // pole-change velocity and evolute
void group7(Form1& f);        // relative motion
void group8(Form1& f);        // six-bar chains
void group9(Form1& f);        // worked example of the moving plane
void group10(Form1& f);       // four-position synthesis
void synthesisTaskDisplay(Form1& f);              // first picture of the synthesis (type 9)
void synthesisLetterKey(Form1& f, char32_t key);  // keys T, U, V, W

}  // namespace pm
