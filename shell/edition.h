// The two programs built from this source tree differ only in what this
// struct holds; nothing else in the code asks which edition is running.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "shell/menu_entry.h"

namespace pm {

enum class EditionId { Planimove, Rautenwerk };

// What a function key does. The command handler performs the action bound to
// F1 … F9 with Shift 0 or Shift 1; every other modifier does nothing.
enum class FunctionKeyAction {
  None,
  ToggleHelp,            // qst
  Demonstration,         // qgw := 1, toggle qxy, run the demonstration sequence
  ToggleTextPictures,    // qtx
  ToggleJointLetters,    // qsc
  ToggleLinkLetters,     // qsd
  ToggleDataListing,     // qse
  FullRevolutionRun,     // qgw := 1, run one revolution
  ToggleKeyOverview,     // qer
  FlipCouplerTriangles,  // qff, qhh := -qff, -qhh
  FlipLoop,              // qcc := -qcc
  MirrorDrive,           // reflect the crank about the frame direction
  FlipDyad,              // qnn := -qnn
  FlipSixBarCoupler,     // qpp := -qpp
  TogglePointLetters,    // qßß
  ToggleGrid,            // qsr
  ToggleParameterX,      // qxx
  TogglePresetStrings,   // qgx
};

struct Edition {
  EditionId id = EditionId::Planimove;
  std::string name;  // "Planimove" / "Rautenwerk"

  // F1 … F9 (index 0 … 8) with Shift 0 and with Shift 1.
  std::array<FunctionKeyAction, 9> functionKeys{};
  std::array<FunctionKeyAction, 9> shiftFunctionKeys{};
  // The key character a function-key revolution run leaves behind for the
  // rest of the command (shown by the key-information line); 0 keeps it.
  char32_t runKeyCharacter = 0;

  // The prologue clears the key-overview flag qer on every key but F8.
  bool keyOverviewOneShot = true;
  // The demonstration sequence is switched by the flag qxy and first opens
  // topic 1 of group 1; without the flag it runs on until the examples group.
  bool demonstrationByFlag = true;
  // The synthesis letter keys T, U, V, W work in every group, not only in 10.
  bool lettersTUVWInEveryGroup = false;

  // Background picture with qst = 1, and with qer = 1 ("" shows none).
  std::string helpPicture = "BildF1.gif";
  std::string keyOverviewPicture = "BildF8.gif";
  // Subfolder of the picture folders with the edition's own explanatory
  // pages (those that name its keys); "" for none. Other pages are shared.
  std::string pictureFolder;

  // A line of key code details printed at (keyInfoX, keyInfoY) before the
  // emblem at the end of every picture (see keyInformationLine).
  bool keyInfoLine = false;
  double keyInfoX = 20;
  double keyInfoY = 680;

  // The menus that differ between the editions (parents "mnu60", "mnu70").
  std::vector<MenuEntry> displayMenu;
  std::vector<MenuEntry> assemblyMenu;
  // The whole menu tree, composed from the common table and the two menus above.
  std::vector<MenuEntry> menu;
};

const Edition& planimoveEdition();
const Edition& rautenwerkEdition();

// True for a key that starts a full-revolution run or the demonstration: the
// characters "1", "2" and "5" (with any modifier) and the function keys the
// edition binds to either.
bool startsRunOrDemonstration(const Edition& edition, int keyCode, int shift);

// The key-information line: character code of the key character, the character
// itself (a blank for a control character), the key code, the Shift value and
// the key code in hexadecimal with the prefix "&H", separated by blanks.
std::u32string keyInformationLine(char32_t key, int keyCode, int shift);

}  // namespace pm
