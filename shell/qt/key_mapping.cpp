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
  if (const auto code = directCode(qtKey)) return VirtualKey{*code, shift};
  if (modifiers & Qt::ShiftModifier) {
    std::optional<int> digit = digitFromScanCode(nativeScanCode);
    if (!digit && nativeScanCode == 0) digit = digitFromGermanShiftedSymbol(qtKey);
    if (digit) return VirtualKey{'0' + *digit, shift};
  }
  return std::nullopt;
}

std::optional<VirtualKey> virtualKey(const QKeyEvent& event) {
  // Scan codes are X11/XKB key codes only on these platforms.
  const QString platform = QGuiApplication::platformName();
  const bool xkbCodes =
      platform.startsWith(QLatin1String("xcb")) || platform.startsWith(QLatin1String("wayland"));
  return virtualKey(event.key(), event.modifiers(), xkbCodes ? event.nativeScanCode() : 0);
}

}  // namespace pm
