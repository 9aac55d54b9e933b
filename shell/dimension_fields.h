// The dialog "Maße": the mechanism's dimensions as fields of text (lengths in
// mm, the frame's and the crank's angle in degrees, ω and α of the crank),
// and the set-up the typed fields give. The window and the page only show
// the fields; reading and checking what was typed happens here, through the
// set-up, so that a value typed in the dialog and the same value in a set-up
// file give the same picture, and nothing is applied unless all of it is right.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/setup.h"

namespace pm {

class Form1;

struct DimensionField {
  std::string key;    // "a" … "p", "frameAngle", "crankAngle", "omega" or "alpha"
  std::string label;  // "Kurbel a"
  std::string unit;   // "mm", "°", "1/s", "1/s²"
  std::string text;   // the value as shown and as typed, with a decimal comma
};

// The fields for the mechanism on screen: its links and coupler point (a … f;
// the six-bar topics add g … p), the frame's angle, φ, ω and α.
std::vector<DimensionField> dimensionFields(const Form1& form);

// A number as typed: blanks around it, an optional sign (also U+2212), a
// decimal comma or point; nothing for anything else.
std::optional<double> typedNumber(std::string_view text);

// The set-up of the form with the fields as typed (a field whose text was not
// changed keeps its exact value); nothing and a German message naming the
// field or the problem when they cannot be applied.
std::optional<Setup> checkDimensions(const Form1& form, const std::vector<DimensionField>& typed,
                                     std::string& message);

}  // namespace pm
