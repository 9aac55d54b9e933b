// A Form1 with a recording canvas and a scripted host, for headless tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "draw/recording_canvas.h"
#include "shell/form1.h"
#include "shell/host.h"

namespace pm::testing {

class FakeHost : public Host {
 public:
  double cx = 0, cy = 0;               // cursor in drawing units
  int eventsProcessed = 0;
  int frames = 0;
  bool quitCalled = false;
  std::string background;              // last background picture ("" none)
  std::vector<std::string> pictures;   // every picture requested
  // Called from processEvents(): lets a test press keys during a run.
  std::function<void()> onProcessEvents;

  double cursorX() override { return cx; }
  double cursorY() override { return cy; }
  void processEvents() override {
    ++eventsProcessed;
    if (onProcessEvents) onProcessEvents();
  }
  void frameReady() override { ++frames; }
  void setBackgroundPicture(const std::string& name) override {
    background = name;
    pictures.push_back(name);
  }
  void quit() override { quitCalled = true; }
};

// Started as the window starts: Form_Activate has built the first picture.
struct TestForm {
  RecordingCanvas canvas;
  FakeHost host;
  Form1 form;
  explicit TestForm(const Edition& edition = planimoveEdition(), bool activate = true)
      : form(canvas, host, edition) {
    if (activate) form.Form_Activate();
  }
  void key(int keyCode, int shift = 0) { form.Form_KeyDown(keyCode, shift); }
  void keyChar(char c, int shift = 0) { form.Form_KeyDown(static_cast<unsigned char>(c), shift); }
  // Shows mechanism type `type` in topic `topic` of group `group` (a rebuild).
  TestForm& show(double type, double group, double topic) {
    form.st.mn0 = type;
    form.st.mn1 = group;
    form.st.mn2 = topic;
    key(kKeyRebuild);
    return *this;
  }
  const DisplayList& picture() const { return canvas.list(); }
};

}  // namespace pm::testing
