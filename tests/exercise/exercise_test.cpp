// Exercises: seeds give the same well-placed mechanisms everywhere, the
// closed-form solutions agree with the points the topics' constructions draw,
// answers are judged in millimetres at any zoom, the series is counted once
// per exercise, and H, L, N act on an exercise only while one is open.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "exercise/exercise.h"
#include "kinematics/measured_values.h"
#include "shell/menu_table.h"
#include "support/test_form.h"

namespace pm {
namespace {

using kinematics::Vec;
using testing::TestForm;

constexpr int kEnter = 13;
constexpr int kSeedsPerKind = 24;
constexpr long kSpreadSeeds = 400;

// The register in which each kind's topic construction leaves its point.
char32_t constructedPoint(ExerciseKind kind) {
  switch (kind) {
    case ExerciseKind::Pole: return U'P';
    case ExerciseKind::CounterPole: return U'D';
    case ExerciseKind::VelocityOfB: return U'b';
    case ExerciseKind::InflectionPole: return U'W';
    case ExerciseKind::CurvatureCentre: return U'J';
    default: return U'U';
  }
}

Vec reg(TestForm& t, char32_t c) { return {t.form.engine.reg.point(c).x, t.form.engine.reg.point(c).y}; }

// Whether the picture's texts, read in order, hold a text (a long one may be
// wrapped onto two rows).
bool textShown(const DisplayList& list, std::u32string_view part) {
  std::u32string all;
  for (const Primitive& p : list)
    if (p.kind == Primitive::Kind::Text) all += p.text + U' ';
  return all.find(part) != std::u32string::npos;
}

TEST(Exercises, SeedsGiveMechanismsWhoseSolutionIsInThePictureAndMeetsTheConstruction) {
  for (const ExerciseKindInfo& kind : exerciseKinds()) {
    for (long seed = 1; seed <= kSeedsPerKind; ++seed) {
      SCOPED_TRACE(std::string(kind.name) + " " + std::to_string(seed));
      TestForm t;
      ASSERT_TRUE(startExercise(t.form, kind.kind, seed));
      const ExerciseFigure fig = exerciseFigure(t.form.exercise.mechanism, kind.kind, 1);
      ASSERT_TRUE(fig.answer);
      EXPECT_TRUE(kExerciseArea.contains(*fig.answer)) << fig.answer->real() << ", " << fig.answer->imag();
      // The state record gives exactly the mechanism of the seed.
      const kinematics::LoopMotion& m = fig.motion;
      for (auto [letter, p] : {std::pair{U'X', m.X}, {U'Y', m.Y}, {U'A', m.A.p}, {U'B', m.B.p}, {U'C', m.C.p}}) {
        EXPECT_LT(std::abs(reg(t, letter) - p), 1e-9) << static_cast<char>(letter);
        EXPECT_TRUE(kExerciseArea.contains(p)) << static_cast<char>(letter);
      }
      t.keyChar('L');
      EXPECT_TRUE(t.form.exercise.solutionShown);
      EXPECT_LT(std::abs(reg(t, constructedPoint(kind.kind)) - *fig.answer), 1e-6);
    }
    // Seeds across the whole range, up to the last: each finds a mechanism
    // that closes, with its answer and joints inside the picture.
    for (long seed = 1000; seed <= kLastExerciseSeed + 999; seed += kLastExerciseSeed / kSpreadSeeds) {
      const long s = std::min(seed, kLastExerciseSeed);
      SCOPED_TRACE(std::string(kind.name) + " " + std::to_string(s));
      const ExerciseMechanism m = exerciseMechanism(kind.kind, s);
      const ExerciseFigure fig = exerciseFigure(m, kind.kind, 1);
      ASSERT_TRUE(fig.motion.closed && fig.answer);
      for (Vec p : {*fig.answer, fig.motion.X, fig.motion.Y, fig.motion.A.p, fig.motion.B.p, fig.motion.C.p})
        EXPECT_TRUE(kExerciseArea.contains(p)) << p.real() << ", " << p.imag();
    }
  }
}

// Exercise 1 of each kind as handed out: a change of the generator would give
// every sheet of numbers handed out so far another mechanism.
TEST(Exercises, TheSameSeedGivesTheSameMechanism) {
  struct Expected {
    ExerciseKind kind;
    int type;
    double a, b, c, d, crankAngle, x, y;
  };
  const Expected table[] = {
      {ExerciseKind::Pole, 1, 56, 295, 132, 227, 232, 402, 432},
      {ExerciseKind::CounterPole, 1, 56, 280, -149, 273, 75, 435, 512},
      {ExerciseKind::VelocityOfB, 2, 162, 205, 187, 106, 287, 359, 316},
      {ExerciseKind::InflectionPole, 1, 78, 153, 235, 164, 88, 520, 389},
      {ExerciseKind::CurvatureCentre, 1, 101, 200, 188, 162, 174, 497, 373},
      {ExerciseKind::AccelerationPole, 1, 64, 214, 153, 278, 268, 315, 334},
  };
  for (const Expected& e : table) {
    const ExerciseMechanism m = exerciseMechanism(e.kind, 1);
    SCOPED_TRACE(static_cast<int>(e.kind));
    EXPECT_EQ(m.type, e.type);
    EXPECT_EQ(m.a, e.a);
    EXPECT_EQ(m.b, e.b);
    EXPECT_EQ(m.c, e.c);
    EXPECT_EQ(m.d, e.d);
    EXPECT_EQ(m.crankAngle, e.crankAngle);
    EXPECT_EQ(m.pivot, Vec(e.x, e.y));
  }
  EXPECT_NE(exerciseMechanism(ExerciseKind::Pole, 2).crankAngle, exerciseMechanism(ExerciseKind::Pole, 1).crankAngle);
}

TEST(Exercises, AnswersAreJudgedInMillimetresAndCountedOncePerExercise) {
  TestForm t;
  ASSERT_TRUE(startExercise(t.form, ExerciseKind::Pole, 5));
  const double tolerance = t.form.exercise.mechanism.tolerance;
  EXPECT_GE(tolerance, 6);
  // Zoomed in: the picture grows, the tolerance in mm stays.
  t.key(kKeyUp, kCtrl);
  t.key(kKeyUp, kCtrl);
  const double zoom = t.form.st.qzz;
  ASSERT_GT(zoom, 1.1);
  ASSERT_TRUE(t.form.exercise.open());
  const Vec solution = *exerciseSolution(t.form.exercise, zoom);
  auto answerAt = [&](double mm) {
    t.host.cx = solution.real() + mm * zoom;
    t.host.cy = solution.imag();
    t.key(kEnter);
  };
  answerAt(tolerance - 0.5);
  EXPECT_EQ(exerciseVerdict(t.form.exercise), "richtig");
  EXPECT_NEAR(t.form.exercise.distance, tolerance - 0.5, 1e-6);
  answerAt(tolerance + 0.5);  // a second answer is judged, not counted
  EXPECT_EQ(exerciseVerdict(t.form.exercise), "falsch");
  EXPECT_FALSE(t.form.exercise.counted);
  EXPECT_TRUE(textShown(t.picture(), U"nicht gewertet"));

  t.keyChar('N');
  EXPECT_EQ(t.form.exercise.seed, 6);
  EXPECT_FALSE(t.form.exercise.answer);
  EXPECT_TRUE(textShown(t.picture(), U"Übung 6: Momentanpol"));
  t.host.cx = t.host.cy = 200;  // far from any solution
  t.key(kEnter);
  t.keyChar('N');
  t.keyChar('L');  // the solution seen first: the answer is not counted
  answerAt(0);
  EXPECT_FALSE(t.form.exercise.counted);
  EXPECT_EQ(t.form.exercise.answered, 2);
  EXPECT_EQ(t.form.exercise.answeredRight, 1);
  EXPECT_TRUE(textShown(t.picture(), U"1 von 2 richtig"));
}

TEST(Exercises, TheTaskShowsNothingOfTheSolutionAndTheSolutionShowsTheTolerance) {
  for (const ExerciseKindInfo& kind : exerciseKinds()) {
    SCOPED_TRACE(std::string(kind.name));
    TestForm t;
    ASSERT_TRUE(startExercise(t.form, kind.kind, 3));
    const Vec answer = *exerciseSolution(t.form.exercise, 1);
    const double tolerance = t.form.exercise.mechanism.tolerance;
    auto marked = [&](const DisplayList& list) {
      for (const Primitive& p : list)
        if ((p.kind == Primitive::Kind::Circle || p.kind == Primitive::Kind::Point) &&
            std::abs(Vec(p.x1, p.y1) - answer) < tolerance)
          return true;
      return false;
    };
    EXPECT_TRUE(textShown(t.picture(), kind.task));
    EXPECT_FALSE(marked(t.picture()));
    const std::size_t task = t.picture().size();
    t.keyChar('H');
    EXPECT_TRUE(textShown(t.picture(), kind.theorem));
    EXPECT_GT(t.picture().size(), task);
    EXPECT_FALSE(marked(t.picture()));
    EXPECT_EQ(measuredValues(t.form).size(), 2u);  // the panel lists poles and velocities
    t.keyChar('L');
    EXPECT_TRUE(marked(t.picture()));
    EXPECT_GT(measuredValues(t.form).size(), 10u);
  }
}

TEST(Exercises, HintSolutionAndNextKeysActOnlyInAnExercise) {
  TestForm outside;
  outside.show(1, 1, 1);
  outside.host.cx = 500, outside.host.cy = 300;
  const double crank = outside.form.st.wxx;
  outside.keyChar('H');  // outside an exercise: the crank to the mouse
  EXPECT_NE(outside.form.st.wxx, crank);

  TestForm t;
  ASSERT_TRUE(startExercise(t.form, ExerciseKind::InflectionPole, 9));
  const StateRecord set = t.form.st;
  t.host.cx = 500, t.host.cy = 300;
  for (char key : {'H', 'A', 'B', 'X'}) t.keyChar(key);
  t.key(kKeySpace);
  t.key(kKeyHome);
  t.key(kKeyLeft, kAlt);
  t.key(kKeyF1 + 1, kShift);  // Shift+F2 flips the loop
  EXPECT_TRUE(t.form.exercise.open());
  EXPECT_TRUE(t.form.exercise.hintShown);
  for (double StateRecord::*field : {&StateRecord::wxx, &StateRecord::qa, &StateRecord::qb, &StateRecord::qv,
                                     &StateRecord::sa, &StateRecord::qcc, &StateRecord::qzz})
    EXPECT_EQ(t.form.st.*field, set.*field);
  t.key(kKeyDown, kCtrl);  // zooming keeps the exercise
  EXPECT_TRUE(t.form.exercise.open());
  t.key(kKeyUp);  // another topic ends it
  EXPECT_FALSE(t.form.exercise.open());
  EXPECT_FALSE(textShown(t.picture(), U"Übung"));

  // The menu: a kind starts its exercise with the last number, a type ends it.
  const MenuEntry* wendepol = nullptr;
  for (const MenuEntry& m : exerciseMenu())
    if (m.exerciseKind == static_cast<int>(ExerciseKind::InflectionPole)) wendepol = &m;
  ASSERT_NE(wendepol, nullptr);
  EXPECT_TRUE(t.form.menuCommand(wendepol->name));
  EXPECT_EQ(t.form.exercise.seed, 9);
  EXPECT_TRUE(textShown(t.picture(), U"Übung 9: Wendepol"));
  EXPECT_TRUE(t.form.menuCommand("mnu12"));
  EXPECT_FALSE(t.form.exercise.open());
  EXPECT_EQ(t.form.st.mn0, 2);
}

}  // namespace
}  // namespace pm
