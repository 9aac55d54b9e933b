// The surroundings of the program in the batch renderer: a cursor set by the
// events, no pacing, pictures looked up in the given folder first, and a frame
// limit that stops a demonstration which only a key could stop.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "shell/form1.h"
#include "shell/host.h"
#include "shell/pictures.h"

namespace pm::render {

class RenderHost : public Host {
 public:
  RenderHost(std::vector<std::filesystem::path> pictureFolders, long maxFrames);

  void attach(Form1& form) { form_ = &form; }
  void setCursor(double x, double y);
  // The next top-level event; `stoppable` when it may start a sequence that
  // only a key ends (the demonstration).
  void beginEvent(bool stoppable);

  double cursorX() override { return x_; }
  double cursorY() override { return y_; }
  void processEvents() override;
  // A frame of a full-revolution run goes to onRunFrame (when set).
  void frameReady() override;
  std::function<void()> onRunFrame;
  void setBackgroundPicture(const std::string& fileName) override;
  void quit() override {}

  // Called just before the frame limit ends the program (as by Esc), whose
  // command clears the picture: the last frame can be kept.
  std::function<void()> beforeEnding;

  // Path of the background picture shown now; "" when none (or not found).
  const std::string& backgroundPath() const { return backgroundPath_; }

 private:
  Form1* form_ = nullptr;
  PictureFinder pictures_;
  long maxFrames_;
  double x_ = 0, y_ = 0;
  bool stoppable_ = false;
  long framesThisEvent_ = 0;
  int stopsPressed_ = 0;
  std::string backgroundPath_;
};

}  // namespace pm::render
