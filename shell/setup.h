// Set-ups: everything needed to show a picture again, as a small JSON
// document (".planimove" files, UTF-8; links of the browser page carry it
// compact and URL-safe). A set-up names the edition, the mechanism type,
// topic group, topic and page, the dimensions as a lecturer gives them
// (lengths in mm, the crank angle φ, ω and α of the crank; see
// kinematics/physical_values.h), the assembly, the display flags, zoom and view, the
// synthesis task with its chosen pairs and recorded four-bar. Fields left out
// take the values the program starts with; a field that is not known, of the
// wrong kind or impossible refuses the whole set-up with a German message
// naming it, and nothing is changed. docs/SETUP.md describes the format.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "draw/view.h"
#include "shell/edition.h"
#include "shell/state_record.h"

namespace pm {

class Form1;

inline constexpr std::string_view kSetupFormat = "planimove-setup";
inline constexpr int kSetupVersion = 1;
inline constexpr std::string_view kSetupExtension = ".planimove";

// A checked set-up: the state record and view it gives.
struct Setup {
  StateRecord st;
  View view;
};

// The state of the form as a set-up: indented for files; `compact` leaves
// out every field at its start value and writes it on one line (for links).
std::string writeSetup(const Form1& form, bool compact = false);

// Reads a set-up for the edition; on a fault nothing, and `message` says in
// German what is wrong ("Die Länge c ist negativ (-120 mm).").
std::optional<Setup> parseSetup(std::string_view text, const Edition& edition, std::string& message);

// Shows a checked set-up: the state and view it gives, then the picture.
void applySetup(Form1& form, const Setup& setup);

// The text of a set-up file (its name used byte for byte); false and a
// German message when it cannot be read or is far too large for a set-up.
bool readSetupFile(const std::string& path, std::string& text, std::string& message);

// The set-up as a URL fragment (base64url of the compact form, no padding),
// and back; a fragment that is not one gives nothing and a message.
std::string setupToLink(const Form1& form);
std::optional<Setup> setupFromLink(std::string_view fragment, const Edition& edition,
                                   std::string& message);

}  // namespace pm
