// The painter of the page: draws a display list (the flat numbers of
// web/display_list_buffer.h) on a 2D canvas context as the window's painter
// draws it, and the mapping of the user scale onto a drawing area. A list
// drawn in a frame of its own (the diagrams' sheet) names that frame.

import { enlargeTexts } from './enlarged_texts.js';
import { DotBatch, stampPixels } from './dot_batch.js';

export const SCALE_LEFT = 0, SCALE_TOP = 40, SCALE_WIDTH = 1022, SCALE_HEIGHT = 691;
export const USER_SCALE = { left: SCALE_LEFT, top: SCALE_TOP, width: SCALE_WIDTH, height: SCALE_HEIGHT };
const FIELDS = 15;             // numbers per primitive (web/display_list_buffer.h)
const KIND = { point: 0, line: 1, box: 2, filledBox: 3, circle: 4, arc: 5, text: 6 };
export const TWO_PI = 2 * Math.PI;
const MAX_COORDINATE = 1e7;
const MAX_STAMP_RADIUS = 8;  // device pixels: small circles sit on quarter pixels
const ASCENT_EM = 1854 / 2048;  // Liberation Sans (and Arial)
export const POINTS_TO_UNITS = 96 / 72;

// The largest rectangle of the frame's aspect ratio in a w × h area, centred.
export function fittedScale(w, h, frame = USER_SCALE) {
  const unit = Math.max(0, Math.min(w / frame.width, h / frame.height));
  const fw = frame.width * unit, fh = frame.height * unit;
  return { x: (w - fw) / 2, y: (h - fh) / 2, w: fw, h: fh, unit: unit };
}

// --- painting ----------------------------------------------------------------

const colourNames = new Map();  // packed colour → CSS colour, made once

function cssColour(packed) {
  let name = colourNames.get(packed);
  if (name === undefined) {
    name = '#' + (packed | 0).toString(16).padStart(6, '0');
    if (colourNames.size < 4096) colourNames.set(packed, name);
  }
  return name;
}

function drawable(v) { return Number.isFinite(v) && Math.abs(v) <= MAX_COORDINATE; }

function reduced(a) {
  a = Math.abs(a);
  return a > TWO_PI ? a % TWO_PI : a;
}

// Counterclockwise from start to end, through 0 when end < start; equal
// ends make the full circle.
function arcSweep(start, end) {
  let sweep = reduced(end) - reduced(start);
  if (sweep <= 0) sweep += TWO_PI;
  return sweep;
}

function outlineWidth(w) { return Math.min(1000, Math.max(1, w)); }

// A circle so large that the whole picture lies inside it shows only its
// radius lines and fill there: it is drawn with a radius just beyond the
// picture's farthest corner.
function visibleRadius(cx, cy, r, width, frame) {
  r = Math.abs(r);
  let farthest = 0;
  for (const x of [frame.left, frame.left + frame.width])
    for (const y of [frame.top, frame.top + frame.height])
      farthest = Math.max(farthest, Math.hypot(x - cx, y - cy));
  const margin = width + 16;
  return farthest + margin < r ? farthest + margin : r;
}

// What of a circle can show, as pieces [first, first + sweep] of screen
// angles, as the window's painter cuts it: the pieces inside the picture
// (grown by a margin for the line width) for a curve alone; for a filled
// figure the cone from an outside centre that holds the picture; circles
// inside the picture whole ([0, 2π]).
function grownPicture(lineWidth, frame) {
  const m = lineWidth + 16;
  return { left: frame.left - m, top: frame.top - m, right: frame.left + frame.width + m,
    bottom: frame.top + frame.height + m };
}

function contains(rect, x, y) {
  return x >= rect.left && x <= rect.right && y >= rect.top && y <= rect.bottom;
}

