// Command line of planimove-render: the edition, the picture folder, the
// events to apply and the files to write. Everything is checked before the
// program starts, so that a bad argument changes nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exercise/exercise_state.h"
#include "shell/edition.h"

namespace pm::render {

struct Event {
  enum class Kind { Key, Menu };
  Kind kind = Kind::Key;
  int keyCode = 0;
  int shift = 0;
  std::optional<double> cursorX, cursorY;  // "@X,Y": the cursor from this key on
  std::string menu;                        // Kind::Menu: control name
  std::string text;                        // the event as written
};

struct Options {
  const Edition* edition = &planimoveEdition();
  std::string pictures;  // folder searched first for picture files ("" none)
  std::vector<Event> events;
  std::string png, svg, json;  // "" writes no such file; json "-" is stdout
  std::string gif;             // every run frame of the events as an animation ("" none)
  long maxFrames = 5000;
  // Size in pixels of the drawing area the pictures are written for: the
  // picture is fitted into it as the window fits it into its drawing area.
  int width = 1022, height = 691;
  // How the PNG and SVG show the picture (draw/view.h): framed around the
  // construction after the events, in the projector mode, without the page
  // picture, emblem and status lines, or cropped to the construction.
  bool fit = false;
  bool projector = false;
  bool clean = false;
  bool crop = false;
  std::string setup;       // a set-up file to start from ("" none)
  std::string writeSetup;  // the state after the events as a set-up file ("" none)
  // The diagrams over the crank angle of the last state ("" none), and the
  // size of their sheet in pixels.
  std::string diagramCsv, diagramSvg, diagramPng;
  int diagramWidth = 800, diagramHeight = 1000;
  // An exercise opened after the start, before the events: its kind ("" none)
  // and seed; an answer given at a point after the events, and its solution shown.
  std::string exercise;
  long seed = 1;
  std::optional<double> answerX, answerY;
  bool solution = false;
};

// The key code and Shift bits of "[Shift+][Ctrl+][Alt+]NAME"; nothing when the
// text is no key.
std::optional<Event> parseKey(std::string_view text);

// Splits EVENTS at blanks and parses each; a bad event gives its position
// (1-based) and text in `error`.
std::optional<std::vector<Event>> parseEvents(std::string_view events, const Edition& edition,
                                              std::string& error);

// The whole command line (argv[1] …); nothing and a message on a bad argument.
std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string& error);

std::string_view usage();

}  // namespace pm::render
