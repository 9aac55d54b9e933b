#include "shell/qt/key_mapping.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QKeyEvent>

namespace pm {

namespace {

// Digit of a key of the top row from its X11 key code (evdev code + 8).
std::optional<int> digitFromScanCode(quint32 scanCode) {
  if (scanCode >= 10 && scanCode <= 18) return static_cast<int>(scanCode - 9);  // 1 … 9
  if (scanCode == 19) return 0;
  return std::nullopt;
}

// Digit whose key yields this symbol with Shift on the German layout.
std::optional<int> digitFromGermanShiftedSymbol(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Equal:
      return 0;
    case Qt::Key_Exclam:
      return 1;
    case Qt::Key_QuoteDbl:
      return 2;
    case Qt::Key_section:
      return 3;
    case Qt::Key_Dollar:
      return 4;
    case Qt::Key_Percent:
      return 5;
    case Qt::Key_Ampersand:
      return 6;
    case Qt::Key_Slash:
      return 7;
    case Qt::Key_ParenLeft:
      return 8;
    case Qt::Key_ParenRight:
      return 9;
    default:
      return std::nullopt;
  }
}

// Virtual-key codes of the keys that print punctuation and umlauts, as the
// German layout names them (VK_OEM_1 … VK_OEM_102).
enum OemKey : int {
  kOemUe = 0xBA,       // ü
  kOemPlus = 0xBB,     // + * ~
  kOemComma = 0xBC,    // , ;
  kOemMinus = 0xBD,    // - _
  kOemPeriod = 0xBE,   // . :
  kOemHash = 0xBF,     // # '
  kOemOe = 0xC0,       // ö
  kOemSharpS = 0xDB,   // ß ? backslash
  kOemCircumflex = 0xDC,  // ^ °
  kOemAcute = 0xDD,    // ´ `
  kOemAe = 0xDE,       // ä
  kOemLess = 0xE2,     // < > |
};

// The key a code comes from when nothing else names it.
constexpr int kNoVirtualKey = 0xFF;

// Punctuation keys by their X11 key code (evdev code + 8), whatever symbol the
// layout puts on them: the position of the key decides, as on the German layout.
std::optional<int> oemFromScanCode(quint32 scanCode) {
  switch (scanCode) {
    case 20: return kOemSharpS;
    case 21: return kOemAcute;
    case 34: return kOemUe;
    case 35: return kOemPlus;
    case 47: return kOemOe;
    case 48: return kOemAe;
    case 49: return kOemCircumflex;
    case 51: return kOemHash;
    case 59: return kOemComma;
    case 60: return kOemPeriod;
    case 61: return kOemMinus;
    case 94: return kOemLess;
    default: return std::nullopt;
  }
}

// Punctuation keys by the symbol they typed, on the German layout (used where
// no X11 key code is known).
std::optional<int> oemFromSymbol(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Udiaeresis: return kOemUe;
    case Qt::Key_Plus: case Qt::Key_Asterisk: case Qt::Key_AsciiTilde: return kOemPlus;
    case Qt::Key_Comma: case Qt::Key_Semicolon: return kOemComma;
    case Qt::Key_Minus: case Qt::Key_Underscore: return kOemMinus;
    case Qt::Key_Period: case Qt::Key_Colon: return kOemPeriod;
    case Qt::Key_NumberSign: case Qt::Key_Apostrophe: return kOemHash;
    case Qt::Key_Odiaeresis: return kOemOe;
    case Qt::Key_ssharp: case Qt::Key_Question: case Qt::Key_Backslash: return kOemSharpS;
    case Qt::Key_AsciiCircum: case Qt::Key_degree: case Qt::Key_Dead_Circumflex:
      return kOemCircumflex;
    case Qt::Key_acute: case Qt::Key_QuoteLeft: case Qt::Key_Dead_Acute: case Qt::Key_Dead_Grave:
      return kOemAcute;
    case Qt::Key_Adiaeresis: return kOemAe;
    case Qt::Key_Less: case Qt::Key_Greater: case Qt::Key_Bar: return kOemLess;
    default: return std::nullopt;
  }
}

// Modifier and lock keys pressed alone: they send nothing.
bool isModifierKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:  // also the level-3 shift of XKB
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_Mode_switch:
    case Qt::Key_Multi_key:
      return true;
    default:
      return false;
  }
}

// Keys outside the key table that still have a virtual-key code of their own.
std::optional<int> otherCode(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::KeypadModifier) {
    switch (qtKey) {
      case Qt::Key_Asterisk: return 106;  // VK_MULTIPLY
      case Qt::Key_Plus: return 107;      // VK_ADD
      case Qt::Key_Minus: return 109;     // VK_SUBTRACT
      case Qt::Key_Period:
      case Qt::Key_Comma: return 110;     // VK_DECIMAL
      case Qt::Key_Slash: return 111;     // VK_DIVIDE
      default: break;
    }
  }
  switch (qtKey) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Clear: return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Pause: return 19;
    case Qt::Key_Print: return 44;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Menu: return 93;
    default: break;
  }
  if (qtKey >= Qt::Key_F10 && qtKey <= Qt::Key_F24) return 121 + (qtKey - Qt::Key_F10);
  return std::nullopt;
}

std::optional<int> directCode(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_End:
      return 35;
    case Qt::Key_Home:
      return 36;
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    default:
      break;
  }
  // Qt's digit and letter keys carry the ASCII codes of the digits and the
  // capital letters, which are also their virtual-key codes.
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return qtKey;
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F9) return 112 + (qtKey - Qt::Key_F1);
  return std::nullopt;
}

}  // namespace

int shiftBits(Qt::KeyboardModifiers modifiers) {
  int bits = 0;
  if (modifiers & Qt::ShiftModifier) bits |= 1;
  if (modifiers & Qt::ControlModifier) bits |= 2;
  if (modifiers & Qt::AltModifier) bits |= 4;
  return bits;
}

std::optional<VirtualKey> virtualKey(int qtKey, Qt::KeyboardModifiers modifiers,
                                     quint32 nativeScanCode) {
  const int shift = shiftBits(modifiers);
  if (qtKey <= 0 || isModifierKey(qtKey)) return std::nullopt;
  if (const auto code = directCode(qtKey)) return VirtualKey{*code, shift};
  if (modifiers & Qt::ShiftModifier) {
    std::optional<int> digit = digitFromScanCode(nativeScanCode);
    if (!digit && nativeScanCode == 0) digit = digitFromGermanShiftedSymbol(qtKey);
    if (digit) return VirtualKey{'0' + *digit, shift};
  }
  // Every other key reaches the command handler too, with a code that no rule
  // of the key table uses: it rebuilds the picture and hides the help.
  if (const auto code = otherCode(qtKey, modifiers)) return VirtualKey{*code, shift};
  if (const auto code = oemFromScanCode(nativeScanCode)) return VirtualKey{*code, shift};
  if (nativeScanCode == 0) {
    if (const auto code = oemFromSymbol(qtKey)) return VirtualKey{*code, shift};
  }
  return VirtualKey{kNoVirtualKey, shift};
}

std::optional<VirtualKey> virtualKey(const QKeyEvent& event) {
  // Scan codes are X11/XKB key codes only on these platforms.
  const QString platform = QGuiApplication::platformName();
  const bool xkbCodes =
      platform.startsWith(QLatin1String("xcb")) || platform.startsWith(QLatin1String("wayland"));
  return virtualKey(event.key(), event.modifiers(), xkbCodes ? event.nativeScanCode() : 0);
}

}  // namespace pm
