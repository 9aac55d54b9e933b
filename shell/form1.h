// Form1: the program without its window. It owns the state record, the script
// engine and the drawing operations, and has the one command handler that every
// key and menu command enters. The Qt window, the batch renderer and the tests
// each drive a Form1 through a Canvas and a Host.
#pragma once

#include <array>
#include <optional>
#include <numbers>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "draw/canvas.h"
#include "draw/drawing_ops.h"
#include "draw/view.h"
#include "exercise/exercise_state.h"
#include "script/engine.h"
#include "shell/edition.h"
#include "shell/host.h"
#include "shell/state_record.h"
#include "topics/synthesis_check.h"

namespace pm {

// Key codes (Windows virtual keys) and the Shift bit set 1 Shift, 2 Ctrl, 4 Alt.
enum KeyCode : int {
  kKeyRebuild = 5,
  kKeyBackspace = 8,
  kKeyEsc = 27,
  kKeySpace = 32,
  kKeyPgUp = 33,
  kKeyPgDn = 34,
  kKeyEnd = 35,
  kKeyHome = 36,
  kKeyLeft = 37,
  kKeyUp = 38,
  kKeyRight = 39,
  kKeyDown = 40,
  kKeyF1 = 112,  // F1 … F9 are 112 … 120
};
enum ShiftBits : int { kShift = 1, kCtrl = 2, kAlt = 4 };

// The mechanism as the drive step and the standard picture of this command
// left it: what the data read-out lists and where the link letters stand,
// whatever the topic's later scripts and traces write into the registers.
struct ShownMechanism {
  bool taken = false;
  std::array<double, 26> lengths{};  // len a … z (v drive speed, x tangential acceleration of A)
  double pivotX = 0, pivotY = 0;     // val a, val b
  double frameAngle = 0;             // val d, degrees
  double crankAngle = 0;             // ang a, radians in [0, 2π]
  // The state the registers were loaded and the drive stepped with: the zoom
  // qzz, the sense of stepping qgw, the type mn0 and the topic mn1, mn2.
  double zoom = 1, sense = 0, type = 0, group = 0, topic = 0;
  // Label positions (len, ang at k + 80) of the vector registers 1 … 64.
  std::array<double, 65> labelX{}, labelY{};
};

// What one command (one call of Form_KeyDown) knows beyond the state record.
// Reset by the prologue of every command.
struct CommandState {
  int keyCode = 0;
  int shift = 0;
  char32_t key = 0;      // the character whose code is keyCode
  int loopCase = 0;      // case number of the four-bar, 0 … 8
  int turnClass = 0;     // 0 … 3; runs turn only for 0 and 1
  int traceCounter = 0;  // counter k of the running curve-tracing loop (0 outside one)
  // The command asks the drive for one step in the sense qgw: Space,
  // Backspace, Left and Right, every frame of a run, and the pages of the
  // step-by-step construction that move the crank. The drive step takes it,
  // so a second drive step in the same command stands still.
  bool stepAsked = false;
  ShownMechanism shown;
  std::array<std::u32string, 21> groupNames;  // group name list, 1 … 20
  std::array<std::u32string, 21> topicNames;  // topic name list, 1 … 20
  std::u32string headerScratch;               // fifth item of the topic header
  std::vector<ScriptError> errors;            // script faults of this command
  // The four-bar the synthesis reported on in this command, for the values panel.
  std::optional<SynthesisFourBar> synthesisFourBar;

  // Takes the step request: true once if the command asked for a step.
  bool takeStep() { return std::exchange(stepAsked, false); }
  // A nested command drew the picture now on screen: what it found out about
  // that picture (the mechanism, its class, the synthesis four-bar) becomes
  // this command's, so that the values panel describes what is shown.
  void takePictureOf(CommandState&& nested) {
    shown = nested.shown;
    loopCase = nested.loopCase;
    turnClass = nested.turnClass;
    synthesisFourBar = std::move(nested.synthesisFourBar);
  }
  // A frame of a run starts a new picture: nothing is known about it yet.
  void forgetPicture() {
    shown = ShownMechanism{};
    synthesisFourBar.reset();
  }
};

class Form1 {
 public:
  Form1(Canvas& canvas, Host& host, const Edition& edition);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Start-up: start values, emblem, first picture (key code 5).
  void Form_Activate();
  // The command handler: prologue, key table, parameter load, presentation.
  void Form_KeyDown(int keyCode, int shift);
  // A chosen menu item by control name ("mnu224"): it does what the menus
  // that hold it set up and then its own command. A menu that is only opened
  // (a name with a submenu) changes nothing. False if the name is unknown.
  bool menuCommand(std::string_view controlName);
  // Check mark of a display-menu item: the flag it follows is set.
  bool menuChecked(std::string_view controlName) const;

