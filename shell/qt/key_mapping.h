// Translation of Qt key events into the key codes and Shift bits of the command
// handler: Windows virtual-key codes (8 Backspace, 27 Esc, 32 Space, 33 PgUp,
// 34 PgDn, 35 End, 36 Home, 37-40 arrows, 48-57 digits, 65-90 letters,
// 112-120 F1-F9, and the codes of the other keys) and the bit set 1 Shift,
// 2 Ctrl, 4 Alt.
#pragma once

#include <QtCore/Qt>
#include <optional>

class QKeyEvent;

namespace pm {

struct VirtualKey {
  int keyCode = 0;
  int shift = 0;
  friend bool operator==(const VirtualKey&, const VirtualKey&) = default;
};

// Shift bits of a modifier state (keypad, AltGr and Meta do not count).
int shiftBits(Qt::KeyboardModifiers modifiers);

// The virtual key of a Qt key, or nothing for modifier and lock keys pressed
// alone. Keys outside the key table get their own virtual-key code (9 Tab,
// 13 Enter, 121 … 135 F10 … F24, the punctuation keys 0xBA … 0xE2 as the
// German layout names them, by the key's position where the X11 key code is
// known); a key without one gets 0xFF. None of these codes matches a rule of
// the key table, so such a key only rebuilds the picture.
//
// A digit key typed with Shift arrives from Qt as its shifted symbol ("!" for
// 1 on most layouts), while the command handler compares the unshifted digit.
// The X11 key code of the top row (10 … 19 for 1 … 9, 0) identifies the digit
// on any layout; when it is not known (0) the shifted symbols of the German
// layout are recognised instead.
std::optional<VirtualKey> virtualKey(int qtKey, Qt::KeyboardModifiers modifiers,
                                     quint32 nativeScanCode = 0);
std::optional<VirtualKey> virtualKey(const QKeyEvent& event);

}  // namespace pm
