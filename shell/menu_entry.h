// One item of the menu tree: where it hangs, what it shows and what choosing it
// does. Choosing an item sets the state fields that the menus holding it and
// the item itself list, then hands the item's key to the command handler; its
// check mark shows the flag it follows. Opening a menu does nothing.
#pragma once

#include <string>

#include "shell/state_record.h"

namespace pm {

// Commands the window carries out itself. The items of the added menu
// "E&xtras" work on the window (its values panel, its picture) and never reach
// the command handler, so they leave the state record and the picture alone.
enum class WindowCommand {
  None,          // an item of the command handler
  Menu,          // the menu "E&xtras" itself: opening it does nothing
  ValuesPanel,   // shows or hides the panel "Messwerte" (also F11)
  CopyPicture,   // the picture to the clipboard (image and SVG)
  SavePicture,   // the picture as a PNG or SVG file
  SaveAnimation,  // one revolution of the crank as an animated GIF
  OpenSetup,      // a set-up file (shell/setup.h) replaces the state
  SaveSetup,      // the state as a set-up file
  CopyLink,       // the page's address, which opens the picture on screen, to the clipboard
  Dimensions,     // the dialog of the mechanism's dimensions ("&Maße …")
  FitView,        // the view frames the construction ("&Einpassen")
  ResetView,      // the view as at the start
  ProjectorMode,  // lines and labels stronger, status lines hidden
  Diagrams,       // shows or hides the diagrams over the crank angle (also F10)
  SaveDiagrams,   // the diagrams as a PNG or SVG picture or their table as CSV
  ExerciseNumber  // asks for the number of an exercise and opens it
};

// Items of the menu "Ü&bungen" that the exercise module carries out.
enum class ExerciseCommand { None, Start, Hint, Solution, Next };

struct MenuEntry {
  std::string name;     // control name, "mnu224"
  std::string caption;  // exact caption (UTF-8, blanks kept, "&" marks the access letter)
  std::string parent;   // control name of the holding menu; "" for the menu bar
  bool hasSubmenu = false;
  bool checkable = false;

  // The command, applied in this order. A field at 0 (or null) is left alone.
  int setType = 0;         // mn0 := setType
  int setGroup = 0;        // mn1 := setGroup
  bool resetPage = false;  // mn5 := 0
  int setTopic = 0;        // mn2 := setTopic, the topic that carries the item's name
  double StateRecord::*checkFollows = nullptr;  // checked while this flag is 1
  int sendKey = 0;  // then Form_KeyDown(sendKey, sendShift); 5 only rebuilds
  int sendShift = 0;

  ExerciseCommand exerciseCommand = ExerciseCommand::None;
  int exerciseKind = 0;  // Start: the kind of exercise (ExerciseKind)

  WindowCommand windowCommand = WindowCommand::None;
  std::string shortcut;  // key shown beside a window command's caption ("F11")
  // Only where the program has an address (the browser page): the window
  // leaves the item out.
  bool pageOnly = false;

  bool hasCommand() const {
    return setType || setGroup || resetPage || setTopic || checkFollows || sendKey ||
           exerciseCommand != ExerciseCommand::None;
  }
};

}  // namespace pm
