// The drawing operations 61 … 69 of the script language: angle arcs, joint
// circles, frame-pivot symbols, traced curves, point circles, polylines, arrows,
// tick marks and labelled points. They read point registers and paint on the
// canvas with the colour tables; they never write a register bank.
#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "draw/canvas.h"
#include "draw/colour.h"
#include "script/engine.h"

namespace pm {

// The few state fields the drawing operations read, refreshed by the command
// handler before every script run.
struct DrawSettings {
  double qbr = 2;  // symbol scale
  int qsc = 0;     // joint letters shown
  int qßß = 0;     // point letters of the small point circles shown
  int qer = 0;     // key-overview flag: lifts the length limit of polylines
  int mn1 = 1;     // topic group and topic select the label table
  int mn2 = 0;
  bool positionsBeside = false;  // synthesis positions drawn beside a mechanism (positionLabel)
  Rgb cb = rgb(256, 256, 256);
  int traceCounter = 0;  // counter of the presentation's curve-tracing loop
};

class DrawingOps : public DrawingHook {
 public:
  DrawingOps(Engine& engine, Canvas& canvas);

  DrawSettings settings;
  std::array<Rgb, 33> palette{};  // rebuilt per command from rr1, gg1, bb1

  // Start of a command: forgets the trace point and the started flag.
  void beginCommand();

  const char* drawCommand(int operation, const int* codes, int length,
                          std::u32string_view text) override;

 private:
  struct Command;
  void angleArc(const Command& cmd);
  void jointCircle(const Command& cmd, int i);
  void framePivot(const Command& cmd, int i);
  void trace(const Command& cmd, int i);
  void pointCircle(const Command& cmd, int i);
  void polylineSegment(const Command& cmd, int i);
  void arrow(const Command& cmd);
  void tickMark(const Command& cmd);
  void labelledCircle(const Command& cmd, int i);
  void jointLetter(int operand, double x, double y);
  void useLabelFont();
  // Prints the label of the point register `operand` at (x, y) unless that
  // point or the same text is named close by already: a point that two
  // commands of the picture mark (a construction point that is also a pivot,
  // a command dispatched again) is named once.
  void printLabel(int operand, std::u32string_view text, double x, double y);

  struct Label {
    int operand;
    std::u32string text;
    double x, y;
  };

  Engine& engine_;
  Canvas& canvas_;
  double traceX_ = 0, traceY_ = 0;
  bool traceStarted_ = false;
  std::vector<Label> labels_;  // the labels of this command's picture
};

}  // namespace pm
