#include "exercise/exercise_drawing.h"

#include <algorithm>
#include <cmath>

#include "draw/canvas.h"
#include "draw/colour_tables.h"
#include "kinematics/planar_motion.h"
#include "shell/form1.h"

namespace pm::exercise_drawing {

namespace {
// Below the band of the task at its fullest (the question, how to answer,
// the verdict and a hint of two rows from y = 64 in steps of 16) and above
// the line of the keys.
constexpr double kLinesTop = 146, kLinesBottom = 682;
}  // namespace

Rgb hintColour() { return fixedColour(5); }   // purple
Rgb rightColour() { return fixedColour(2); }  // dark green
Rgb wrongColour() { return fixedColour(12); } // red

std::optional<Vec> meet(Vec p1, Vec p2, Vec q1, Vec q2) {
  const Vec u = p2 - p1, w = q2 - q1;
  const double det = kinematics::cross(u, w);
  if (!(std::fabs(det) > 1e-12 * std::abs(u) * std::abs(w))) return std::nullopt;
  return p1 + u * (kinematics::cross(q1 - p1, w) / det);
}

void lineAcross(Form1& f, Vec p, Vec q, Rgb colour) {
  const Vec u = q - p;
  if (std::abs(u) == 0) return;
  // The parameter range of p + t·u inside the picture (Liang–Barsky).
  double t0 = -1e300, t1 = 1e300;
  // Between the band of the task and the title line, so that no text is crossed.
  const double lo[2] = {kScaleLeft, kLinesTop}, hi[2] = {kScaleRight, kLinesBottom};
  const double from[2] = {p.real(), p.imag()}, along[2] = {u.real(), u.imag()};
  for (int k = 0; k < 2; ++k) {
    if (along[k] == 0) {
      if (from[k] < lo[k] || from[k] > hi[k]) return;
      continue;
    }
    double a = (lo[k] - from[k]) / along[k], b = (hi[k] - from[k]) / along[k];
    if (a > b) std::swap(a, b);
    t0 = std::max(t0, a);
    t1 = std::min(t1, b);
  }
  if (t0 >= t1) return;
  segment(f, p + t0 * u, p + t1 * u, colour, 1);
}

void segment(Form1& f, Vec p, Vec q, Rgb colour, double width) {
  f.canvas.setLineWidth(width);
  f.canvas.line(p.real(), p.imag(), q.real(), q.imag(), colour);
  f.canvas.setLineWidth(1);
}

void pointMark(Form1& f, Vec p, Rgb colour, std::u32string_view text) {
  f.canvas.setLineWidth(1);
  f.canvas.setFillStyle(kFillSolid);
  f.canvas.setFillColour(f.st.cb);
  f.canvas.circle(p.real(), p.imag(), 4, colour);
  f.canvas.setFillStyle(kFillTransparent);
  if (!text.empty()) label(f, p + Vec(5, 4), colour, text);
}

void label(Form1& f, Vec p, Rgb colour, std::u32string_view text) {
  const Rgb before = f.canvas.textColour();
  f.canvas.setFont("Arial", 11);
  f.canvas.setTextColour(colour);
  f.setPosition(p.real(), p.imag());
  f.print(text);
  f.canvas.setTextColour(before);
}

void cross(Form1& f, Vec p, Rgb colour) {
  constexpr double kArm = 7;
  segment(f, p + Vec(-kArm, -kArm), p + Vec(kArm, kArm), colour, 2);
  segment(f, p + Vec(-kArm, kArm), p + Vec(kArm, -kArm), colour, 2);
}

void ring(Form1& f, Vec centre, double radius, Rgb colour) {
  f.canvas.setLineWidth(2);
  f.canvas.setFillStyle(kFillTransparent);
  f.canvas.circle(centre.real(), centre.imag(), radius, colour);
  f.canvas.setLineWidth(1);
}

}  // namespace pm::exercise_drawing
