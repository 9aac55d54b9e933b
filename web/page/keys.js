// Keyboard events of the browser as the core's virtual keys and Shift bits.

// Keys by position (KeyboardEvent.code), as the window takes them by their
// X11 key code: Windows virtual-key codes, the punctuation keys as the German
// layout names them.
const CODES = {
  Backspace: 8, Tab: 9, NumpadEnter: 13, Enter: 13, Pause: 19, Escape: 27, Space: 32,
  PageUp: 33, PageDown: 34, End: 35, Home: 36,
  ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40,
  PrintScreen: 44, Insert: 45, Delete: 46, ContextMenu: 93,
  NumpadMultiply: 106, NumpadAdd: 107, NumpadSubtract: 109, NumpadDecimal: 110,
  NumpadComma: 110, NumpadDivide: 111,
  Minus: 0xDB, Equal: 0xDD, BracketLeft: 0xBA, BracketRight: 0xBB, Semicolon: 0xC0,
  Quote: 0xDE, Backquote: 0xDC, Backslash: 0xBF, Comma: 0xBC, Period: 0xBE, Slash: 0xBD,
  IntlBackslash: 0xE2,
};
// The keypad without Num Lock, by the key it stands for.
const KEYPAD_KEYS = {
  Home: 36, End: 35, PageUp: 33, PageDown: 34, ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39,
  ArrowDown: 40, Insert: 45, Delete: 46, Clear: 12,
};
const MODIFIER_CODES = new Set([
  'ShiftLeft', 'ShiftRight', 'ControlLeft', 'ControlRight', 'AltLeft', 'AltRight',
  'MetaLeft', 'MetaRight', 'OSLeft', 'OSRight', 'CapsLock', 'NumLock', 'ScrollLock', 'Fn',
]);
const NO_VIRTUAL_KEY = 0xFF;

// Shift bits: 1 Shift, 2 Ctrl, 4 Alt (AltGr and Meta do not count).
function shiftBits(e) {
  let bits = (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0);
  if (e.getModifierState && e.getModifierState('AltGraph')) bits &= 1;
  return bits;
}

// { keyCode, shift } of a key event, or null for modifier keys alone.
export function virtualKey(e) {
  const code = e.code || '';
  const shift = shiftBits(e);
  if (MODIFIER_CODES.has(code) || ['Shift', 'Control', 'Alt', 'AltGraph', 'Meta'].includes(e.key))
    return null;
  let m;
  if ((m = /^Digit([0-9])$/.exec(code))) return { keyCode: 48 + Number(m[1]), shift };
  if ((m = /^Key([A-Z])$/.exec(code))) return { keyCode: m[1].charCodeAt(0), shift };
  if ((m = /^F([0-9]+)$/.exec(code))) {
    const f = Number(m[1]);
    if (f >= 1 && f <= 24) return { keyCode: 111 + f, shift };
  }
  if ((m = /^Numpad([0-9])$/.exec(code))) {
    if (/^[0-9]$/.test(e.key)) return { keyCode: 48 + Number(m[1]), shift };
    if (e.key in KEYPAD_KEYS) return { keyCode: KEYPAD_KEYS[e.key], shift };
    return { keyCode: NO_VIRTUAL_KEY, shift };
  }
  if (code in CODES) return { keyCode: CODES[code], shift };
  // Without a code (some virtual keyboards) the key's value decides.
  if (!code && e.key) {
    if (/^[0-9]$/.test(e.key)) return { keyCode: e.key.charCodeAt(0), shift };
    if (/^[a-zA-Z]$/.test(e.key)) return { keyCode: e.key.toUpperCase().charCodeAt(0), shift };
    const named = { Backspace: 8, Escape: 27, ' ': 32, PageUp: 33, PageDown: 34, End: 35,
      Home: 36, ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, Enter: 13, Tab: 9 };
    if (e.key in named) return { keyCode: named[e.key], shift };
  }
  return { keyCode: NO_VIRTUAL_KEY, shift };
}