function anglesInside(cx, cy, r, rect) {
  const cuts = [0];
  for (const x of [rect.left, rect.right]) {
    const v = (x - cx) / r;
    if (Math.abs(v) < 1) {
      const a = Math.acos(v);
      cuts.push(a, TWO_PI - a);
    }
  }
  for (const y of [rect.top, rect.bottom]) {
    const v = (cy - y) / r;
    if (Math.abs(v) < 1) {
      const a = Math.asin(v);
      cuts.push(a < 0 ? a + TWO_PI : a, Math.PI - a);
    }
  }
  cuts.sort((p, q) => p - q);
  const inside = [];
  for (let i = 0; i < cuts.length; ++i) {
    const a = cuts[i], b = i + 1 < cuts.length ? cuts[i + 1] : TWO_PI;
    if (b <= a) continue;
    const mid = (a + b) / 2;
    if (!contains(rect, cx + r * Math.cos(mid), cy - r * Math.sin(mid))) continue;
    const last = inside[inside.length - 1];
    if (last && last.first + last.sweep === a) last.sweep = b - last.first;
    else inside.push({ first: a, sweep: b - a });
  }
  return inside;
}

function coneOf(cx, cy, rect) {
  const mx = (rect.left + rect.right) / 2, my = (rect.top + rect.bottom) / 2;
  const middle = Math.atan2(-(my - cy), mx - cx);
  let lo = 0, hi = 0;
  for (const [x, y] of [[rect.left, rect.top], [rect.right, rect.top], [rect.left, rect.bottom],
    [rect.right, rect.bottom]]) {
    let d = Math.atan2(-(y - cy), x - cx) - middle;
    d -= TWO_PI * Math.round(d / TWO_PI);  // remainder in [-π, π]
    lo = Math.min(lo, d);
    hi = Math.max(hi, d);
  }
  let first = (middle + lo) % TWO_PI;
  if (first < 0) first += TWO_PI;
  return [{ first, sweep: hi - lo }];
}

function visibleAngles(cx, cy, r, lineWidth, filled, frame) {
  const pic = grownPicture(lineWidth, frame);
  if (cx - r >= pic.left && cx + r <= pic.right && cy - r >= pic.top && cy + r <= pic.bottom)
    return [{ first: 0, sweep: TWO_PI }];
  if (!filled) return anglesInside(cx, cy, r, pic);
  if (contains(pic, cx, cy)) return [{ first: 0, sweep: TWO_PI }];
  return coneOf(cx, cy, pic);
}

// The parts of the arc [start, start + sweep] within the pieces.
function within(start, sweep, pieces) {
  const out = [];
  for (const w of pieces) {
    for (let turn = -1; turn <= 1; ++turn) {
      const a = Math.max(start, w.first + turn * TWO_PI);
      const b = Math.min(start + sweep, w.first + w.sweep + turn * TWO_PI);
      if (b > a) out.push({ first: a, sweep: b - a });
    }
  }
  out.sort((p, q) => p.first - q.first);
  // An arc that runs through angle 0 meets the window there in two parts
  // that touch; they are one piece, or a closed sector would gain a radius
  // line at angle 0 and an open arc two caps.
  const merged = [];
  for (const piece of out) {
    const last = merged[merged.length - 1];
    if (last && Math.abs(last.first + last.sweep - piece.first) < 1e-9)
      last.sweep = piece.first + piece.sweep - last.first;
    else merged.push(piece);
  }
  return merged;
}

// Circles and arcs are drawn as the painter of the window draws them: each
// quarter of the circle a cubic Bézier curve, an arc the parts of those
// curves it covers. The curves lie up to 0.03 % of the radius outside the
// exact circle, which shows on large circles; the same curves show the same.
const KAPPA = 0.5522847498;
const QUARTER_POINTS = [[1, 0], [0, -1], [-1, 0], [0, 1]];  // angles 0, 90, 180, 270 on screen

// Control points of quarter k (angles 90k … 90k + 90, counterclockwise on screen).
function quarterCurve(cx, cy, r, k) {
  const [x0, y0] = QUARTER_POINTS[((k % 4) + 4) % 4];
  const [x3, y3] = QUARTER_POINTS[(((k + 1) % 4) + 4) % 4];
  // Tangents in the sense of motion: the start point turned by 90°.
  return [cx + r * x0, cy + r * y0,
    cx + r * (x0 + KAPPA * y0), cy + r * (y0 - KAPPA * x0),
    cx + r * (x3 - KAPPA * y3), cy + r * (y3 + KAPPA * x3),
    cx + r * x3, cy + r * y3];
}

