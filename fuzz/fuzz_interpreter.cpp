// Fuzzes the interpreter with arbitrary script text, drawing included.
#include <cstddef>
#include <cstdint>
#include <string>

#include "draw/drawing_ops.h"
#include "draw/recording_canvas.h"
#include "script/engine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // First byte: how the rest becomes code points. Mode 0 reads Latin-1 bytes
  // (the characters scripts use); mode 1 reads 3-byte code points of any value.
  std::u32string script;
  if (data[0] % 2 == 0) {
    for (std::size_t i = 1; i < size; ++i) script.push_back(data[i]);
  } else {
    for (std::size_t i = 1; i + 2 < size; i += 3)
      script.push_back(static_cast<char32_t>(data[i] | data[i + 1] << 8 | (data[i + 2] & 0x1f) << 16));
  }
  static pm::RecordingCanvas canvas;
  pm::Engine engine;
  pm::DrawingOps drawing(engine, canvas);
  engine.setDrawingHook(&drawing);
  engine.setTextOutput(&canvas);
  canvas.clear();
  engine.beginCommand();
  drawing.beginCommand();
  for (int i = 0; i < 10; ++i) engine.reg.px[17 + i] = 37.5 * i, engine.reg.py[17 + i] = 11.0 * i * i;
  engine.run(script);
  engine.run(U"::");  // empty commands repeat whatever the fuzzed script left in cmdCode
  return 0;
}
