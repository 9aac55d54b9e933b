// The small circles of a display list that follow one another (the dots of
// traced curves, often more than a thousand) painted together. Each dot is a
// stamp: its circle painted once on a small transparent tile at the dot's
// quarter-pixel offset, copied at whole device pixels. A few dots are copied
// one by one. Many are first laid over one another here, in the list's
// order, on a transparent layer the size of their bounds, of which the
// canvas then takes only the squares that hold dots, a row of neighbours in
// one copy: a canvas spends far longer per copy than per pixel, and
// source-over laying is associative, so the canvas ends as with one copy per
// dot (to a level or two of rounding).

const FEW = 32;     // dots up to which each is copied itself
const LAYERS = 4;   // layers a picture may use; the dots of further runs are copied one by one
const CELL_SHIFT = 6;  // the layer goes to the canvas in squares of 64 pixels that hold dots
const CELL = 1 << CELL_SHIFT;

// Division by 255 of a product of two 8-bit values, rounded.
function div255(x) {
  x += 128;
  return (x + (x >> 8)) >> 8;
}

// The pixels of a stamp's tile that are not transparent: offsets, and the
// colour premultiplied by its opacity (as the canvas keeps it), packed as
// the bytes R, G, B, A of a little-endian 32-bit word (signed, which keeps
// it a small integer for the script engine).
export function stampPixels(image) {
  const { width, height, data } = image;
  let count = 0;
  for (let i = 3; i < data.length; i += 4) if (data[i] !== 0) ++count;
  const dx = new Int16Array(count), dy = new Int16Array(count), colour = new Int32Array(count);
  let k = 0;
  for (let y = 0; y < height; ++y) {
    for (let x = 0; x < width; ++x) {
      const o = 4 * (y * width + x), a = data[o + 3];
      if (a === 0) continue;
      dx[k] = x;
      dy[k] = y;
      colour[k] = (div255(data[o] * a) | (div255(data[o + 1] * a) << 8) |
        (div255(data[o + 2] * a) << 16) | (a << 24));
      ++k;
    }
  }
  return { dx, dy, colour };
}

// Source-over of premultiplied packed pixels: s over d, two channels of a
// word at a time (each product stays within its 16 bits).
function over(s, d) {
  const f = 255 - (s >>> 24);
  let rb = (d & 0x00FF00FF) * f + 0x00800080;
  rb = ((rb + ((rb >>> 8) & 0x00FF00FF)) >>> 8) & 0x00FF00FF;
  let ga = ((d >>> 8) & 0x00FF00FF) * f + 0x00800080;
  ga = (ga + ((ga >>> 8) & 0x00FF00FF)) & 0xFF00FF00;
  return (s + (rb | ga)) | 0;
}

export class DotBatch {
  constructor(makeCanvas) {
    this.makeCanvas = makeCanvas;
    this.stamps = [];  // { image, pixels, width, height } per dot, in order
    this.xs = [];      // the device pixel of each stamp's top-left corner
    this.ys = [];
    this.count = 0;
    // One layer per run of dots in a picture: a canvas keeps what it was
    // given to copy until it draws, so a layer written again within the
    // picture would make it draw everything before at once.
    this.layers = [];
    this.layersUsed = 0;
    this.premultiplied = new Int32Array(0);  // the layer as it is laid, bounds-relative
    this.unpremultiplied = new Uint8ClampedArray(0);
    this.touched = new Int32Array(0);
    this.cells = new Uint8Array(0);  // squares of the layer that hold dots
  }

  get pending() { return this.count > 0; }

  // A new picture: its runs start with the first layer again.
  begin() { this.layersUsed = 0; }

  add(stamp, x, y) {
    this.stamps[this.count] = stamp;
    this.xs[this.count] = x;
    this.ys[this.count] = y;
    ++this.count;
  }

  // Paints the dots added since the last flush on ctx, whose transform it
  // leaves as the identity.
  flush(ctx) {
    const n = this.count;
    if (n === 0) return;
    this.count = 0;
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    if (n <= FEW || this.layersUsed >= LAYERS) {
      for (let i = 0; i < n; ++i) ctx.drawImage(this.stamps[i].image, this.xs[i], this.ys[i]);
    } else {
      this.layOver(ctx, n);
    }
    this.stamps.fill(null, 0, n);
  }

