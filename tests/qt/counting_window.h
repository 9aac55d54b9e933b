// The main window, counting the pictures it is asked to show.
#pragma once

#include "shell/qt/main_window.h"

namespace pm {

class CountingWindow : public MainWindow {
 public:
  using MainWindow::MainWindow;
  int frames = 0;
  void frameReady() override {
    ++frames;
    MainWindow::frameReady();
  }
};

}  // namespace pm
