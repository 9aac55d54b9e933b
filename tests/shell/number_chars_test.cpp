// The stand-ins for floating-point charconv (used by the browser build) give
// exactly what the standard functions give, on the number texts of the
// parameter strings and on the edges: no digits, a lone ".", trailing text,
// long digit strings, overflow and underflow.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "shell/number_chars.h"

namespace pm {
namespace {

TEST(NumberChars, FixedParseMatchesFromChars) {
  const std::vector<std::string> texts = {
      "0", "7", "120", "120.5", "0.25", ".5", "5.", "3.14159265358979323846", "007.50",
      "12:34", "1.5e3", "2x", ".", "", "abc", "-3", "+4", "99999.0001",
      std::string(40, '9'), "1" + std::string(400, '0'), "0." + std::string(400, '0') + "1",
      "0.000000000000000000000000000000000000000000000000000000000000001", "1.7976931348623157",
  };
  for (const std::string& t : texts) {
    double expected = -1, actual = -1;
    const char* first = t.data();
    const char* last = t.data() + t.size();
    const auto [stdEnd, ec] = std::from_chars(first, last, expected, std::chars_format::fixed);
    const char* wantEnd = (ec == std::errc() && stdEnd != first) ? stdEnd : nullptr;
    const char* gotEnd = parseFixedWithStrtod(first, last, actual);
    EXPECT_EQ(gotEnd, wantEnd) << "\"" << t << "\"";
    if (wantEnd != nullptr && gotEnd != nullptr) {
      EXPECT_EQ(actual, expected) << "\"" << t << "\"";
    }
    EXPECT_EQ(parseFixed(first, last, actual), wantEnd) << "\"" << t << "\"";
  }
}

TEST(NumberChars, GeneralFormatMatchesToChars) {
  const std::vector<double> values = {
      0, 1, 0.1, 0.5, 2.0 / 3, 120.5, 1e15, 1e16, 123456789012345678.0, 1e-5, 1e-4, 0.0001234,
      3.141592653589793, 1e300, std::numeric_limits<double>::denorm_min(),
      std::numeric_limits<double>::max(), 99999, 1.0 / 7 * 1e-20};
  for (double v : values) {
    char a[64], b[64];
    const auto [end, ec] = std::to_chars(a, a + sizeof a, v, std::chars_format::general, 15);
    ASSERT_EQ(ec, std::errc());
    const char* got = formatGeneral15WithPrintf(b, sizeof b, v);
    EXPECT_EQ(std::string(static_cast<const char*>(b), got), std::string(a, end)) << v;
  }
}

}  // namespace
}  // namespace pm