function bezierPoint(b, t) {
  const u = 1 - t;
  const a = u * u * u, c = 3 * u * u * t, d = 3 * u * t * t, e = t * t * t;
  return [a * b[0] + c * b[2] + d * b[4] + e * b[6], a * b[1] + c * b[3] + d * b[5] + e * b[7]];
}

// The part t0 … t1 of a cubic curve.
function subCurve(b, t0, t1) {
  const split = (q, t) => {  // the part t … 1
    const lerp = (i, j, s) => [q[i] + (q[j] - q[i]) * s, q[i + 1] + (q[j + 1] - q[i + 1]) * s];
    const p01 = lerp(0, 2, t), p12 = lerp(2, 4, t), p23 = lerp(4, 6, t);
    const p012 = [p01[0] + (p12[0] - p01[0]) * t, p01[1] + (p12[1] - p01[1]) * t];
    const p123 = [p12[0] + (p23[0] - p12[0]) * t, p12[1] + (p23[1] - p12[1]) * t];
    const m = [p012[0] + (p123[0] - p012[0]) * t, p012[1] + (p123[1] - p012[1]) * t];
    return { head: [q[0], q[1], p01[0], p01[1], p012[0], p012[1], m[0], m[1]],
      tail: [m[0], m[1], p123[0], p123[1], p23[0], p23[1], q[6], q[7]] };
  };
  let c = b;
  if (t1 < 1) c = split(c, t1).head;
  if (t0 > 0) c = split(c, t0 / t1).tail;
  return c;
}

// The curve parameter of a quarter at which it reaches the angle (0 … 90°).
function tForAngle(degrees) {
  if (degrees <= 1e-9) return 0;
  if (degrees >= 90 - 1e-9) return 1;
  const want = degrees * Math.PI / 180;
  const b = quarterCurve(0, 0, 1, 0);
  let lo = 0, hi = 1;
  for (let i = 0; i < 40; ++i) {
    const mid = (lo + hi) / 2;
    const [x, y] = bezierPoint(b, mid);
    if (Math.atan2(-y, x) < want) lo = mid;
    else hi = mid;
  }
  return (lo + hi) / 2;
}

// Adds the arc from angle a (radians) over sweep > 0 to the path: a line to
// its start when connect, else a move there.
function addArc(ctx, cx, cy, r, a, sweep, connect) {
  const start = a * 180 / Math.PI, length = Math.min(360, sweep * 180 / Math.PI);
  let first = Math.floor(start / 90), last = Math.floor((start + length) / 90);
  let t0 = (start - 90 * first) / 90, t1 = (start + length - 90 * last) / 90;
  if (Math.abs(t0 - 1) < 1e-12) { t0 = 0; first += 1; }
  if (Math.abs(t1) < 1e-12) { t1 = 1; last -= 1; }
  t0 = tForAngle(t0 * 90);
  t1 = tForAngle(t1 * 90);
  for (let k = first; k <= last; ++k) {
    let b = quarterCurve(cx, cy, r, k);
    const from = k === first ? t0 : 0, to = k === last ? t1 : 1;
    if (from > 0 || to < 1) b = subCurve(b, from, to);
    if (k === first) {
      if (connect) ctx.lineTo(b[0], b[1]);
      else ctx.moveTo(b[0], b[1]);
    }
    ctx.bezierCurveTo(b[2], b[3], b[4], b[5], b[6], b[7]);
  }
}

const MAX_STAMP_KINDS = 256;
const RECENT_STAMP_KINDS = 4;

// A canvas of its own for stamps and tiles, off the page where the browser has one.
function makeCanvas(width, height) {
  if (typeof OffscreenCanvas !== 'undefined') return new OffscreenCanvas(width, height);
  const c = document.createElement('canvas');
  c.width = width;
  c.height = height;
  return c;
}

