// The menu tree as one table: every item with its control name, exact caption
// and parent. The window builds its menu bar from this table and sends every
// chosen item (and every opened submenu) to Form1::menuCommand by name.
#pragma once

#include <string>
#include <vector>

#include "shell/edition.h"

namespace pm {

struct MenuEntry {
  std::string name;     // control name, "mnu224"
  std::string caption;  // exact caption (UTF-8, blanks kept, "&" marks the access letter)
  std::string parent;   // control name of the holding menu; "" for the menu bar
  bool hasSubmenu = false;
  bool checkable = false;
};

// The items of an edition's menu tree, every parent before its children, in
// display order.
const std::vector<MenuEntry>& menuTree(const Edition& edition);

}  // namespace pm
