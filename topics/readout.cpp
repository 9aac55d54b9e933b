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

// Rounded towards minus infinity; a value that is not a number shows as 0.
double integerPart(double v) { return std::isfinite(v) ? std::floor(v) : 0; }

}  // namespace

void dataReadout(Form1& f) {
  f.canvas.setFont("Arial", 11);
  f.setPosition(0, kTop);
  f.canvas.setTextColour(f.st.cf);
  const double width = columnWidth(f.canvas);
  const char32_t last = f.st.mn1 == 8 ? U'p' : U'f';
  for (char32_t k = U'a'; k <= last; ++k) {
    tab(f, kFirstColumn + 3, width);
    f.print(std::u32string(1, k));
    tab(f, kFirstColumn + 5, width);
    f.printNumber(integerPart(f.reg().lenOf(k)), true);
  }
  const std::pair<std::u32string_view, double> placement[] = {
      {U" xAo ", f.reg().valOf(U'a')},
      {U" yAo ", f.reg().valOf(U'b')},
      {U" <)d ", f.reg().valOf(U'd')},
      {U" <)a ", f.reg().angOf(U'a') * 180 / kPi},
  };
  for (const auto& [label, value] : placement) {
    tab(f, kFirstColumn, width);
    f.print(label);
    tab(f, kFirstColumn + 5, width);
    f.printNumber(integerPart(value), true);
  }
}

}  // namespace pm
