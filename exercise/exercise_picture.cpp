// The picture of an open exercise: the task above the picture, the mechanism
// with what the task gives, the hint's lines or the topic's construction as
// the solution, and the student's answer. Everything goes through the Form1's
// canvas, so the window, the page, PNG and SVG show the same.
#include <cmath>
#include <string>

#include "draw/colour_tables.h"
#include "exercise/exercise.h"
#include "exercise/exercise_drawing.h"
#include "script/utf8.h"
#include "shell/form1.h"
#include "topics/catalogue.h"
#include "topics/topics.h"

namespace pm {

namespace {

using kinematics::Vec;
using namespace exercise_drawing;

constexpr double kTextLeft = 20;
constexpr double kTextRight = 830;  // the emblem stands right of it
constexpr double kTitleTop = 42;
constexpr double kLineTop = 64;     // first line below the title
constexpr double kLineStep = 16;

std::u32string widen(const std::string& utf8) { return fromUtf8(utf8); }

// The size (from `size` down) at which a line in Arial fits left of the
// emblem.
double fittedSize(Canvas& c, double size, std::u32string_view text) {
  c.setFont("Arial", size);
  while (size > 8 && c.textWidth(text) > kTextRight - kTextLeft) c.setFont("Arial", size -= 0.5);
  return size;
}

// Adds a line as one row, smaller where it would run into the emblem.
void addLine(std::vector<ExerciseTextRow>& rows, Canvas& c, double top, double size, std::u32string_view text,
             Rgb colour, int sentence) {
  rows.push_back({std::u32string(text), kTextLeft, top, fittedSize(c, size, text), colour, sentence});
}

// Adds a line that may be too long for one row as two (a hint shrunk onto
// one row is hard to read in a small window): broken at a double blank, which
// parts a line's sentences, where the row before it fits, else at the last
// blank that lets the first row fit. The top of the row after it.
double addWrapped(std::vector<ExerciseTextRow>& rows, Canvas& c, double top, double size, std::u32string_view text,
                  Rgb colour, int sentence) {
  c.setFont("Arial", size);
  const double width = kTextRight - kTextLeft;
  std::size_t cut = std::u32string_view::npos;
  if (c.textWidth(text) > width) {
    for (std::size_t blank = text.find(U' '); blank != std::u32string_view::npos; blank = text.find(U' ', blank + 1)) {
      if (c.textWidth(text.substr(0, blank)) > width) break;
      cut = blank;
    }
    const std::size_t parting = text.find(U"  ");
    if (parting != std::u32string_view::npos && c.textWidth(text.substr(0, parting)) <= width) cut = parting;
  }
  if (cut == std::u32string_view::npos) {
    addLine(rows, c, top, size, text, colour, sentence);
    return top + kLineStep;
  }
  std::u32string_view rest = text.substr(cut);
  while (!rest.empty() && rest.front() == U' ') rest.remove_prefix(1);
  addLine(rows, c, top, size, text.substr(0, cut), colour, sentence);
  addLine(rows, c, top + kLineStep, size, rest, colour, sentence);
  return top + 2 * kLineStep;
}

// A distance to a tenth of a millimetre, with a decimal comma ("23,4 mm").
std::u32string millimetres(double mm) {
  const long tenths = std::lround(std::fmin(mm, 1e9) * 10);
  return widen(std::to_string(tenths / 10) + "," + std::to_string(tenths % 10)) + U" mm";
}

// The rows of the task above the picture: the title with the score, the
// task, the verdict of the answer and the hint (or what the solution shows).
std::vector<ExerciseTextRow> bandRows(Form1& f, const ExerciseKindInfo& kind) {
  const ExerciseState& e = f.exercise;
  Canvas& c = f.canvas;
  const Rgb black = fixedColour(0);
  std::vector<ExerciseTextRow> rows;
  int sentence = 0;
  const std::u32string title = U"Übung " + widen(std::to_string(e.seed)) + U": " + std::u32string(kind.title);
  addLine(rows, c, kTitleTop, 14, title, black, sentence++);
  if (e.answered > 0) {
    c.setFont("Arial", rows.back().size);
    const double x = kTextLeft + c.textWidth(title) + 28;
    rows.push_back({widen(std::to_string(e.answeredRight) + " von " + std::to_string(e.answered) + " richtig"), x,
                    kTitleTop + 4, 11, black, sentence++});
  }
  std::vector<std::u32string> lines = exerciseTaskLines(e);
  if (e.solutionShown) {
    std::u32string topic(topicName(kind.group, kind.topic));
    while (!topic.empty() && topic.front() == U' ') topic.erase(topic.begin());
    while (!topic.empty() && topic.back() == U' ') topic.pop_back();
    lines.back() = U"Lösung: die Konstruktion des Themas „" + topic +
                   U"“; der grüne Ring um das Ergebnis zeigt die Toleranz von " +
                   widen(std::to_string(std::lround(e.mechanism.tolerance))) + U"\u00A0mm.  N: nächste Übung";
  }
  double top = kLineTop;
  for (const std::u32string& line : lines) top = addWrapped(rows, c, top, 11, line, black, sentence++);
  if (e.answer) {
    std::u32string verdict = (e.right ? U"richtig – " : U"falsch – ") + millimetres(e.distance) +
                             U" von der Lösung entfernt";
    if (!e.right) verdict += U" (Toleranz " + widen(std::to_string(std::lround(e.mechanism.tolerance))) + U" mm)";
    if (!e.counted) verdict += U"; nicht gewertet";
    addLine(rows, c, top, 11, verdict, e.right ? rightColour() : wrongColour(), sentence++);
    top += kLineStep;
  }
  if (e.hintShown && !e.solutionShown)
    addWrapped(rows, c, top, 11, U"Hinweis: " + std::u32string(kind.theorem), hintColour(), sentence++);
  return rows;
}

void printRow(Form1& f, const ExerciseTextRow& row) {
  f.canvas.setFont("Arial", row.size);
  f.canvas.setTextColour(row.colour);
  f.setPosition(row.left, row.top);
  f.print(row.text);
}

// The keys of an exercise, below the picture while the task is open; on a
// touch screen the menu that holds the same commands.
constexpr std::u32string_view kKeyLine =
    U"H  Hinweis      L  Lösung      N  nächste Übung      Klick oder Eingabetaste: Antwort prüfen";
constexpr std::u32string_view kTouchLine =
    U"Menü „Übungen“: Hinweis, Lösung, nächste Übung      Tippen: Antwort prüfen";

ExerciseTextRow keyRow(const Form1& f, int sentence) {
  return {std::u32string(f.exercise.touch ? kTouchLine : kKeyLine), 20, 710, 11, fixedColour(0), sentence};
}

void taskBand(Form1& f, const ExerciseKindInfo& kind) {
  for (const ExerciseTextRow& row : bandRows(f, kind)) printRow(f, row);
  f.canvas.setTextColour(fixedColour(0));
}

// The mechanism with what the task gives, and the hint's lines.
void taskPicture(Form1& f, const ExerciseKindInfo& kind, const ExerciseFigure& fig) {
  if (!standardPicture(f)) return;
  if (kind.needs.velocityOfA || kind.needs.accelerations) {
    velocityBase(f);
    // v_A (and the tangential acceleration of A), as the drive topics draw them.
    f.run(kind.needs.accelerations ? U":67>k6Aa:67>m6AÁ:65.j14A" : U":67>k6Aa:65.a14A");
  }
  if (f.exercise.hintShown) kind.drawHint(f, fig);
  printRow(f, keyRow(f, 0));
}

// The construction of the kind's topic, drawn as the topic draws it.
void solutionPicture(Form1& f, const ExerciseKindInfo& kind) {
  const double group = f.st.mn1, topic = f.st.mn2;
  f.st.mn1 = kind.group;
  f.st.mn2 = kind.topic;
  runGroup(f, kind.group);
  f.st.mn1 = group;
  f.st.mn2 = topic;
}

void answerMarks(Form1& f, const ExerciseFigure& fig) {
  const ExerciseState& e = f.exercise;
  const std::optional<Vec> answer =
      e.answer ? std::optional<Vec>(e.mechanism.pivot + *e.answer * fig.zoom) : std::nullopt;
  if (e.solutionShown && fig.answer) {
    ring(f, *fig.answer, e.mechanism.tolerance * fig.zoom, rightColour());
    if (answer) segment(f, *answer, *fig.answer, e.right ? rightColour() : wrongColour(), 1);
  }
  if (answer) cross(f, *answer, e.right ? rightColour() : wrongColour());
}

}  // namespace

void drawExercise(Form1& f) {
  const ExerciseKindInfo* kind = exerciseKind(f.exercise.kind);
  if (kind == nullptr) return;
  // The help picture (F1) stands in for the picture, as for a topic.
  if (f.st.qst == 0) {
    const ExerciseFigure fig = exerciseFigure(f.exercise.mechanism, f.exercise.kind, f.st.qzz);
    // The task and the hint name the joints: their letters always show (as with F4).
    const double letters = f.st.qsc;
    f.st.qsc = 1;
    if (f.exercise.solutionShown) {
      solutionPicture(f, *kind);
    } else {
      taskPicture(f, *kind, fig);
    }
    f.st.qsc = letters;
    answerMarks(f, fig);
  }
  taskBand(f, *kind);
}

std::vector<ExerciseTextRow> exerciseTextRows(Form1& f) {
  const ExerciseKindInfo* kind = exerciseKind(f.exercise.kind);
  if (kind == nullptr || !f.exercise.open()) return {};
  std::vector<ExerciseTextRow> rows = bandRows(f, *kind);
  if (f.st.qst == 0 && !f.exercise.solutionShown) rows.push_back(keyRow(f, rows.back().sentence + 1));
  return rows;
}

}  // namespace pm
