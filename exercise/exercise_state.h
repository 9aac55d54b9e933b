// What the program keeps of the exercises between commands: the open
// exercise (kind, seed, its mechanism, the student's answer, hint and
// solution shown) and the score of the series. Held by Form1 beside the state
// record; exercise/exercise.h has what works on it.
#pragma once

#include <complex>
#include <optional>

namespace pm {

namespace kinematics {
using Vec = std::complex<double>;  // (x, y) in drawing coordinates
}

enum class ExerciseKind : int {
  None = 0,
  Pole,             // "Momentanpol"
  CounterPole,      // "Gegenpol" Pac
  VelocityOfB,      // "Geschwindigkeit von B"
  InflectionPole,   // "Wendepol"
  CurvatureCentre,  // "Krümmungsmittelpunkt von C"
  AccelerationPole  // "Beschleunigungspol"
};

// Seeds of exercises run from 1 to this number ("Übung 17").
inline constexpr long kLastExerciseSeed = 999999;

struct ExerciseMechanism {
  int type = 1;  // mechanism type mn0: 1 crank-rocker, 2 double crank, 3 double rocker
  // Crank a, coupler b, rocker c (its sign picks the branch of B), frame d,
  // A-C e and B-C f (its sign picks the side of C), in mm at zoom 1.
  double a = 0, b = 0, c = 0, d = 0, e = 0, f = 0;
  double driveSpeed = 0;              // len v: ω = v / 5
  double tangentialAcceleration = 0;  // len x: a_t of A, α = x / a
  kinematics::Vec pivot;              // X, drawing units
  double frameAngle = 0;              // degrees, screen angle of X-Y
  double crankAngle = 0;              // degrees, screen angle of X-A
  kinematics::Vec accelerationPlan;   // origin Q of the acceleration plan
  double tolerance = 6;               // mm: 2 % of the mechanism's size, at least 6
};

struct ExerciseState {
  ExerciseKind kind = ExerciseKind::None;  // None: no exercise is open
  long seed = 0;
  ExerciseMechanism mechanism;
  bool hintShown = false;
  bool solutionShown = false;
  bool solutionSeen = false;  // shown at least once: later answers do not count
  // The last answer, in mm from the pivot X (so that it stays on its point
  // when the zoom changes), its distance from the solution in mm and verdict.
  std::optional<kinematics::Vec> answer;
  double distance = 0;
  bool right = false;
  bool counted = false;  // the last answer entered the score
  bool scored = false;   // an answer of this exercise entered the score
  // The series: exercises answered and answered right (each at its first
  // answer, and only while its solution was not seen).
  int answered = 0, answeredRight = 0;
  // Kept when the exercise is left: the menu goes on from them.
  ExerciseKind lastKind = ExerciseKind::None;
  long lastSeed = 0;
  // A touch screen without keys (the page on a phone or tablet): the texts
  // ask for a tap and name the menu instead of the keys.
  bool touch = false;

  bool open() const { return kind != ExerciseKind::None; }
  // Nothing of the solution may be shown or written out.
  bool hidesSolution() const { return open() && !solutionShown; }
  void close() { kind = ExerciseKind::None; }
};

}  // namespace pm
