// Fuzzes the parameter-string loader: arbitrary recorded strings for the types
// that load them, and arbitrary mechanism types.
#include <cstddef>
#include <cstdint>
#include <string>

#include "draw/recording_canvas.h"
#include "shell/form1.h"
#include "shell/host.h"
#include "topics/topics.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  static pm::RecordingCanvas canvas;
  static pm::QuietHost host;
  pm::Form1 form(canvas, host, pm::planimoveEdition());
  const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::size_t cut = text.size() * data[1] / 256;
  form.st.gg = text.substr(0, cut);
  form.st.hg = text.substr(cut);
  form.st.mn0 = static_cast<std::int8_t>(data[0]);  // also types outside the table
  form.st.qzz = 1;
  form.engine.beginCommand();
  pm::loadParameters(form);
  pm::recordParameters(form);
  form.engine.beginCommand();
  form.st.mn0 = 9;
  pm::loadParameters(form);
  return 0;
}
