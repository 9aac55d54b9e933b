// The table over the crank angle for the mechanism on screen: what the drive
// step of the last command or run frame noted, in mm, with the drive of the
// values panel; and the crank moved to an angle picked in a diagram.
#pragma once

#include <optional>
#include <string>

#include "kinematics/motion_table.h"

namespace pm {

class Form1;

// The mechanism the last command showed, or nothing (no mechanism shown).
std::optional<kinematics::TabledMechanism> shownMechanism(const Form1& form);

// Its table, or nothing and the reason in German ("Getriebe nicht dargestellt").
struct ShownTable {
  std::optional<kinematics::MotionTable> table;
  std::string reason;
};
ShownTable shownMotionTable(const Form1& form);

// Turns the crank to the crank angle `degrees` (as φ is listed) and rebuilds
// the picture. Does nothing (false) inside a command or where no mechanism is
// shown.
bool turnCrankTo(Form1& form, double degrees);

}  // namespace pm
