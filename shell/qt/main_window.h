// The main window "Form1": a menu bar built from the menu table, the picture
// view below it (with the panel "Messwerte" beside it when shown), and the
// Form1 core that every key and menu command enters. The window itself
// carries out the commands of the menu "E&xtras": the panel, copying and
// saving the picture, the animation of one revolution and the diagrams.
// The window is the core's Host: it maps the cursor into drawing units, lets
// pending events run between the frames of a run, shows each complete picture
// and loads the background pictures.
#pragma once

#include <QtCore/QElapsedTimer>
#include <QtCore/QEvent>
#include <QtGui/QImage>
#include <QtWidgets/QMainWindow>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "draw/qt/animation.h"
#include "draw/recording_canvas.h"
#include "shell/edition.h"
#include "shell/form1.h"
#include "shell/host.h"
#include "shell/menu_entry.h"
#include "shell/pictures.h"
#include "topics/page_catalogue.h"

class QAction;
class QKeyEvent;
class QMenu;

namespace pm {

class PictureView;
class SidePanel;
class ValuesPanel;
class DiagramView;
class ClientArea;

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
  ValuesPanel* valuesPanel() const;
  SidePanel* sidePanel() const { return panel_; }
  DiagramView* diagramView() const { return diagrams_; }
  // True once Esc, End or closing the window has ended the program.
  bool hasEnded() const { return ended_; }
  // Shortest time between two shown frames of a run, in milliseconds
  // (0 shows frames as fast as they come).
  void setFrameInterval(int milliseconds) { frameIntervalMs_ = milliseconds; }

  // --- the menu "E&xtras" (also callable without their dialogs) -------------
  void setValuesPanelShown(bool shown);
  bool valuesPanelShown() const;
  // The diagrams over the crank angle beside the picture (F10).
  void setDiagramsShown(bool shown);
  bool diagramsShown() const;
  // The diagrams as PNG or SVG at the size they have (or would have) in the
  // window, or their table as CSV, by the file's extension; false and a
  // message on failure.
  bool saveDiagrams(const QString& file);
  // The picture on screen at the drawing area's size (times the device-pixel ratio).
  QImage pictureImage() const;
  // The picture to the clipboard as image/png and image/svg+xml.
  bool copyPicture();
  // The picture as PNG or SVG by the file's extension, `width` pixels wide
  // (0: the pixels shown on screen, for an SVG the drawing area's size;
  // otherwise its aspect, at most kMaxPictureSide a side). False and a
  // message on failure.
  // `content`: the whole picture as on screen, without the page, emblem and
  // status lines, or the construction alone, cropped to what is drawn (then
  // `width` is the crop's width; 0: as large as on screen).
  bool savePicture(const QString& file, int width = 0, Content content = Content::Whole);
  // One revolution of the crank as an animated GIF at the drawing area's
  // size, 30 ms a frame, looping. Nothing is written (and false) for a crank
  // that cannot turn round, inside a command or when the file cannot be
  // written; the message says why. The state stays as it was.
  bool saveAnimation(const QString& file, int width = kAnimationWidth);
  // Set-ups (shell/setup.h): the state from a file, or into one. A file that
  // is no set-up, or cannot be shown, changes nothing and says why.
  bool openSetup(const QString& file);
  bool saveSetup(const QString& file);
  // The dialog "Maße"; applies what it returns.
  void editDimensions();

  // The view (kept in form().view): framed around the construction, back to
  // the start, zoomed about a point or shifted (user-scale units).
  void fitView();
  void resetView();
  void zoomView(double pictureX, double pictureY, double factor);
  void shiftView(double dx, double dy);
  // The projector mode: stronger lines and labels, no status lines, emblem
  // or page picture, a larger panel font.
  void setProjectorMode(bool on);
  bool projectorMode() const { return projector_; }
  // How the picture is shown now.
  ViewOptions viewOptions() const;
  // The last message of these commands; message boxes can be switched off
  // (tests), the message still goes to stderr.
  const QString& lastMessage() const { return lastMessage_; }
  void setMessageBoxes(bool on) { messageBoxes_ = on; }

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
  void runWindowCommand(WindowCommand command);
  void chooseAndSavePicture();
  void chooseAndOpenSetup();
  void chooseAndSaveSetup();
  // False (and a message) while a run or the demonstration goes on.
  bool idle(const QString& what);
  void chooseExercise();
  void answerExercise(QPointF drawingPoint);
  void chooseAndSaveAnimation();
  void chooseAndSaveDiagrams();
  void refreshDiagrams();
  void crankAnglePicked(double degrees);
  QString nameToSave(const QString& chosen, const char* extension);
  // The name a save dialog of these formats gives (see nameToSave); empty
  // when cancelled.
  QString chooseSaveName(const QString& title, const QString& suggested, const QString& filters,
                         const std::vector<const char*>& extensions);
  // Records one revolution into a GIF in memory; empty and a message when
  // there is nothing to record.
  std::vector<AnimationFrame> recordRevolution();
  // The GIF of recorded frames at a width (the picture's aspect), with a
  // progress dialog that can cancel it where asked; empty and a message
  // when it cannot be made or was cancelled.
  std::vector<std::uint8_t> encodeFrames(const std::vector<AnimationFrame>& frames, int width,
                                         bool showProgress);
  bool writeAnimation(const std::vector<std::uint8_t>& bytes, const QString& file);
  // Writes the file through the atomic writer; on failure a message naming
  // `what` ("Das Bild"), the file and the reason.
  bool writeFile(const QString& file, std::string_view bytes, const QString& what);
  void report(const QString& message, bool error);
  void refreshValues();
  // The background picture as the view shows it: an explanatory page moves
  // into the side panel while that is shown, and the band stays free.
  const QImage& shownBackground() const;
  void refreshPage();
  void refreshCheckMarks();
  void showViewOptions();
  // Where the page picture covers the picture, when one is shown.
  std::optional<Area> pageArea() const;
  bool isAccessLetter(const QKeyEvent& event) const;
  bool isOwnKeyEvent(QObject* watched) const;
  static bool isUserInput(QEvent::Type type);
  void endProgram();
  void paceFrame();

  RecordingCanvas canvas_;
  Form1 form_;
  PictureView* view_ = nullptr;
  SidePanel* panel_ = nullptr;
  DiagramView* diagrams_ = nullptr;
  ClientArea* client_ = nullptr;
  QAction* panelAction_ = nullptr;
  QAction* projectorAction_ = nullptr;
  bool projector_ = false;
  QAction* diagramsAction_ = nullptr;
  // While an animation is recorded: the encoder the run frames go to.
  std::vector<AnimationFrame>* recording_ = nullptr;
  QString lastMessage_;
  bool messageBoxes_ = true;

  std::vector<std::pair<std::string, QAction*>> checkableItems_;
  std::vector<int> accessKeys_;  // Qt keys of the top-level menus' access letters

  PictureFinder pictures_;       // the edition's picture folders
  std::string backgroundName_;  // picture requested by the command being built
  QImage background_;           // its image (null: none)
  std::optional<PageRef> page_;  // the explanatory page it is, if it is one

  // While a click answers an exercise: the clicked point, which the core
  // reads as the cursor.
  std::optional<QPointF> clicked_;

  QElapsedTimer lastFrame_;
  int frameIntervalMs_ = 30;
  bool activated_ = false;
  bool ended_ = false;
};

}  // namespace pm