// Hatch fills: 8 × 8 device-pixel patterns, one bit a pixel, rows from the
// top, aligned with the device's origin (styles 2 … 7).
const HATCHES = {
  2: [0, 0, 0, 255, 0, 0, 0, 0],                   // horizontal
  3: [16, 16, 16, 16, 16, 16, 16, 16],             // vertical
  4: [128, 64, 32, 16, 8, 4, 2, 1],                // upward diagonal "/"
  5: [1, 2, 4, 8, 16, 32, 64, 128],                // downward diagonal "\"
  6: [16, 16, 16, 255, 16, 16, 16, 16],            // cross
  7: [129, 66, 36, 24, 24, 36, 66, 129],           // diagonal cross
};

export class Painter {
  constructor() {
    this.patterns = new Map();
    this.patternOrigin = [0, 0];
    this.frame = USER_SCALE;  // the drawing units of the list being painted
    // Texts are drawn at least this many CSS pixels high (0: as the list says).
    this.smallestText = 0;
    this.smallestTextUnits = 0;
    // Texts the page shows beside the picture, left out of it (null: none).
    this.textsBeside = null;
    this.smallestDrawnText = Infinity;  // CSS pixels, of the last picture painted
    this.cssPerUnit = 0;
    // Small circles are copied from stamps (not on an SVG context, which
    // keeps them as circles).
    this.stamps = true;
    this.stampCache = new Map();  // kinds of small circles by their look
    this.recentStampKinds = [];  // the kinds of the last dots, newest first
    this.dots = new DotBatch(makeCanvas);  // stamped circles not yet on the canvas
    this.deviceWidth = 0;  // of the canvas being painted
    this.deviceHeight = 0;
    this.thinRun = null;
  }

  hatch(ctx, style, colour) {
    const key = style * 0x1000000 + colour;
    let tile = this.patterns.get(key);
    if (!tile) {
      const c = document.createElement('canvas');
      c.width = 8;
      c.height = 8;
      const g = c.getContext('2d');
      g.fillStyle = cssColour(colour);
      HATCHES[style].forEach((bits, y) => {
        for (let x = 0; x < 8; ++x) if (bits & (1 << x)) g.fillRect(x, y, 1, 1);
      });
      tile = c;
      this.patterns.set(key, tile);
    }
    const pattern = ctx.createPattern(tile, 'repeat');
    // The pattern stays on device pixels whatever the drawing's scale,
    // anchored where the window's painter anchors it: at the device pixel
    // nearest to the drawing's origin.
    const [x, y] = this.patternOrigin;
    pattern.setTransform(ctx.getTransform().inverse().multiply(new DOMMatrix().translate(x, y)));
    return pattern;
  }

  // The fill of a circle or closed sector, or null for none.
  fill(ctx, style, colour) {
    if (style === 0) return cssColour(colour);
    if (style >= 2 && style <= 7) return this.hatch(ctx, style, colour);
    return null;
  }

  outline(ctx, colour, width, cap) {
    ctx.strokeStyle = cssColour(colour);
    ctx.lineWidth = width;
    ctx.lineCap = cap;
    ctx.lineJoin = 'round';
  }

  // A whole drawing area: background colour, background picture, the list.
  paint(ctx, dpr, w, h, picture, image, frame = USER_SCALE) {
    ctx.setTransform(dpr, 0, 0, dpr, 0, 0);
    ctx.fillStyle = cssColour(picture.background);
    ctx.fillRect(0, 0, w, h);
    this.frame = frame;
    const fit = fittedScale(w, h, frame);
    if (!(fit.w > 0 && fit.h > 0)) return;
    const d = fit.unit * dpr;  // device pixels per drawing unit
    this.smallestTextUnits = (this.smallestText * dpr) / d;
    this.cssPerUnit = d / dpr;
    this.smallestDrawnText = Infinity;
    ctx.save();
    ctx.beginPath();
    ctx.rect(fit.x, fit.y, fit.w, fit.h);
    ctx.clip();
    if (image) {
      // One picture pixel per drawing unit, top-left corner at (0, 40).
      ctx.setTransform(d, 0, 0, d, dpr * fit.x - SCALE_LEFT * d, dpr * fit.y - SCALE_TOP * d);
      ctx.imageSmoothingEnabled = true;
      ctx.drawImage(image, SCALE_LEFT, SCALE_TOP, image.naturalWidth, image.naturalHeight);
    }
    // A drawing unit is a pixel whose area starts at its coordinate: half a
    // unit's shift puts integer coordinates on pixel centres.
    const ox = dpr * fit.x + (0.5 - frame.left) * d, oy = dpr * fit.y + (0.5 - frame.top) * d;
    // Halves round away from zero, as in that painter.
    const roundHalfAway = (v) => Math.sign(v) * Math.floor(Math.abs(v) + 0.5);
    this.patternOrigin = [roundHalfAway(ox), roundHalfAway(oy)];
    this.list(ctx, d, ox, oy, picture.numbers, picture.texts);
    ctx.restore();
  }

