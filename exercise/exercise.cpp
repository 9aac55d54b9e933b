// The open exercise: starting it from a kind and seed, the student's answer,
// hint, solution and next exercise, the keys while it is open, and its texts.
#include "exercise/exercise.h"

#include <cmath>
#include <iostream>

#include "kinematics/physical_values.h"
#include "script/utf8.h"
#include "shell/form1.h"
#include "shell/menu_entry.h"

namespace pm {

namespace {

constexpr int kKeyEnter = 13;

// What a key does while an exercise is open.
enum class KeyRule {
  Pass,     // as outside an exercise: it changes only the view
  Leave,    // it chooses another topic, type or the demonstration: the exercise ends
  PassOver, // it would move the mechanism: the command only rebuilds
};

KeyRule functionKeyRule(FunctionKeyAction action) {
  using A = FunctionKeyAction;
  switch (action) {
    case A::Demonstration:
      return KeyRule::Leave;
    case A::FullRevolutionRun:
    case A::FlipCouplerTriangles:
    case A::FlipLoop:
    case A::MirrorDrive:
    case A::FlipDyad:
    case A::FlipSixBarCoupler:
    case A::ToggleParameterX:
      return KeyRule::PassOver;
    default:
      return KeyRule::Pass;
  }
}

KeyRule keyRule(const Edition& edition, int keyCode, int shift) {
  switch (keyCode) {
    case kKeyUp:
    case kKeyDown:
      // Topic and group change; Ctrl zooms and Ctrl+Shift sets the brightness.
      if (shift == 0 || shift == 1) return KeyRule::Leave;
      return shift == 2 || shift == 3 ? KeyRule::Pass : KeyRule::PassOver;
    case kKeyLeft:
    case kKeyRight:
      // Ctrl: grid spacing, Ctrl+Shift: symbol size; the rest turns the crank or sets lengths.
      return shift == 2 || shift == 3 ? KeyRule::Pass : KeyRule::PassOver;
    case kKeyPgUp:
    case kKeyPgDn:
      return shift == 0 ? KeyRule::Leave : KeyRule::Pass;
    case kKeySpace:
    case kKeyBackspace:
    case kKeyHome:
      return KeyRule::PassOver;
    default:
      break;
  }
  if (keyCode >= kKeyF1 && keyCode < kKeyF1 + 9 && (shift == 0 || shift == 1)) {
    const auto& table = shift == 0 ? edition.functionKeys : edition.shiftFunctionKeys;
    return functionKeyRule(table[static_cast<std::size_t>(keyCode - kKeyF1)]);
  }
  if (keyCode == '4' || keyCode == '5') return KeyRule::Leave;  // synthesis, demonstration
  if (keyCode == '0' || keyCode == '1' || keyCode == '2') return KeyRule::PassOver;
  if (keyCode >= 'A' && keyCode <= 'Z') return KeyRule::PassOver;  // joints to the mouse
  return KeyRule::Pass;
}

std::u32string widen(const std::string& utf8) { return fromUtf8(utf8); }

}  // namespace

bool openExercise(Form1& f, ExerciseKind kind, long seed) {
  if (exerciseKind(kind) == nullptr) {
    std::cerr << "Übung: unbekannte Art\n";
    return false;
  }
  if (seed < 1 || seed > kLastExerciseSeed) {
    std::cerr << "Übung: die Nummer liegt zwischen 1 und " << kLastExerciseSeed << ", nicht " << seed << "\n";
    return false;
  }
  ExerciseState& e = f.exercise;
  e.kind = e.lastKind = kind;
  e.seed = e.lastSeed = seed;
  e.mechanism = exerciseMechanism(kind, seed);
  e.hintShown = e.solutionShown = e.solutionSeen = false;
  e.answer.reset();
  e.distance = 0;
  e.right = e.counted = e.scored = false;
  showExerciseMechanism(e.mechanism, f.st);
  return true;
}

bool startExercise(Form1& f, ExerciseKind kind, long seed) {
  if (!openExercise(f, kind, seed)) return false;
  f.Form_KeyDown(kKeyRebuild, 0);
  return true;
}

long exerciseSeedToStart(const ExerciseState& e) {
  if (e.open()) return e.seed;
  return e.lastSeed >= 1 ? e.lastSeed : 1;
}

std::optional<kinematics::Vec> exerciseSolution(const ExerciseState& e, double zoom) {
  if (!e.open()) return std::nullopt;
  return exerciseFigure(e.mechanism, e.kind, zoom).answer;
}

void exerciseAction(Form1& f, ExerciseAction action) {
  ExerciseState& e = f.exercise;
  if (!e.open()) return;
  switch (action) {
    case ExerciseAction::Answer: {
      const kinematics::Vec at(f.host.cursorX(), f.host.cursorY());
      const double zoom = f.st.qzz;
      const std::optional<kinematics::Vec> solution = exerciseSolution(e, zoom);
      if (!std::isfinite(at.real()) || !std::isfinite(at.imag()) || !(zoom > 0) || !solution) {
        std::cerr << "Übung: die Antwort lässt sich nicht prüfen\n";
        return;
      }
      const kinematics::Vec fromX = at - e.mechanism.pivot;
      e.answer = kinematics::Vec(physical::millimetres(fromX.real(), zoom), physical::millimetres(fromX.imag(), zoom));
      e.distance = physical::millimetres(std::abs(at - *solution), zoom);
      e.right = e.distance <= e.mechanism.tolerance;
      // Each exercise counts once, with its first answer given before its solution was seen.
      e.counted = !e.scored && !e.solutionSeen;
      if (e.counted) {
        e.scored = true;
        ++e.answered;
        if (e.right) ++e.answeredRight;
      }
      break;
    }
    case ExerciseAction::Hint:
      e.hintShown = !e.hintShown;
      break;
    case ExerciseAction::Solution:
      e.solutionShown = !e.solutionShown;
      e.solutionSeen = e.solutionSeen || e.solutionShown;
      break;
    case ExerciseAction::Next:
      openExercise(f, e.kind, e.seed >= kLastExerciseSeed ? 1 : e.seed + 1);
      break;
  }
}

void exerciseMenuCommand(Form1& f, const MenuEntry& item) {
  ExerciseState& e = f.exercise;
  switch (item.exerciseCommand) {
    case ExerciseCommand::Start:
      startExercise(f, static_cast<ExerciseKind>(item.exerciseKind), exerciseSeedToStart(e));
      return;
    case ExerciseCommand::Next:
      if (!e.open()) {
        if (e.lastKind != ExerciseKind::None)
          startExercise(f, e.lastKind, e.lastSeed >= kLastExerciseSeed ? 1 : e.lastSeed + 1);
        return;
      }
      exerciseAction(f, ExerciseAction::Next);
      break;
    case ExerciseCommand::Hint:
      exerciseAction(f, ExerciseAction::Hint);
      break;
    case ExerciseCommand::Solution:
      exerciseAction(f, ExerciseAction::Solution);
      break;
    case ExerciseCommand::None:
      return;
  }
  if (e.open()) f.Form_KeyDown(kKeyRebuild, 0);
}

bool takeExerciseKey(Form1& f, int keyCode, int shift) {
  if (!f.exercise.open()) return false;
  if (shift == 0) {
    switch (keyCode) {
      case kKeyEnter:
        exerciseAction(f, ExerciseAction::Answer);
        return true;
      case 'H':
        exerciseAction(f, ExerciseAction::Hint);
        return true;
      case 'L':
        exerciseAction(f, ExerciseAction::Solution);
        return true;
      case 'N':
        exerciseAction(f, ExerciseAction::Next);
        return true;
      default:
        break;
    }
  }
  switch (keyRule(f.edition, keyCode, shift)) {
    case KeyRule::Pass:
      return false;
    case KeyRule::Leave:
      f.exercise.close();
      return false;
    case KeyRule::PassOver:
      return true;
  }
  return false;
}

std::vector<std::u32string> exerciseTaskLines(const ExerciseState& e) {
  const ExerciseKindInfo* kind = exerciseKind(e.kind);
  if (kind == nullptr) return {};
  const std::u32string how = e.touch ? U"Tippen Sie auf den Punkt; Toleranz "
                                     : U"Zeigen Sie auf den Punkt und bestätigen Sie mit Klick oder Eingabetaste; Toleranz ";
  return {std::u32string(kind->task), how + widen(std::to_string(std::lround(e.mechanism.tolerance))) + U" mm."};
}

std::string exerciseTask(const ExerciseState& e) {
  std::u32string text;
  for (const std::u32string& line : exerciseTaskLines(e)) text += (text.empty() ? U"" : U" ") + line;
  return toUtf8(text);
}

std::string exerciseVerdict(const ExerciseState& e) {
  if (!e.open() || !e.answer) return {};
  return e.right ? "richtig" : "falsch";
}

}  // namespace pm
