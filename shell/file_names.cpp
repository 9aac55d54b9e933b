#include "shell/file_names.h"

#include <algorithm>
#include <array>

namespace pm {

namespace {

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

// Extensions a user may type by habit for the files this program writes;
// such an extension is exchanged rather than kept before the right one.
constexpr std::array<std::string_view, 12> kExchanged = {
    "png", "svg", "gif", "jpg", "jpeg", "bmp", "webp", "tif", "tiff", "json", "pdf", "txt"};

}  // namespace

std::string_view fileExtension(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return {};
  return name.substr(dot + 1);
}

std::string withExtension(std::string_view path, std::string_view extension) {
  const std::size_t slash = path.rfind('/');
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  // Trailing dots belong to no extension ("trail." is "trail").
  while (path.size() > nameStart + 1 && path.back() == '.') path.remove_suffix(1);
  const std::string_view current = fileExtension(path);
  if (equalIgnoringAsciiCase(current, extension)) return std::string(path);
  const bool exchange = std::any_of(kExchanged.begin(), kExchanged.end(), [&](std::string_view e) {
    return equalIgnoringAsciiCase(current, e);
  });
  if (exchange) path.remove_suffix(current.size() + 1);
  return std::string(path) + "." + std::string(extension);
}

}  // namespace pm