  list(ctx, d, ox, oy, n, texts) {
    ctx.fontKerning = 'none';
    if ('textRendering' in ctx) ctx.textRendering = 'geometricPrecision';
    const enlarged = this.enlargedTexts(ctx, n, texts);
    const deferred = [];
    this.thinRun = null;
    this.dots.begin();
    if (this.stamps) {
      this.deviceWidth = ctx.canvas.width;
      this.deviceHeight = ctx.canvas.height;
    }
    for (let i = 0; i + FIELDS <= n.length; i += FIELDS) {
      const kind = n[i], x1 = n[i + 1], y1 = n[i + 2];
      const width = n[i + 10];
      if (!drawable(x1) || !drawable(y1) || !Number.isFinite(width)) continue;
      const colour = n[i + 9];
      if (kind !== KIND.circle && this.dots.pending) this.dots.flush(ctx);
      if (this.thinRun && (kind !== KIND.line || outlineWidth(width) * d > 1.00001)) this.endThinRun(ctx);
      if (kind === KIND.point) {
        // One device pixel, the one its position falls in, at every size.
        ctx.setTransform(1, 0, 0, 1, 0, 0);
        ctx.fillStyle = cssColour(colour);
        ctx.fillRect(Math.floor(ox + d * x1), Math.floor(oy + d * y1), 1, 1);
        continue;
      }
      const x2 = n[i + 3], y2 = n[i + 4], r = n[i + 5];
      const w = outlineWidth(width);
      if (kind === KIND.line || kind === KIND.box || kind === KIND.filledBox) {
        if (!drawable(x2) || !drawable(y2)) continue;
        if (kind === KIND.line && w * d <= 1.00001) {
          this.thinLine(ctx, ox + d * x1, oy + d * y1, ox + d * x2, oy + d * y2, colour, w * d);
          continue;
        }
        ctx.setTransform(d, 0, 0, d, ox, oy);
        if (kind === KIND.line) this.line(ctx, x1, y1, x2, y2, colour, w);
        else this.box(ctx, x1, y1, x2, y2, colour, w, kind === KIND.filledBox);
      } else if (kind === KIND.circle) {
        if (!drawable(r)) continue;
        this.circle(ctx, d, ox, oy, x1, y1, r, colour, w, n[i + 11], n[i + 12]);
      } else if (kind === KIND.arc) {
        const start = n[i + 6], end = n[i + 7];
        if (!drawable(r) || !Number.isFinite(start) || !Number.isFinite(end)) continue;
        ctx.setTransform(d, 0, 0, d, ox, oy);
        this.arc(ctx, x1, y1, r, start, end, n[i + 8], colour, w, n[i + 11], n[i + 12]);
      } else if (kind === KIND.text) {
        const size = n[i + 13];
        if (!(Number.isFinite(size) && size > 0) || this.besideThePicture(texts[n[i + 14]])) continue;
        const at = enlarged && enlarged.get(i);
        // Enlarged labels (small screens) come last: grown beyond their
        // place they would otherwise lie under the links drawn after them.
        if (at && !at.onPlate) {
          deferred.push(i);
          continue;
        }
        this.text(ctx, d, ox, oy, n, i, texts, at);
      }
    }
    this.dots.flush(ctx);
    this.endThinRun(ctx);
    for (const i of deferred) this.text(ctx, d, ox, oy, n, i, texts, enlarged.get(i));
  }

