// What the core needs from its surroundings (the window, the batch renderer or
// a test): the cursor, pending events, the background picture, frames, quitting.
#pragma once

#include <string>

namespace pm {

class Host {
 public:
  virtual ~Host() = default;

  // Mouse cursor in drawing units of the user scale (same mapping as the picture).
  virtual double cursorX() = 0;
  virtual double cursorY() = 0;

  // Lets the window process pending events (runs and demonstrations call it
  // between frames); a key pressed meanwhile arrives as a nested command.
  virtual void processEvents() = 0;

  // The canvas holds a complete picture (end of a command, or one frame of a
  // run): the window shows it now. No partial picture is ever shown.
  virtual void frameReady() = 0;

  // Background picture by file name ("Bild120.gif"), looked up in the picture
  // folders; "" removes it. A missing or unreadable file leaves no picture.
  virtual void setBackgroundPicture(const std::string& fileName) = 0;

  // Esc, End or closing the window: end the program. The core unwinds every
  // running loop after this call.
  virtual void quit() = 0;
};

// A host without a window, for benchmarks, fuzzing and tools: the cursor
// stands where it is put, events and frames are ignored, nothing is shown.
class QuietHost : public Host {
 public:
  double x = 0, y = 0;  // the cursor

  double cursorX() override { return x; }
  double cursorY() override { return y; }
  void processEvents() override {}
  void frameReady() override {}
  void setBackgroundPicture(const std::string&) override {}
  void quit() override {}
};

}  // namespace pm
