// Exercises: the program shows a mechanism drawn from a seed and asks for one
// point of its kinematics ("Übung 17: Momentanpol"); the student points at it
// and confirms, the program answers "richtig" or "falsch" with the distance,
// draws the hint's lines or the topic's construction on request and counts
// the series. The exercise lives beside the state record, in the Form1 that
// the window, planimove-render and the browser page drive alike.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "draw/colour.h"
#include "exercise/exercise_kinds.h"
#include "exercise/exercise_mechanism.h"
#include "exercise/exercise_state.h"

namespace pm {

class Form1;
struct MenuEntry;


// What the student does in an exercise.
enum class ExerciseAction { Answer, Hint, Solution, Next };

// Opens exercise `seed` (1 … kLastExerciseSeed) of a kind: the mechanism is
// set up in the state record, nothing drawn yet. False (and a message on
// stderr) for a kind or seed outside their range; nothing changes then.
bool openExercise(Form1& f, ExerciseKind kind, long seed);
// openExercise, then a rebuild that shows it.
bool startExercise(Form1& f, ExerciseKind kind, long seed);
// The seed a kind chosen from the menu starts with: the open exercise's, or
// the last one's, or 1.
long exerciseSeedToStart(const ExerciseState& e);

// An item of the menu "Ü&bungen": a kind starts its exercise with the seed of
// exerciseSeedToStart; hint, solution and the next exercise act on the open
// one (the next exercise also after it was left). Rebuilds the picture.
void exerciseMenuCommand(Form1& f, const MenuEntry& item);

// Does what the student asked in the open exercise; Answer takes the cursor
// of the host. Does nothing without an open exercise.
void exerciseAction(Form1& f, ExerciseAction action);

// A key pressed while an exercise is open: Enter (13) answers, H, L and N act
// on the exercise; keys that would move the mechanism are passed over (the
// exercise's mechanism stands still); keys that choose another topic, type or
// the demonstration end the exercise. True when the key was the exercise's
// (the command then only rebuilds the picture).
bool takeExerciseKey(Form1& f, int keyCode, int shift);

// The picture of the open exercise (the presentation stage calls it instead
// of the topic): the mechanism with the task's givens, the hint's lines or
// the solution's construction, the answer, and the task above the picture.
void drawExercise(Form1& f);

// One row of the exercise's texts as the picture prints them: a sentence too
// long for one row takes two rows of the same sentence number.
struct ExerciseTextRow {
  std::u32string text;
  double left = 0, top = 0, size = 0;  // drawing units; point size in Arial
  Rgb colour;
  int sentence = 0;
};
// The texts of the open exercise in the order the picture prints them: the
// task above the picture, the verdict, the hint, the keys below; none
// without an open exercise. A page too narrow for them shows them beside.
std::vector<ExerciseTextRow> exerciseTextRows(Form1& f);

// The task's two lines as the picture shows them: the question and how to
// answer, with the tolerance.
std::vector<std::u32string> exerciseTaskLines(const ExerciseState& e);
// The same as one text (UTF-8), for planimove-render.
std::string exerciseTask(const ExerciseState& e);
std::string exerciseVerdict(const ExerciseState& e);  // "richtig", "falsch" or ""
// The solution in drawing units at a zoom.
std::optional<kinematics::Vec> exerciseSolution(const ExerciseState& e, double zoom);

}  // namespace pm
