// The control bar for touch screens (and, on request, anywhere): buttons that
// send the keys a keyboard would, so that a phone can turn the crank and walk
// through the topics without one.

// Virtual keys (see keys.js) and Shift bits.
const BACKSPACE = 8, SPACE = 32, PAGE_UP = 33, PAGE_DOWN = 34, UP = 38, DOWN = 40;
const KEY_1 = 49, F3 = 114, F9 = 120, SHIFT = 1;

// The groups of buttons: a caption and buttons of a label, the accessible
// name and the key of the same meaning. "Texte" is F3 in Planimove and F9 in
// Rautenwerk, whose function keys differ.
function buttonGroups(rautenwerk) {
  return [
    { caption: 'Kurbel', buttons: [
      { label: '\u25c4', name: 'Kurbel zurück', key: BACKSPACE },
      { label: 'Umlauf', name: 'Umlauf', key: KEY_1 },
      { label: '\u25ba', name: 'Kurbel vor', key: SPACE },
    ] },
    { caption: 'Thema', buttons: [
      { label: '\u25b2', name: 'Voriges Thema', key: UP },
      { label: '\u25bc', name: 'Nächstes Thema', key: DOWN },
    ] },
    { caption: 'Gruppe', buttons: [
      { label: '\u25b2', name: 'Vorige Gruppe', key: UP, shift: SHIFT },
      { label: '\u25bc', name: 'Nächste Gruppe', key: DOWN, shift: SHIFT },
    ] },
    { caption: 'Getriebe', buttons: [
      { label: '\u25c4', name: 'Voriger Getriebetyp', key: PAGE_DOWN },
      { label: '\u25ba', name: 'Nächster Getriebetyp', key: PAGE_UP },
    ] },
    { caption: '', buttons: [
      { label: 'Texte', name: 'Texte', key: rautenwerk ? F9 : F3 },
    ] },
  ];
}

export class ControlBar {
  // sendKey(keyCode, shift): hands the key to the page as a key press.
  constructor(element, rautenwerk, sendKey) {
    this.element = element;
    for (const group of buttonGroups(rautenwerk)) {
      const box = document.createElement('div');
      box.className = 'control-group';
      if (group.caption) {
        const caption = document.createElement('span');
        caption.className = 'control-caption';
        caption.textContent = group.caption;
        caption.setAttribute('aria-hidden', 'true');
        box.append(caption);
      }
      for (const b of group.buttons) {
        const button = document.createElement('button');
        button.type = 'button';
        button.textContent = b.label;
        button.title = b.name;
        button.setAttribute('aria-label', b.name);
        button.tabIndex = -1;
        // The keyboard's focus stays on the picture.
        button.addEventListener('mousedown', (ev) => ev.preventDefault());
        button.addEventListener('click', () => sendKey(b.key, b.shift || 0));
        box.append(button);
      }
      element.append(box);
    }
  }

  get shown() { return !this.element.hidden; }

  set shown(on) { this.element.hidden = !on; }
}

// Whether the device is worked with fingers: the bar is shown from the start.
export function touchDevice() {
  return window.matchMedia('(pointer: coarse)').matches || (navigator.maxTouchPoints || 0) > 0;
}