  StateRecord st;
  Engine engine;
  DrawingOps drawing;
  Canvas& canvas;
  Host& host;
  const Edition& edition;
  CommandState cmd;
  // Which part of the drawing the picture shows (draw/view.h). The commands
  // never read it: the hosts present their pictures through it, and the
  // cursor they report is in drawing units through it.
  View view;
  // The open exercise and the score of the series (menu "Ü&bungen").
  ExerciseState exercise;

  bool ending = false;  // Esc/End/close: every loop returns at once
  // A key that starts a run or the demonstration was pressed while one ran:
  // the running run or demonstration ends at its next frame instead of
  // another one starting inside it. Cleared when the next outermost command
  // starts.
  bool stopping = false;
  // While a full-revolution run hands one of its frames to Host::frameReady:
  // the frame's number, 1 … 90; 0 otherwise. Hosts that record runs read it.
  int runFrame = 0;
  int depth = 0;        // nesting of Form_KeyDown (runs, demonstration)

  // How many commands have started; a routine that calls the command handler
  // itself (the hand-over of the synthesis) is seen by the count changing.
  unsigned long commandsStarted() const { return commandsStarted_; }
  // A rebuild (key code 5) that asks for one drive step, or stands still: a
  // frame of a run that rebuilds through the whole command handler.
  void rebuildAsFrame(bool step);
  // After a run has drawn its frames into this command's picture: the picture
  // starts again from nothing, with a new register file and the parameters
  // loaded, so that the command ends with one picture of the position the run
  // reached, as a rebuild draws it.
  void restartPicture();
  // Between commands: one full-revolution run of the topic on screen (as the
  // key "1", or "2" when the sense of motion is backwards), for a host that
  // records the run frames. It runs as a nested command and afterwards puts
  // the state record back, so that the crank, the sense of motion and every
  // flag stand as before; the registers and the command state are those of
  // the last command, and no picture is shown at its end. Does nothing
  // inside a command.
  void replayRevolution();

  // --- helpers for topic code -------------------------------------------
  Registers& reg() { return engine.reg; }
  Scratch& scratch() { return engine.s; }
  // Runs a script with the drawing settings refreshed from the state record;
  // faults are collected in cmd.errors (and reported on stderr).
  void run(std::u32string_view script);
  // A script literal: its length is known here, so the text is not scanned
  // for its end on every run (curve loops run the same literals hundreds of
  // times a picture).
  template <std::size_t N>
  void run(const char32_t (&literal)[N]) {
    run(std::u32string_view(literal, N - 1));
  }
  // Sets the current text position by painting a point in the background colour.
  void setPosition(double x, double y);
  // A number item: blank or "-", the digits, one trailing blank.
  void printNumber(double v, bool lineBreak = false);
  void print(std::u32string_view text, bool lineBreak = false);
  // The emblem with its top-left corner from a six-digit text ("840055").
  void logo(std::string_view position);

  // Radians per half turn and per degree, and the zoom ratio 2^(1/12).
  static constexpr double pi = std::numbers::pi;
  static constexpr double deg = std::numbers::pi / 180;
  static double twelfthRootOfTwo();

 private:
  // Prologue of a command: key character, constants, cleared picture, empty
  // registers, one-shot flags.
  void prologue(int keyCode, int shift);
  // Arrow, Backspace, Space, PgUp/PgDn and Home rules; returns the brightness step.
  int arrowRules(int keyCode, int shift);
  // F1 … F9 with Shift 0 or 1, as the edition binds them.
  // What a function key left of the picture.
  enum class KeyOutcome { Open, RunEnded, PictureComplete };
  KeyOutcome functionKey(int keyCode, int shift);
  KeyOutcome perform(FunctionKeyAction action);
  // After a sign or factor field changed: the registers loaded anew.
  KeyOutcome reloadParameters();
  void characterCommands();
  void mirrorDrive();

  bool activated_ = false;
  bool replaying_ = false;  // the next command is the replayed revolution
  unsigned long commandsStarted_ = 0;
  bool stepForNextCommand_ = false;
};

// The state record as the window's activation sets it, before the first picture.
StateRecord startValues();

// Number item text of a value ("  0 " style: sign or blank, digits, blank).
std::u32string numberItem(double v);

}  // namespace pm