  // The text at offset i of the list, at its enlarged place and size if `at`.
  text(ctx, d, ox, oy, n, i, texts, at) {
    ctx.setTransform(d, 0, 0, d, ox, oy);
    const px = at ? at.px : n[i + 13] * POINTS_TO_UNITS;
    if (!at || !at.onPlate) this.smallestDrawnText = Math.min(this.smallestDrawnText, px * this.cssPerUnit);
    ctx.font = px + 'px "Liberation Sans"';
    ctx.fillStyle = cssColour(n[i + 9]);
    ctx.fillText(texts[n[i + 14]] || '', at ? at.x : n[i + 1], (at ? at.y : n[i + 2]) + ASCENT_EM * px);
  }

  // Where texts must be drawn larger than the list says (smallestText): the
  // place and size of each, by its offset in the list; null where none must.
  enlargedTexts(ctx, n, texts) {
    if (!(this.smallestTextUnits > 0)) return null;
    const measure = (text, px) => {
      ctx.font = px + 'px "Liberation Sans"';
      return ctx.measureText(text).width;
    };
    // A text on a plate (its middle on a small filled box drawn before it, as
    // the emblem's words) keeps its size, so that it stays on its plate.
    const plates = [];
    const onPlate = (x, y, w, h) => plates.some((p) => x + w / 2 >= p.x0 && x + w / 2 <= p.x1 &&
      y + h / 2 >= p.y0 && y + h / 2 <= p.y1);
    const offsets = [], items = [], kept = [];
    for (let i = 0; i + FIELDS <= n.length; i += FIELDS) {
      if (n[i] === KIND.filledBox && Math.abs((n[i + 3] - n[i + 1]) * (n[i + 4] - n[i + 2])) <
        SCALE_WIDTH * SCALE_HEIGHT / 16) {
        plates.push({ x0: Math.min(n[i + 1], n[i + 3]), y0: Math.min(n[i + 2], n[i + 4]),
          x1: Math.max(n[i + 1], n[i + 3]), y1: Math.max(n[i + 2], n[i + 4]) });
      }
      const size = n[i + 13];
      if (n[i] !== KIND.text || !drawable(n[i + 1]) || !drawable(n[i + 2]) ||
        !(Number.isFinite(size) && size > 0) || this.besideThePicture(texts[n[i + 14]])) continue;
      const text = texts[n[i + 14]] || '', px = size * POINTS_TO_UNITS;
      if (onPlate(n[i + 1], n[i + 2], measure(text.trimEnd(), px), px)) {
        kept.push(i);
        continue;
      }
      offsets.push(i);
      items.push({ x: n[i + 1], y: n[i + 2], px, text });
    }
    if (!items.some((t) => t.px < this.smallestTextUnits)) return null;
    const placed = enlargeTexts(items, this.smallestTextUnits, measure, { left: SCALE_LEFT,
      top: SCALE_TOP, right: SCALE_LEFT + SCALE_WIDTH, bottom: SCALE_TOP + SCALE_HEIGHT });
    const at = new Map(offsets.map((offset, k) => [offset, placed[k]]));
    for (const i of kept) at.set(i, { x: n[i + 1], y: n[i + 2], px: n[i + 13] * POINTS_TO_UNITS, onPlate: true });
    return at;
  }

  besideThePicture(text) {
    return this.textsBeside !== null && this.textsBeside.has(text || '');
  }

  // Thin lines have square ends; wide ones flat ends and a disc at each end.
  line(ctx, x1, y1, x2, y2, colour, w) {
    this.outline(ctx, colour, w, w <= 1 ? 'square' : 'butt');
    ctx.beginPath();
    ctx.moveTo(x1, y1);
    ctx.lineTo(x2, y2);
    ctx.stroke();
    if (w > 1) {
      ctx.fillStyle = cssColour(colour);
      ctx.beginPath();
      ctx.arc(x1, y1, w / 2, 0, TWO_PI);
      if (x2 !== x1 || y2 !== y1) {
        ctx.moveTo(x2 + w / 2, y2);
        ctx.arc(x2, y2, w / 2, 0, TWO_PI);
      }
      ctx.fill();
    }
  }

