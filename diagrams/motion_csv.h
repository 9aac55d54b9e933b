// The table over the crank angle as a CSV file for spreadsheets: UTF-8 with
// a byte-order mark, ";" between the cells, a decimal comma, one row per
// crank angle under a row of headers ("φ [°]", "ω Kurbel [1/s]", …).
#pragma once

#include <string>

#include "kinematics/motion_table.h"

namespace pm {

// The whole file. Cells without a value stay empty.
std::string motionCsv(const kinematics::MotionTable& table);

// A cell: six significant digits (at most nine decimals),
// no power of ten, a decimal comma and the ASCII minus that spreadsheets read.
std::string csvNumber(double v);

}  // namespace pm
