// Drawing helpers of the exercise pictures: whole lines across the picture,
// marks and rings, in drawing units on the Form1's canvas.
#pragma once

#include <optional>
#include <string_view>

#include "draw/colour.h"
#include "kinematics/planar_motion.h"

namespace pm {

class Form1;

namespace exercise_drawing {

using kinematics::Vec;

// The colours: the hint's lines, a right and a wrong answer.
Rgb hintColour();
Rgb rightColour();
Rgb wrongColour();

// Where the lines p1-p2 and q1-q2 meet; nothing when they are parallel.
std::optional<Vec> meet(Vec p1, Vec p2, Vec q1, Vec q2);

// The whole line through p and q, as far as the picture reaches.
void lineAcross(Form1& f, Vec p, Vec q, Rgb colour);
void segment(Form1& f, Vec p, Vec q, Rgb colour, double width);
// A small point circle (as the constructions mark points) with a label.
void pointMark(Form1& f, Vec p, Rgb colour, std::u32string_view label);
// A text whose top-left corner is at p.
void label(Form1& f, Vec p, Rgb colour, std::u32string_view text);
void cross(Form1& f, Vec p, Rgb colour);
void ring(Form1& f, Vec centre, double radius, Rgb colour);

}  // namespace exercise_drawing
}  // namespace pm