  // A line at most one device pixel wide, in device pixels, placed as the
  // window's painter places it: that painter walks such a line pixel by
  // pixel along its major axis and, with square ends, takes the position
  // across the line half a pixel before or after each pixel's centre,
  // depending on where in its pixel the line starts. Drawing the line
  // moved by that half pixel along the major axis shows the same pixels.
  thinLine(ctx, x1, y1, x2, y2, colour, width) {
    const vertical = Math.abs(x2 - x1) < Math.abs(y2 - y1);
    const start = vertical ? Math.min(y1, y2) : Math.min(x1, x2);
    const sixtyFourths = Math.trunc(start * 64) & 63;  // 26.6 fixed point, as that painter
    const shift = sixtyFourths < 32 ? -0.5 : 0.5;
    if (vertical) {
      y1 += shift;
      y2 += shift;
    } else {
      x1 += shift;
      x2 += shift;
    }
    // Thin lines of one colour and width in a row (traced curves, hatches)
    // are one path, stroked once.
    const run = this.thinRun;
    if (!run || run.colour !== colour || run.width !== width) {
      this.endThinRun(ctx);
      ctx.setTransform(1, 0, 0, 1, 0, 0);
      this.outline(ctx, colour, width, 'square');
      ctx.beginPath();
      this.thinRun = { colour, width };
    }
    ctx.moveTo(x1, y1);
    ctx.lineTo(x2, y2);
  }

  endThinRun(ctx) {
    if (!this.thinRun) return;
    ctx.stroke();
    this.thinRun = null;
  }

  box(ctx, x1, y1, x2, y2, colour, w, filled) {
    const x = Math.min(x1, x2), y = Math.min(y1, y2);
    const bw = Math.abs(x2 - x1), bh = Math.abs(y2 - y1);
    if (filled) {
      ctx.fillStyle = cssColour(colour);
      ctx.fillRect(x, y, bw, bh);
    }
    this.outline(ctx, colour, w, 'round');
    ctx.strokeRect(x, y, bw, bh);
  }

  circle(ctx, d, ox, oy, cx, cy, r, colour, w, fillStyle, fillColour) {
    const hatched = fillStyle >= 2 && fillStyle <= 7;
    let radius = Math.abs(r);
    const small = !hatched && d * (radius + w / 2) <= MAX_STAMP_RADIUS;
    if (small) {
      // Small circles (the dots of traced curves) stand on quarter pixels.
      const qx = Math.round((ox + d * cx) * 4) / 4, qy = Math.round((oy + d * cy) * 4) / 4;
      if (this.stamps) {
        this.stampedCircle(ctx, d, qx, qy, radius, colour, w, fillStyle, fillColour);
        return;
      }
      this.dots.flush(ctx);
      ctx.setTransform(d, 0, 0, d, qx, qy);
      cx = 0;
      cy = 0;
    } else {
      this.dots.flush(ctx);
      ctx.setTransform(d, 0, 0, d, ox, oy);
      radius = visibleRadius(cx, cy, r, w, this.frame);
    }
    const fill = this.fill(ctx, fillStyle, fillColour);
    const pieces = small ? [{ first: 0, sweep: TWO_PI }]
      : visibleAngles(cx, cy, radius, w, !!fill, this.frame);
    ctx.beginPath();
    if (pieces.length === 1 && pieces[0].sweep >= TWO_PI) {
      addArc(ctx, cx, cy, radius, 0, TWO_PI, false);
      ctx.closePath();
    } else {
      // Only the pieces that can show; a filled one as sectors.
      for (const piece of pieces) {
        if (fill) ctx.moveTo(cx, cy);
        addArc(ctx, cx, cy, radius, piece.first, piece.sweep, !!fill);
        if (fill) ctx.closePath();
      }
    }
    this.fillAndStroke(ctx, fill, colour, w);
  }

  // Fills the path just built where it has a fill, then strokes its outline:
  // a circle, its stamp and a closed sector alike.
  fillAndStroke(ctx, fill, colour, w) {
    if (fill) {
      ctx.fillStyle = fill;
      ctx.fill();
    }
    this.outline(ctx, colour, w, 'round');
    ctx.stroke();
  }

