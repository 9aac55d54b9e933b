// Locale-independent conversions between numbers and text ("." as decimal
// point whatever the locale). The standard library's floating-point
// from_chars/to_chars do this; where a standard library lacks them (the
// browser build's), the C functions stand in: that library's C locale is
// fixed, so they are locale-independent there too.
#pragma once

#include <cerrno>
#include <charconv>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace pm {

#if defined(__EMSCRIPTEN__)
#define PLANIMOVE_FLOAT_CHARCONV 0
#else
#define PLANIMOVE_FLOAT_CHARCONV 1
#endif

// The stand-ins for a standard library without floating-point charconv,
// built everywhere so that they can be compared with the standard functions.
inline const char* parseFixedWithStrtod(const char* first, const char* last, double& value) {
  const char* end = first;
  if (end < last && *end == '-') ++end;  // a minus sign, as from_chars takes it
  auto digits = [&end, last] {
    const char* start = end;
    while (end < last && *end >= '0' && *end <= '9') ++end;
    return end != start;
  };
  bool any = digits();
  if (end < last && *end == '.') {
    const char* dot = end++;
    const bool fraction = digits();
    if (!fraction && !any) end = dot;
    any = any || fraction;
  }
  if (!any) return nullptr;
  const std::string text(first, end);
  errno = 0;
  const double v = std::strtod(text.c_str(), nullptr);
  if (errno == ERANGE) return nullptr;
  value = v;
  return end;
}

inline char* formatGeneral15WithPrintf(char* buf, std::size_t size, double value) {
  const int n = std::snprintf(buf, size, "%.15g", value);
  return n > 0 && static_cast<std::size_t>(n) < size ? buf + n : buf;
}

// A number in fixed notation (an optional "-", digits, an optional "." and
// digits; no exponent) at the start of [first, last). Returns the end of the number,
// or nullptr when there is none or it is out of range.
inline const char* parseFixed(const char* first, const char* last, double& value) {
#if PLANIMOVE_FLOAT_CHARCONV
  const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
  return ec == std::errc() && end != first ? end : nullptr;
#else
  return parseFixedWithStrtod(first, last, value);
#endif
}

// value >= 0 with up to 15 significant digits, as printf's "%.15g" writes it.
// Returns the end of the text written to buf (at most 32 characters).
inline char* formatGeneral15(char* buf, std::size_t size, double value) {
#if PLANIMOVE_FLOAT_CHARCONV
  const auto [end, ec] = std::to_chars(buf, buf + size, value, std::chars_format::general, 15);
  return ec == std::errc() ? end : buf;
#else
  return formatGeneral15WithPrintf(buf, size, value);
#endif
}

}  // namespace pm
