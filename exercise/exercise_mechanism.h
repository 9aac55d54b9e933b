// The mechanism of an exercise: a four-bar whose dimensions, crank angle and
// drive come from the exercise's seed, placed so that it and the answer lie
// in the free part of the picture; the state fields that show it; and its
// motion in closed form at the zoom on screen.
#pragma once

#include <array>
#include <optional>

#include "exercise/exercise_kinds.h"
#include "exercise/exercise_state.h"
#include "kinematics/loop_answers.h"
#include "kinematics/planar_motion.h"

namespace pm {

struct StateRecord;

// The part of the picture (drawing units) the mechanism and the answer keep
// to: below the band of the task, above the title line, clear of the emblem.
struct PictureArea {
  double left, top, right, bottom;
  bool contains(kinematics::Vec p, double margin = 0) const {
    return p.real() >= left + margin && p.real() <= right - margin && p.imag() >= top + margin &&
           p.imag() <= bottom - margin;
  }
};
inline constexpr PictureArea kExerciseArea{30, 135, 990, 672};


// The exercise of a kind and seed; the same everywhere. Kinds outside the
// table give the mechanism of the first kind.
ExerciseMechanism exerciseMechanism(ExerciseKind kind, long seed);

// Writes the type, the offsets of the lengths and numbers, the drive angle
// and the sign factors that make the parameter load give exactly this
// mechanism at zoom 1; the topic becomes "Getriebe" of group 1.
void showExerciseMechanism(const ExerciseMechanism& m, StateRecord& st);

// The mechanism as drawn at a zoom (lengths times zoom about the pivot X, as
// the parameter load scales them), its motion and the points it answers.
struct ExerciseFigure {
  double zoom = 1;
  kinematics::LoopMotion motion;
  kinematics::LoopAnswers answers;
  std::optional<kinematics::Vec> answer;  // the kind's point
};
ExerciseFigure exerciseFigure(const ExerciseMechanism& m, ExerciseKind kind, double zoom);

}  // namespace pm
