// Fuzzes the event grammar and the argument parser of the batch renderer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/render/render_options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string error;
  (void)pm::render::parseEvents(text, pm::planimoveEdition(), error);
  (void)pm::render::parseEvents(text, pm::rautenwerkEdition(), error);
  // The same bytes as a command line: split at NUL bytes into arguments.
  std::vector<std::string> args;
  std::string current;
  for (char c : text) {
    if (c == '\0') {
      args.push_back(current);
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  args.push_back(current);
  (void)pm::render::parseOptions(args, error);
  return 0;
}
