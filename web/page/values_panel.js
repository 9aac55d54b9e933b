// The values panel ("Messwerte") beside the canvas: the core's lines laid out
// in a font fitted to the window's height. It stands in the side panel, below
// the explanatory page while that is shown.

// Font size in pixels for a window of that height (about 40 lines on the
// screen's height) and the panel width it needs, as in the window.
export function panelTextPixels(windowHeight) {
  return Math.min(48, Math.max(12, Math.floor(windowHeight / 40)));
}
function panelWidthFor(textPixels) { return textPixels * 17; }
const PANEL_SMALLEST_PIXELS = 10;
const STACKED_PIXELS = 16;

// The panel's lines from the core's text: name U+001F value, one a line.
function parseValues(text) {
  return text.split('\n').filter(Boolean).map((line) => {
    const bar = line.indexOf('\x1f');
    return bar < 0 ? { name: line, value: '' }
      : { name: line.slice(0, bar), value: line.slice(bar + 1) };
  });
}

export class ValuesPanel {
  // element: the lines; box: the side panel that holds them, whose width is set.
  constructor(element, box = element) {
    this.element = element;
    this.box = box;
    this.text = null;  // the lines shown, as the core gave them
    this.pixels = 0;
    this.smallest = PANEL_SMALLEST_PIXELS;  // below this font size the lines scroll
    this.fitted = '';  // what the font size was fitted for
  }

  get shown() { return !this.element.hidden; }

  // Its width beside a client area of that width, in a window of that
  // height: the drawing keeps at least half of the width. Stacked below the
  // picture it takes the full width and grows with its lines, which scroll.
  place(clientWidth, windowHeight, stacked = false) {
    if (stacked) {
      this.pixels = STACKED_PIXELS;
      this.box.style.width = '';
    } else {
      this.pixels = panelTextPixels(windowHeight);
      const width = Math.max(0, Math.min(panelWidthFor(this.pixels), Math.floor(clientWidth / 2)));
      this.box.style.width = width + 'px';
    }
    this.fit();
    this.keepNames();
  }

  // The smallest font the lines shrink to before they scroll.
  setSmallest(pixels) {
    if (pixels === this.smallest) return;
    this.smallest = pixels;
    this.fitted = '';
    this.fit();
  }

  setText(text) {
    if (text === this.text) return;
    this.text = text;
    const values = parseValues(text);
    const nodes = [];
    // The panel's own title, unless the lines begin with a heading of that name.
    if (!values.length || values[0].value || values[0].name !== 'Messwerte')
      nodes.push(this.div('values-title', 'Messwerte'));
    for (const v of values) {
      if (!v.value) {
        nodes.push(this.div('value-heading', v.name));
        continue;
      }
      const line = this.div('value-line', '');
      line.append(this.div('value-name', v.name), this.div('value-value', v.value));
      line.title = v.name + ' ' + v.value;
      nodes.push(line);
    }
    this.element.replaceChildren(...nodes);
    this.fit();
    this.keepNames();
  }

  // Each name keeps its own width up to half the line, in em, so that it
  // holds at any font size the panel fits. A value that does not stand whole
  // beside its name (a class title, a dead position) goes below it, wrapped:
  // it is the statement of the line. Those lines need more height, so the
  // font is fitted again when one changes.
  keepNames() {
    if (!this.shown) return;
    const em = parseFloat(getComputedStyle(this.element).fontSize) || 16;
    const lines = [...this.element.querySelectorAll('.value-line')];
    const before = lines.map((line) => line.classList.contains('value-below'));
    // Reads and writes in turn, so that each read lays out once for all lines.
    const names = lines.map((line) => line.firstChild.scrollWidth / em);
    lines.forEach((line, k) => {
      line.classList.remove('value-below');
      line.style.setProperty('--name-keep', `min(50%, ${names[k].toFixed(3)}em)`);
    });
    const below = lines.map((line) => line.lastChild.scrollWidth > line.lastChild.clientWidth);
    lines.forEach((line, k) => line.classList.toggle('value-below', below[k]));
    if (below.some((b, k) => b !== before[k])) this.fit();
  }

  div(className, text) {
    const d = document.createElement('div');
    d.className = className;
    d.textContent = text;
    return d;
  }

  // The font of the window height, smaller where the lines would not fit
  // (down to the smallest size; below it they scroll). The height the lines
  // need depends only on which lines are headings and which values stand
  // below their names, so a run, whose frames change numbers only, fits once.
  fit() {
    if (!this.shown || !this.pixels) return;
    const shape = [this.pixels, this.smallest, this.element.clientHeight, this.element.clientWidth,
      ...[...this.element.children].map((d) => d.className)].join('|');
    if (shape === this.fitted) return;
    let px = this.pixels;
    const style = this.element.style;
    for (;;) {
      style.fontSize = px + 'px';
      style.padding = (Math.floor(px / 2) + 1) + 'px';
      if (px <= Math.min(this.smallest, this.pixels) || this.element.scrollHeight <= this.element.clientHeight)
        break;
      px -= 1;
    }
    this.fitted = shape;
  }

  // The lines as shown: name and value, headings with an empty value.
  lines() {
    return [...this.element.querySelectorAll('.value-heading, .value-line')].map((d) =>
      (d.classList.contains('value-heading') ? { name: d.textContent, value: '' }
        : { name: d.firstChild.textContent, value: d.lastChild.textContent }));
  }
}