  layOver(ctx, n) {
    // The bounds of the dots on the canvas.
    const cw = ctx.canvas.width, ch = ctx.canvas.height;
    let x0 = Infinity, y0 = Infinity, x1 = -Infinity, y1 = -Infinity;
    for (let i = 0; i < n; ++i) {
      const s = this.stamps[i];
      x0 = Math.min(x0, this.xs[i]);
      y0 = Math.min(y0, this.ys[i]);
      x1 = Math.max(x1, this.xs[i] + s.width);
      y1 = Math.max(y1, this.ys[i] + s.height);
    }
    x0 = Math.max(0, x0);
    y0 = Math.max(0, y0);
    x1 = Math.min(cw, x1);
    y1 = Math.min(ch, y1);
    const w = x1 - x0, h = y1 - y0;
    if (w <= 0 || h <= 0) return;
    const area = w * h;
    if (this.premultiplied.length < area) {
      this.premultiplied = new Int32Array(area);
      this.unpremultiplied = new Uint8ClampedArray(4 * area);
      this.touched = new Int32Array(area);
    }
    const acc = this.premultiplied, touched = this.touched;
    const columns = Math.ceil(w / CELL), rows = Math.ceil(h / CELL);
    if (this.cells.length < columns * rows) this.cells = new Uint8Array(columns * rows);
    const cells = this.cells;
    let t = 0;
    for (let i = 0; i < n; ++i) {
      const stamp = this.stamps[i];
      const { dx, dy, colour } = stamp.pixels;
      const sx = this.xs[i] - x0, sy = this.ys[i] - y0;
      const inside = sx >= 0 && sy >= 0 && sx + stamp.width <= w && sy + stamp.height <= h;
      for (let k = 0; k < dx.length; ++k) {
        const x = sx + dx[k], y = sy + dy[k];
        if (!inside && (x < 0 || y < 0 || x >= w || y >= h)) continue;
        const p = y * w + x, c = colour[k], d = acc[p];
        if (d === 0) {
          touched[t++] = p;
          cells[(y >> CELL_SHIFT) * columns + (x >> CELL_SHIFT)] = 1;
          acc[p] = c;
        } else {
          acc[p] = (c >>> 24) === 255 ? c : over(c, d);
        }
      }
    }
    // An image of the layer takes colours without their opacity in them.
    const out = this.unpremultiplied, out32 = new Int32Array(out.buffer, 0, area);
    for (let j = 0; j < t; ++j) {
      const p = touched[j], v = acc[p], a = v >>> 24;
      acc[p] = 0;
      if (a === 255) {
        out32[p] = v;
        continue;
      }
      const o = 4 * p, scale = 255 / a;
      out[o] = Math.round((v & 0xFF) * scale);
      out[o + 1] = Math.round(((v >>> 8) & 0xFF) * scale);
      out[o + 2] = Math.round(((v >>> 16) & 0xFF) * scale);
      out[o + 3] = a;
    }
    let layer = this.layers[this.layersUsed];
    if (!layer || layer.width < w || layer.height < h) {
      layer = this.makeCanvas(Math.max(w, layer ? layer.width : 0), Math.max(h, layer ? layer.height : 0));
      this.layers[this.layersUsed] = layer;
    }
    ++this.layersUsed;
    // The squares with dots, a row's neighbours as one rectangle: first all
    // written to the layer, then all copied (a layer written to after a copy
    // would have to be kept twice).
    const spans = [];
    for (let r = 0; r < rows; ++r) {
      for (let c = 0; c < columns; ++c) {
        if (!cells[r * columns + c]) continue;
        let end = c;
        while (end + 1 < columns && cells[r * columns + end + 1]) ++end;
        cells.fill(0, r * columns + c, r * columns + end + 1);
        const x = c * CELL, y = r * CELL;
        spans.push(x, y, Math.min(w, (end + 1) * CELL) - x, Math.min(h, (r + 1) * CELL) - y);
        c = end;
      }
    }
    const image = new ImageData(new Uint8ClampedArray(out.buffer, 0, 4 * area), w, h);
    const g = layer.getContext('2d');
    for (let k = 0; k < spans.length; k += 4) g.putImageData(image, 0, 0, spans[k], spans[k + 1], spans[k + 2], spans[k + 3]);
    for (let k = 0; k < spans.length; k += 4) {
      const x = spans[k], y = spans[k + 1], sw = spans[k + 2], sh = spans[k + 3];
      ctx.drawImage(layer, x, y, sw, sh, x0 + x, y0 + y, sw, sh);
    }
    for (let j = 0; j < t; ++j) out32[touched[j]] = 0;
  }
}
