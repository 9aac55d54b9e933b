# Writes OUT, the C++ definition of topicSources() (topics/page_sources.h):
# every topic source Bild<digits>.txt of PAGES_DIR as a string literal.
# Run as: cmake -DPAGES_DIR=… -DOUT=… -P EmbedPages.cmake
file(GLOB sources "${PAGES_DIR}/Bild*.txt")
list(SORT sources)
set(entries "")
foreach(source ${sources})
  get_filename_component(name "${source}" NAME_WE)
  string(SUBSTRING "${name}" 4 -1 digits)
  file(READ "${source}" text)
  string(FIND "${text}" ")page\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${source} holds the delimiter )page\"")
  endif()
  string(APPEND entries "    {\"${digits}\", R\"page(${text})page\"},\n")
endforeach()
set(body "// Generated from ${PAGES_DIR} by cmake/EmbedPages.cmake; do not edit.
#include \"topics/page_sources.h\"

namespace pm {
namespace {
constexpr TopicSource kSources[] = {
${entries}};
}  // namespace

std::span<const TopicSource> topicSources() { return kSources; }

}  // namespace pm
")
file(WRITE "${OUT}.new" "${body}")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different "${OUT}.new" "${OUT}")
file(REMOVE "${OUT}.new")