  // A small circle from its stamp: the circle painted once at its quarter-
  // pixel offset on a transparent tile, which is then copied at whole device
  // pixels (with the dots after it, see dot_batch.js); the copy blends as the
  // circle itself would.
  stampedCircle(ctx, d, qx, qy, radius, colour, w, fillStyle, fillColour) {
    const ix = Math.floor(qx), iy = Math.floor(qy);
    // A dot wholly beside the canvas (traced curves run far out) is not copied.
    const reach = Math.ceil(d * (radius + w / 2)) + 2;
    if (ix + reach <= 0 || iy + reach <= 0 || ix - reach >= this.deviceWidth || iy - reach >= this.deviceHeight) return;
    // The stamps of one kind of circle, by quarter-pixel offset. Traced
    // curves are drawn a dot of each curve in turn, so the last few kinds are
    // looked at before the cache.
    const recent = this.recentStampKinds;
    let kind = null;
    for (let k = 0; k < recent.length; ++k) {
      const r = recent[k];
      if (r.radius === radius && r.w === w && r.d === d && r.colour === colour &&
        r.fillStyle === fillStyle && r.fillColour === fillColour) {
        kind = r;
        break;
      }
    }
    if (!kind) {
      const name = `${radius} ${w} ${d} ${colour} ${fillStyle} ${fillColour}`;
      kind = this.stampCache.get(name);
      if (!kind) {
        if (this.stampCache.size >= MAX_STAMP_KINDS) this.stampCache.clear();
        kind = { radius, w, d, colour, fillStyle, fillColour, offsets: new Array(16) };
        this.stampCache.set(name, kind);
      }
      if (recent.length >= RECENT_STAMP_KINDS) recent.pop();
      recent.unshift(kind);
    }
    const offset = ((qx - ix) * 4) * 4 + (qy - iy) * 4;
    let stamp = kind.offsets[offset];
    if (!stamp) {
      const margin = reach;
      const tile = makeCanvas(2 * margin, 2 * margin);
      const g = tile.getContext('2d');
      g.setTransform(d, 0, 0, d, margin + qx - ix, margin + qy - iy);
      g.beginPath();
      addArc(g, 0, 0, radius, 0, TWO_PI, false);
      g.closePath();
      this.fillAndStroke(g, this.fill(g, fillStyle, fillColour), colour, w);
      const pixels = stampPixels(g.getImageData(0, 0, 2 * margin, 2 * margin));
      stamp = { image: tile.transferToImageBitmap ? tile.transferToImageBitmap() : tile, pixels, margin,
        width: 2 * margin, height: 2 * margin };
      kind.offsets[offset] = stamp;
    }
    this.dots.add(stamp, ix - stamp.margin, iy - stamp.margin);
  }

  // An open arc, one with its radius lines, or a closed sector (both edges),
  // counterclockwise on screen.
  arc(ctx, cx, cy, r, start, end, edges, colour, w, fillStyle, fillColour) {
    const radius = visibleRadius(cx, cy, r, w, this.frame);
    const a = reduced(start), sweep = arcSweep(start, end);
    const edgeStart = (edges & 1) !== 0, edgeEnd = (edges & 2) !== 0;
    const closed = edgeStart && edgeEnd;
    // Only the pieces that can show, each as the window's painter draws it:
    // a closed sector piece by piece with its radius lines.
    const pieces = within(a, sweep, visibleAngles(cx, cy, radius, w, edgeStart || edgeEnd, this.frame));
    ctx.beginPath();
    for (const piece of pieces) {
      const from = piece.first, length = piece.sweep;
      const startsHere = closed || (edgeStart && from === a);
      if (startsHere) ctx.moveTo(cx, cy);
      addArc(ctx, cx, cy, radius, from, length, startsHere);
      if (closed || (edgeEnd && from + length === a + sweep)) ctx.lineTo(cx, cy);
      if (closed) ctx.closePath();
    }
    this.fillAndStroke(ctx, closed ? this.fill(ctx, fillStyle, fillColour) : null, colour, w);
  }
}
