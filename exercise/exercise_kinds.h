// The kinds of exercise as one table: what each asks for, the theorem its
// hint draws, the point of the closed-form kinematics that answers it and the
// topic whose construction shows the solution.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "exercise/exercise_state.h"
#include "kinematics/loop_answers.h"

namespace pm {

class Form1;
struct ExerciseFigure;


// What a kind shows beside the mechanism and what its picture needs.
struct ExerciseNeeds {
  bool pole = false;           // P, where X-A and Y-B cross at a clear angle, lies in the picture
  bool counterPole = false;    // Pac, where A-B and X-Y cross at a clear angle, lies in the picture
  bool collineation = false;   // the construction runs along the collineation axis P-Pac
  bool velocityOfA = false;    // the task gives v_A as an arrow at A
  bool accelerations = false;  // the task gives v_A and a_t of A; a_A, a_B and the
                               // acceleration plan lie in the picture
};

struct ExerciseKindInfo {
  ExerciseKind kind;
  std::string_view name;       // command line and address of the page: "momentanpol"
  std::string_view caption;    // menu item, UTF-8 with its access letter
  std::u32string_view title;   // "Momentanpol"
  std::u32string_view task;    // the question, one line
  std::u32string_view theorem; // the hint's line of text
  std::optional<kinematics::Vec> kinematics::LoopAnswers::*answer;
  int group, topic;            // the topic whose construction is the solution
  ExerciseNeeds needs;
  void (*drawHint)(Form1&, const ExerciseFigure&);
};

std::span<const ExerciseKindInfo> exerciseKinds();
// The row of a kind; nullptr for None or a value outside the table.
const ExerciseKindInfo* exerciseKind(ExerciseKind kind);
// The kind of a name ("wendepol"); None for any other text.
ExerciseKind exerciseKindNamed(std::string_view name);

}  // namespace pm
