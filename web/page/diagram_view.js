// The diagrams over the crank angle beside the canvas: the core draws their
// sheet at this canvas's size in CSS pixels (one drawing unit to a pixel) and
// the Painter paints it as the picture; a click or tap in a plot picks a
// crank angle, which the core asks for.
import { Painter } from './painter.js';
import { SvgContext } from './svg_context.js';

// Width for a window of that height, as in the window: a little wider than
// the values panel.
function diagramsWidthFor(windowHeight) {
  return Math.min(48, Math.max(12, Math.floor(windowHeight / 40))) * 20;
}

export class DiagramView {
  constructor(canvas) {
    this.canvas = canvas;
    this.ctx = canvas.getContext('2d', { alpha: false });
    this.painter = new Painter();
    this.sheet = null;  // { numbers, texts, background }
  }

  get shown() { return !this.canvas.hidden; }
  cssWidth() { return this.shown ? this.canvas.clientWidth : 0; }
  cssHeight() { return this.shown ? this.canvas.clientHeight : 0; }
  frame() { return { left: 0, top: 0, width: this.cssWidth(), height: this.cssHeight() }; }

  // Its width beside a client area of that width, in a window of that height,
  // next to a panel of that width: the drawing keeps at least half of the
  // width. Stacked below the picture (phones) it takes the full width.
  place(clientWidth, windowHeight, panelWidth, stacked = false) {
    if (stacked) {
      this.canvas.style.width = '';
      return;
    }
    const room = Math.floor(clientWidth / 2) - panelWidth;
    const width = Math.max(0, Math.min(diagramsWidthFor(windowHeight), room));
    this.canvas.style.width = width + 'px';
  }

  // The canvas's pixels for its size; true when they changed.
  resize() {
    const dpr = window.devicePixelRatio || 1;
    const w = Math.max(1, Math.round(this.cssWidth() * dpr));
    const h = Math.max(1, Math.round(this.cssHeight() * dpr));
    if (this.canvas.width === w && this.canvas.height === h) return false;
    this.canvas.width = w;
    this.canvas.height = h;
    return true;
  }

  show(numbers, texts) {
    this.sheet = { numbers: numbers.slice(), texts: texts.split('\x1f'), background: 0xffffff };
    this.paint();
  }

  paint() {
    if (!this.sheet || !this.shown) return;
    const dpr = this.canvas.width / Math.max(1, this.cssWidth());
    this.painter.paint(this.ctx, dpr, this.cssWidth(), this.cssHeight(), this.sheet, null, this.frame());
  }

  // The point of an event in the sheet's units.
  at(ev) {
    const r = this.canvas.getBoundingClientRect();
    return { x: ev.clientX - r.left, y: ev.clientY - r.top };
  }

  pngBlob() {
    return new Promise((resolve, reject) => {
      this.canvas.toBlob((b) => (b ? resolve(b) : reject(new Error('kein Bild'))), 'image/png');
    });
  }

  svgBlob() {
    const dpr = this.canvas.width / Math.max(1, this.cssWidth());
    const svg = new SvgContext(this.canvas.width, this.canvas.height);
    if (this.sheet)
      new Painter().paint(svg, dpr, this.cssWidth(), this.cssHeight(), this.sheet, null, this.frame());
    return new Blob([svg.document()], { type: 'image/svg+xml' });
  }
}
