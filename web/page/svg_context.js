// A drawing context that writes SVG: the Painter paints the display list on
// it exactly as on the canvas, so the SVG shows the canvas's picture. Paths
// are kept in device pixels (every point through the transform at the time
// it is added, as the canvas does); line widths, fonts and patterns follow
// the transform at the time they are used.
import { TWO_PI } from './painter.js';

let measurer = null;  // a canvas context that measures texts

function xmlText(t) {
  return String(t).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;')
    .replace(/"/g, '&quot;');
}

function num(v) { return Number.isFinite(v) ? String(Math.round(v * 1000) / 1000) : '0'; }

export class SvgContext {
  constructor(width, height) {
    this.width = width;
    this.height = height;
    this.body = [];
    this.defs = [];
    this.ids = 0;
    this.images = new Map();  // picture or tile → its data URL
    this.stack = [];
    this.state = { m: new DOMMatrix(), fillStyle: '#000000', strokeStyle: '#000000',
      lineWidth: 1, lineCap: 'butt', lineJoin: 'miter', font: '10px sans-serif', clips: 0 };
    this.path = '';
    this.current = null;  // the path's current point, or null
    this.fontKerning = 'auto';
    this.imageSmoothingEnabled = true;
  }

  get fillStyle() { return this.state.fillStyle; }
  set fillStyle(v) { this.state.fillStyle = v; }
  get strokeStyle() { return this.state.strokeStyle; }
  set strokeStyle(v) { this.state.strokeStyle = v; }
  get lineWidth() { return this.state.lineWidth; }
  set lineWidth(v) { this.state.lineWidth = v; }
  get lineCap() { return this.state.lineCap; }
  set lineCap(v) { this.state.lineCap = v; }
  get lineJoin() { return this.state.lineJoin; }
  set lineJoin(v) { this.state.lineJoin = v; }
  get font() { return this.state.font; }
  set font(v) { this.state.font = v; }

  setTransform(a, b, c, d, e, f) { this.state.m = new DOMMatrix([a, b, c, d, e, f]); }
  getTransform() { return DOMMatrix.fromMatrix(this.state.m); }
  scale() { return Math.hypot(this.state.m.a, this.state.m.b); }

  save() {
    this.stack.push(this.state);
    this.state = { ...this.state, m: DOMMatrix.fromMatrix(this.state.m), clips: 0 };
  }

  restore() {
    if (!this.stack.length) return;
    for (let i = 0; i < this.state.clips; ++i) this.body.push('</g>');
    this.state = this.stack.pop();
  }

  point(x, y) {
    const p = this.state.m.transformPoint(new DOMPoint(x, y));
    return [p.x, p.y];
  }

  beginPath() {
    this.path = '';
    this.current = null;
  }

  moveTo(x, y) {
    const [px, py] = this.point(x, y);
    this.path += `M${num(px)} ${num(py)}`;
    this.current = [px, py];
    this.start = [px, py];
  }

  lineTo(x, y) {
    if (!this.current) {
      this.moveTo(x, y);
      return;
    }
    const [px, py] = this.point(x, y);
    this.path += `L${num(px)} ${num(py)}`;
    this.current = [px, py];
  }

  bezierCurveTo(x1, y1, x2, y2, x, y) {
    if (!this.current) this.moveTo(x1, y1);
    const a = this.point(x1, y1), b = this.point(x2, y2), c = this.point(x, y);
    this.path += `C${num(a[0])} ${num(a[1])} ${num(b[0])} ${num(b[1])} ${num(c[0])} ${num(c[1])}`;
    this.current = c;
  }

  closePath() {
    if (!this.current) return;
    this.path += 'Z';
    this.current = this.start;
  }

  rect(x, y, w, h) {
    this.moveTo(x, y);
    this.lineTo(x + w, y);
    this.lineTo(x + w, y + h);
    this.lineTo(x, y + h);
    this.closePath();
  }

  // Clockwise on screen from angle a0 to a1 (the canvas's sense), as SVG
  // arcs of at most half a turn each.
  arc(x, y, r, a0, a1) {
    const at = (a) => [x + r * Math.cos(a), y + r * Math.sin(a)];
    const [sx, sy] = at(a0);
    if (this.current) this.lineTo(sx, sy);
    else this.moveTo(sx, sy);
    const sweep = Math.min(TWO_PI, Math.max(0, a1 - a0));
    const rr = num(r * this.scale());
    const steps = Math.max(1, Math.ceil(sweep / Math.PI));
    for (let i = 1; i <= steps; ++i) {
      const [ex, ey] = this.point(...at(a0 + (sweep * i) / steps));
      this.path += `A${rr} ${rr} 0 0 1 ${num(ex)} ${num(ey)}`;
      this.current = [ex, ey];
    }
  }

  clip() {
    const id = 'c' + ++this.ids;
    this.defs.push(`<clipPath id="${id}"><path d="${this.path}"/></clipPath>`);
    this.body.push(`<g clip-path="url(#${id})">`);
    this.state.clips += 1;
  }

  // A fill or stroke style as an SVG paint: a colour or a pattern.
  paint(style) {
    if (typeof style === 'string') return style;
    const id = 'p' + ++this.ids;
    const m = this.state.m.multiply(style.matrix);
    this.defs.push(`<pattern id="${id}" patternUnits="userSpaceOnUse" width="8" height="8" ` +
      `patternTransform="matrix(${[m.a, m.b, m.c, m.d, m.e, m.f].map(num).join(' ')})">` +
      `<image href="${this.dataUrl(style.tile)}" width="8" height="8" ` +
      'style="image-rendering:pixelated"/></pattern>');
    return `url(#${id})`;
  }

  createPattern(tile) {
    return { tile, matrix: new DOMMatrix(), setTransform(m) { this.matrix = DOMMatrix.fromMatrix(m); } };
  }

  dataUrl(image) {
    let url = this.images.get(image);
    if (!url) {
      const c = document.createElement('canvas');
      c.width = image.naturalWidth || image.width;
      c.height = image.naturalHeight || image.height;
      c.getContext('2d').drawImage(image, 0, 0);
      url = c.toDataURL('image/png');
      this.images.set(image, url);
    }
    return url;
  }

  fill() {
    if (this.path) this.body.push(`<path d="${this.path}" fill="${this.paint(this.fillStyle)}"/>`);
  }

  stroke() {
    if (!this.path) return;
    this.body.push(`<path d="${this.path}" fill="none" stroke="${this.paint(this.strokeStyle)}" ` +
      `stroke-width="${num(this.lineWidth * this.scale())}" stroke-linecap="${this.lineCap}" ` +
      `stroke-linejoin="${this.lineJoin}"/>`);
  }

  fillRect(x, y, w, h) {
    const saved = [this.path, this.current, this.start];
    this.beginPath();
    this.rect(x, y, w, h);
    this.fill();
    [this.path, this.current, this.start] = saved;
  }

  strokeRect(x, y, w, h) {
    const saved = [this.path, this.current, this.start];
    this.beginPath();
    this.rect(x, y, w, h);
    this.stroke();
    [this.path, this.current, this.start] = saved;
  }

  drawImage(image, x, y, w, h) {
    const m = this.state.m;
    this.body.push(`<image href="${this.dataUrl(image)}" x="${num(x)}" y="${num(y)}" ` +
      `width="${num(w)}" height="${num(h)}" preserveAspectRatio="none" ` +
      `transform="matrix(${[m.a, m.b, m.c, m.d, m.e, m.f].map(num).join(' ')})"/>`);
  }

  fillText(text, x, y) {
    const size = parseFloat(this.font) * this.scale();
    const [px, py] = this.point(x, y);
    this.body.push(`<text x="${num(px)}" y="${num(py)}" font-family="'Liberation Sans', Arial, sans-serif" ` +
      `font-size="${num(size)}" fill="${this.paint(this.fillStyle)}" xml:space="preserve" ` +
      `style="font-kerning:none">${xmlText(text)}</text>`);
  }

  // Widths as the canvas measures them, for the painter's placing of texts.
  measureText(text) {
    if (!measurer) measurer = document.createElement('canvas').getContext('2d');
    measurer.font = this.font;
    measurer.fontKerning = this.fontKerning;
    return measurer.measureText(text);
  }

  document() {
    while (this.stack.length) this.restore();
    return '<?xml version="1.0" encoding="UTF-8"?>\n' +
      `<svg xmlns="http://www.w3.org/2000/svg" width="${this.width}" height="${this.height}" ` +
      `viewBox="0 0 ${this.width} ${this.height}">\n<defs>${this.defs.join('\n')}</defs>\n` +
      this.body.join('\n') + '\n</svg>\n';
  }
}
