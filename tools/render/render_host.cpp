#include "render_host.h"

#include <iostream>
#include <utility>

#include "shell/pictures.h"

namespace pm::render {

namespace {

// The function key that switches the demonstration on and off, if the edition has one.
int demonstrationKey(const Edition& edition) {
  for (std::size_t i = 0; i < edition.functionKeys.size(); ++i)
    if (edition.functionKeys[i] == FunctionKeyAction::Demonstration)
      return kKeyF1 + static_cast<int>(i);
  return 0;
}

}  // namespace

RenderHost::RenderHost(std::vector<std::filesystem::path> pictureFolders, long maxFrames)
    : pictures_(std::move(pictureFolders)), maxFrames_(maxFrames) {}

void RenderHost::setCursor(double x, double y) {
  x_ = x;
  y_ = y;
}

void RenderHost::beginEvent(bool stoppable) {
  stoppable_ = stoppable;
  framesThisEvent_ = 0;
  stopsPressed_ = 0;
}

void RenderHost::processEvents() {
  // Every frame of a run and every step of a demonstration passes here.
  if (!form_ || !stoppable_ || form_->ending) return;
  if (++framesThisEvent_ <= maxFrames_ * (stopsPressed_ + 1)) return;
  const int key = demonstrationKey(form_->edition);
  // First the key that switches the demonstration off; if the sequence has no
  // such key (or goes on regardless), the key that ends the program.
  if (stopsPressed_ == 0 && key != 0 && form_->st.qxy == 1) {
    std::cerr << "planimove-render: " << maxFrames_
              << " frames reached; the demonstration is switched off as by its key\n";
    ++stopsPressed_;
    form_->Form_KeyDown(key, 0);
  } else {
    std::cerr << "planimove-render: " << framesThisEvent_ - 1
              << " frames reached; the sequence is ended as by Esc\n";
    ++stopsPressed_;
    if (beforeEnding) beforeEnding();
    form_->Form_KeyDown(kKeyEsc, 0);
  }
}

void RenderHost::frameReady() {
  if (form_ && form_->runFrame > 0 && onRunFrame) onRunFrame();
  if (form_ && form_->depth == 0) pictures_.forget();  // a command has ended
}

void RenderHost::setBackgroundPicture(const std::string& fileName) {
  backgroundPath_ = fileName.empty() ? std::string() : pictures_.find(fileName);
}

}  // namespace pm::render
