// The cursor point of the placement keys and the grid spacing it snaps to.
#pragma once

#include <cstdint>

#include "script/registers.h"

namespace pm {

class Form1;

// Grid spacing in whole drawing units; 0 when there is no usable grid (a
// spacing below one unit or not a number).
std::int64_t gridSpacing(double rtt);

// The cursor in drawing units, snapped to the grid when it is on, stored as
// point K (register 27) and returned.
Point cursorPoint(Form1& f);

}  // namespace pm
