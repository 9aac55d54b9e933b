// The menu tree as one table: every item with its control name, exact caption
// and parent. The window builds its menu bar from this table and sends every
// chosen item to Form1::menuCommand by name.
#pragma once

#include <string_view>
#include <vector>

#include "shell/edition.h"
#include "shell/menu_entry.h"

namespace pm {

// The items of an edition's menu tree, every parent before its children, in
// display order.
const std::vector<MenuEntry>& menuTree(const Edition& edition);

// The common tree with an edition's display and assembly menus put in their
// places (used when an edition is made).
std::vector<MenuEntry> composeMenuTree(const std::vector<MenuEntry>& displayMenu,
                                       const std::vector<MenuEntry>& assemblyMenu);

// The menu every edition adds after "&Beispiele": "E&xtras" with the values
// panel, set-up files (and, in the browser page only, copying its link), the
// dimensions, the view, the projector mode, copying and saving the picture,
// the animation of a revolution and the diagrams over the crank angle.
// Its entries are window commands; the command handler does not know them.
const std::vector<MenuEntry>& extrasMenu();

// The menu after "E&xtras": "Ü&bungen", an exercise of each kind, its hint,
// solution and the next exercise, and opening an exercise by its number.
const std::vector<MenuEntry>& exerciseMenu();

// The menu bar as a window shows it: the edition's tree, extrasMenu() and
// exerciseMenu().
std::vector<MenuEntry> menuBarTree(const Edition& edition);

// The entry of a control name in a tree, or nullptr.
const MenuEntry* findMenuEntry(const std::vector<MenuEntry>& tree, std::string_view name);

// What choosing an item does, in order: the menus that hold it, from the menu
// bar down, then the item. Empty for a menu, whose opening does nothing.
std::vector<const MenuEntry*> chosenPath(const std::vector<MenuEntry>& tree, const MenuEntry& item);

}  // namespace pm
