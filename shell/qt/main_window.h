// The main window "Form1": a menu bar built from the menu table, the picture
// view below it, and the Form1 core that every key and menu command enters.
// The window is the core's Host: it maps the cursor into drawing units, lets
// pending events run between the frames of a run, shows each complete picture
// and loads the background pictures.
#pragma once

#include <QtCore/QElapsedTimer>
#include <QtGui/QImage>
#include <QtWidgets/QMainWindow>
#include <string>
#include <utility>
#include <vector>

#include "draw/recording_canvas.h"
#include "shell/edition.h"
#include "shell/form1.h"
#include "shell/host.h"

class QAction;
class QKeyEvent;
class QMenu;

namespace pm {

class PictureView;

class MainWindow : public QMainWindow, public Host {
  Q_OBJECT
 public:
  explicit MainWindow(const Edition& edition, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Start-up of the program (start values, emblem, first picture); runs once.
  void activate();

  Form1& form() { return form_; }
  // The picture being recorded by the current command.
  const RecordingCanvas& canvas() const { return canvas_; }
  PictureView* view() const { return view_; }
  // True once Esc, End or closing the window has ended the program.
  bool hasEnded() const { return ended_; }
  // Shortest time between two shown frames of a run, in milliseconds
  // (0 shows frames as fast as they come).
  void setFrameInterval(int milliseconds) { frameIntervalMs_ = milliseconds; }

  // Host
  double cursorX() override;
  double cursorY() override;
  void processEvents() override;
  void frameReady() override;
  void setBackgroundPicture(const std::string& fileName) override;
  void quit() override;

 signals:
  // The program ends (Esc, End or the window was closed): leave the event loop.
  void programEnded();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenuBar();
  void runMenuCommand(const std::string& name);
  void refreshCheckMarks();
  bool isAccessLetter(const QKeyEvent& event) const;
  bool isOwnKeyEvent(QObject* watched) const;
  void endProgram();
  void paceFrame();

  RecordingCanvas canvas_;
  Form1 form_;
  PictureView* view_ = nullptr;

  std::vector<std::pair<std::string, QAction*>> checkableItems_;
  std::vector<int> accessKeys_;  // Qt keys of the top-level menus' access letters

  std::string backgroundName_;  // picture requested by the command being built
  QImage background_;           // its image (null: none)

  QElapsedTimer lastFrame_;
  int frameIntervalMs_ = 30;
  bool activated_ = false;
  bool ended_ = false;
};

}  // namespace pm
