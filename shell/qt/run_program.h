// The main function shared by the two programs: the application, the window of
// the given edition shown maximised, start-up, the event loop.
#pragma once

#include "shell/edition.h"

namespace pm {

int runProgram(int argc, char** argv, const Edition& edition);

}  // namespace pm
