// The data read-out: the loaded link lengths, the place of the frame pivot X,
// the frame direction and the crank angle, as columns at the right-hand side.
#include <cmath>
#include <string>

#include "script/vector.h"
#include "shell/form1.h"
#include "topics/topics.h"

namespace pm {

namespace {

constexpr int kFirstColumn = 132;  // column of the labels; letters at +3, numbers at +5
constexpr double kTop = 150;

// Width of one character column: the average letter width of the current font,
// so that the columns follow the font as it is really drawn.
double columnWidth(const Canvas& canvas) {
  static constexpr std::u32string_view kAlphabet = U"abcdefghijklmnopqrstuvwxyz";
  return canvas.textWidth(kAlphabet) / static_cast<double>(kAlphabet.size());
}

// Moves the text position to character column n (1 is the left edge) of the current line.
void tab(Form1& f, int column, double width) {
  f.setPosition((column - 1) * width, f.canvas.textY());
}

}  // namespace

double readoutInteger(double v) {
  if (!std::isfinite(v)) return 0;
  // Arithmetic noise just below a whole number (25.999999999999996 for 26)
  // must not show one less.
  const double whole = std::round(v);
  if (std::fabs(v - whole) < 1e-9) return whole + 0.0;  // + 0.0: no "-0"
  return std::floor(v);
}

void dataReadout(Form1& f) {
  const OnLayer note(f.canvas, Layer::Note);
  f.canvas.setFont("Arial", 11);
  f.setPosition(0, kTop);
  f.canvas.setTextColour(f.st.cf);
  const double width = columnWidth(f.canvas);
  // The mechanism on screen, as the drive step and the standard picture left
  // it; without a drive step in this command, the registers as loaded and a
  // crank angle of 0.
  ShownMechanism shown = f.cmd.shown;
  if (!shown.taken) {
    Registers& r = f.reg();
    for (int k = 0; k < static_cast<int>(shown.lengths.size()); ++k)
      shown.lengths[k] = r.len[code(U'a') + k];
    shown.pivotX = r.valOf(U'a');
    shown.pivotY = r.valOf(U'b');
    shown.frameAngle = r.valOf(U'd');
    shown.crankAngle = 0;
  }
  const char32_t last = f.st.mn1 == 8 ? U'p' : U'f';
  for (char32_t k = U'a'; k <= last; ++k) {
    tab(f, kFirstColumn + 3, width);
    f.print(std::u32string(1, k));
    tab(f, kFirstColumn + 5, width);
    f.printNumber(readoutInteger(shown.lengths[k - U'a']), true);
  }
  const std::pair<std::u32string_view, double> placement[] = {
      {U" xAo ", shown.pivotX},
      {U" yAo ", shown.pivotY},
      {U" <)d ", shown.frameAngle},
      {U" <)a ", shown.crankAngle * 180 / kPi},
  };
  for (const auto& [label, value] : placement) {
    tab(f, kFirstColumn, width);
    f.print(label);
    tab(f, kFirstColumn + 5, width);
    f.printNumber(readoutInteger(value), true);
  }
}

}  // namespace pm
