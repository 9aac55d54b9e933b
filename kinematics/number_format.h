// Numbers of the values panel in German notation: decimal comma, a real
// minus sign (U+2212) and three significant digits.
#pragma once

#include <string>

namespace pm {

// "128", "1,60", "−0,0456", "12300", "1,23·10⁶"; 0 gives "0", a value that is
// not finite gives "—". Values from 10⁻⁴ to below 10⁶ are written without
// a power of ten.
std::string germanNumber(double v);

}  // namespace pm
