// Test helper of the browser tests: paints a display list given as JSON with
// the window's painter into a PNG, and writes the same list in the flat form
// the page reads, so that the page's painter can be compared with the
// window's on any primitive, not only on those the topics draw.
// Usage: paint_list <list.json> <width> <height> <out.png> <out-flat.json>
#include <QtGui/QGuiApplication>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "draw/json.h"
#include "draw/qt/painter_backend.h"
#include "draw/qt/qt_fonts.h"
#include "web/display_list_buffer.h"

int main(int argc, char** argv) {
  if (argc != 6) {
    std::cerr << "usage: paint_list <list.json> <width> <height> <out.png> <out-flat.json>\n";
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  pm::installFontSubstitutions();

  std::ifstream in(argv[1]);
  const nlohmann::json doc = nlohmann::json::parse(in, nullptr, false);
  if (doc.is_discarded()) {
    std::cerr << "paint_list: " << argv[1] << " is not JSON\n";
    return 1;
  }
  std::string problems;
  const pm::DisplayList list = pm::displayListFromJson(doc, &problems);
  if (!problems.empty()) {
    std::cerr << "paint_list: " << problems << "\n";
    return 1;
  }
  const QSize size(std::stoi(argv[2]), std::stoi(argv[3]));
  std::string error;
  if (!pm::writePng(list, nullptr, argv[4], error, size)) {
    std::cerr << "paint_list: cannot write " << argv[4] << " (" << error << ")\n";
    return 1;
  }

  pm::DisplayListBuffer buffer;
  buffer.fill(list);
  const nlohmann::json flat = {{"numbers", buffer.numbers()}, {"texts", buffer.texts()}};
  std::ofstream out(argv[5]);
  out << flat.dump();
  return out.flush() ? 0 : 1;
}
