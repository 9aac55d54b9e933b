// The sources of the explanatory pages as built into the program: one entry
// per topic source file "Bild<group><topic>.txt" of data/pictures/source/pages.
// The definition is generated at build time (cmake/EmbedPages.cmake).
#pragma once

#include <span>
#include <string_view>

namespace pm {

struct TopicSource {
  std::string_view digits;  // group and topic digits of the file name ("57", "101")
  std::string_view text;    // the whole source, UTF-8
};

std::span<const TopicSource> topicSources();

}  // namespace pm
