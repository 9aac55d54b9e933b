// UTF-32 script text to UTF-8 and back, for messages, files and JSON.
// Code points that cannot be encoded become U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace pm {

std::string toUtf8(std::u32string_view text);
std::u32string fromUtf8(std::string_view text);

}  // namespace pm
