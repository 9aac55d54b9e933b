// The two editions. Planimove is the full program; Rautenwerk, the earlier
// edition, binds the function keys differently, has a shorter display menu,
// keeps the overview flag until F8 is pressed again, runs its demonstration
// until the examples group and prints a key-information line on every picture.
#include "shell/edition.h"

#include "shell/menu_table.h"

namespace pm {
namespace {

using A = FunctionKeyAction;
constexpr int kF1 = 112;

MenuEntry displayItem(std::string name, std::string caption, double StateRecord::*flag,
                      int functionKey) {
  MenuEntry e;
  e.name = std::move(name);
  e.caption = std::move(caption);
  e.parent = "mnu60";
  e.checkable = flag != nullptr;
  e.checkFollows = flag;
  e.sendKey = kF1 + functionKey - 1;
  return e;
}

MenuEntry assemblyItem(std::string name, std::string caption, int functionKey) {
  MenuEntry e;
  e.name = std::move(name);
  e.caption = std::move(caption);
  e.parent = "mnu70";
  e.sendKey = kF1 + functionKey - 1;
  e.sendShift = 1;
  return e;
}

Edition makePlanimove() {
  Edition e;
  e.id = EditionId::Planimove;
  e.name = "Planimove";
  e.functionKeys = {A::ToggleHelp,         A::Demonstration,     A::ToggleTextPictures,
                    A::ToggleJointLetters, A::ToggleLinkLetters, A::ToggleDataListing,
                    A::FullRevolutionRun,  A::ToggleKeyOverview, A::None};
  e.shiftFunctionKeys = {
      A::FlipCouplerTriangles, A::FlipLoop,           A::MirrorDrive, A::FlipDyad,
      A::FlipSixBarCoupler,    A::TogglePointLetters, A::ToggleGrid,  A::ToggleParameterX,
      A::TogglePresetStrings};
  e.displayMenu = {
      displayItem("mnu61", "Hilfe", &StateRecord::qst, 1),
      displayItem("mnu62", "Automatk", &StateRecord::qxy, 2),
      displayItem("mnu63", "Text ein/aus", &StateRecord::qtx, 3),
      displayItem("mnu64", "Gelenke", &StateRecord::qsc, 4),
      displayItem("mnu65", "Glieder", &StateRecord::qsd, 5),
      displayItem("mnu66", "Umlauf", nullptr, 7),
      displayItem("mnu67", "Alle Softkeys", &StateRecord::qer, 8),
  };
  e.assemblyMenu = {
      assemblyItem("mnu71", "Antrieb spiegeln", 3),
      assemblyItem("mnu72", "Rautenwerk umklappen", 2),
      assemblyItem("mnu73", "Koppeldreicke umklappen", 1),
      assemblyItem("mnu74", "Siebengelenk: Zweischlag spiegeln", 4),
      assemblyItem("mnu75", "Siebengelenk: Koppel umklappen", 5),
  };
  e.menu = composeMenuTree(e.displayMenu, e.assemblyMenu);
  return e;
}

Edition makeRautenwerk() {
  Edition e;
  e.id = EditionId::Rautenwerk;
  e.name = "Rautenwerk";
  e.functionKeys = {A::ToggleHelp,        A::ToggleJointLetters, A::ToggleLinkLetters,
                    A::ToggleLinkLetters, A::ToggleGrid,         A::TogglePointLetters,
                    A::ToggleDataListing, A::ToggleKeyOverview,  A::ToggleTextPictures};
  e.shiftFunctionKeys = {
      A::FlipCouplerTriangles, A::FlipLoop, A::MirrorDrive,       A::FlipDyad,
      A::FlipSixBarCoupler,    A::None,     A::FullRevolutionRun, A::TogglePresetStrings,
      A::ToggleParameterX};
  e.runKeyCharacter = U'!';
  e.keyOverviewOneShot = false;
  e.demonstrationByFlag = false;
  e.lettersTUVWInEveryGroup = true;
  e.helpPicture = "Bild000.gif";
  e.keyOverviewPicture = "";
  e.pictureFolder = "rautenwerk";
  e.keyInfoLine = true;
  // Each item toggles its flag through the function key bound to it above.
  e.displayMenu = {
      displayItem("mnu61", "&Daten", &StateRecord::qse, 7),
      displayItem("mnu62", "&Softkeys", &StateRecord::qst, 1),
      displayItem("mnu63", "&Gelenke", &StateRecord::qsc, 2),
      displayItem("mnu64", "&Raster", &StateRecord::qsd, 3),
      displayItem("mnu65", "G&lieder", &StateRecord::qsr, 5),
  };
  e.assemblyMenu = {
      assemblyItem("mnu71", "Antrieb spiegeln", 3),
      assemblyItem("mnu72", "Rautenwerk umklappen", 2),
      assemblyItem("mnu73", "Koppeldreicke umklappen", 1),
      assemblyItem("mnu74", "Zweischlag spiegeln", 4),
      assemblyItem("mnu75", "Koppel umklappen", 5),
  };
  e.menu = composeMenuTree(e.displayMenu, e.assemblyMenu);
  return e;
}

std::u32string decimal(long v) {
  std::string s = std::to_string(v);
  return std::u32string(s.begin(), s.end());
}

}  // namespace

const Edition& planimoveEdition() {
  static const Edition e = makePlanimove();
  return e;
}

const Edition& rautenwerkEdition() {
  static const Edition e = makeRautenwerk();
  return e;
}

bool startsRunOrDemonstration(const Edition& edition, int keyCode, int shift) {
  if (keyCode == '1' || keyCode == '2' || keyCode == '5') return true;
  if (keyCode < kF1 || keyCode >= kF1 + 9 || (shift != 0 && shift != 1)) return false;
  const auto& table = shift == 0 ? edition.functionKeys : edition.shiftFunctionKeys;
  const FunctionKeyAction action = table[static_cast<std::size_t>(keyCode - kF1)];
  return action == A::FullRevolutionRun || action == A::Demonstration;
}

std::u32string keyInformationLine(char32_t key, int keyCode, int shift) {
  const bool printable = key >= 32 && key != 127 && !(key >= 128 && key < 160) && key < 0x110000;
  std::u32string line = decimal(static_cast<long>(key));
  line += U' ';
  line += printable ? key : U' ';
  line += U' ';
  line += decimal(keyCode);
  line += U' ';
  line += decimal(shift);
  line += U" &H";
  static constexpr char kHex[] = "0123456789ABCDEF";
  // Hexadecimal of the 16-bit key code, as the key code is held in 16 bits.
  unsigned v = static_cast<unsigned>(keyCode) & 0xFFFFu;
  std::u32string hex;
  do {
    hex.insert(hex.begin(), static_cast<char32_t>(kHex[v % 16]));
    v /= 16;
  } while (v != 0);
  return line + hex;
}

}  // namespace pm
