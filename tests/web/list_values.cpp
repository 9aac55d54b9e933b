// Test helper of the browser tests: applies events to the core as the batch
// renderer does and prints the lines of the values panel for the state they
// leave, so that the page's panel can be compared with the native program's.
// Usage: list_values <planimove|rautenwerk> "<events>"
// Output: a JSON array of [name, value] pairs (a heading has an empty value).
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "draw/recording_canvas.h"
#include "kinematics/measured_values.h"
#include "shell/form1.h"
#include "tools/render/render_host.h"
#include "tools/render/render_options.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: list_values <planimove|rautenwerk> \"<events>\"\n";
    return 2;
  }
  const std::string editionName = argv[1];
  if (editionName != "planimove" && editionName != "rautenwerk") {
    std::cerr << "list_values: no edition " << editionName << "\n";
    return 2;
  }
  const pm::Edition& edition =
      editionName == "rautenwerk" ? pm::rautenwerkEdition() : pm::planimoveEdition();
  std::string error;
  const auto events = pm::render::parseEvents(argv[2], edition, error);
  if (!events) {
    std::cerr << "list_values: " << error << "\n";
    return 2;
  }

  pm::RecordingCanvas canvas;
  pm::render::RenderHost host({}, 5000);
  pm::Form1 form(canvas, host, edition);
  host.attach(form);
  host.beginEvent(false);
  form.Form_Activate();
  for (const pm::render::Event& e : *events) {
    if (form.ending) break;
    if (e.cursorX) host.setCursor(*e.cursorX, *e.cursorY);
    host.beginEvent(false);
    if (e.kind == pm::render::Event::Kind::Menu) {
      form.menuCommand(e.menu);
    } else {
      form.Form_KeyDown(e.keyCode, e.shift);
    }
  }
  nlohmann::json lines = nlohmann::json::array();
  for (const pm::MeasuredValue& v : pm::measuredValues(form)) lines.push_back({v.name, v.value});
  std::cout << lines.dump() << "\n";
  return 0;
}
