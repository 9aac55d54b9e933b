// The page around the core: the menu bar from the menu table, keys and mouse,
// and the painter that draws each complete picture on the canvas. It follows
// the module's code in planimove.js and starts itself once the page has loaded.
(function () {
  'use strict';

  // --- the user scale and its mapping -----------------------------------------

  const SCALE_LEFT = 0, SCALE_TOP = 40, SCALE_WIDTH = 1022, SCALE_HEIGHT = 691;
  const FRAME_INTERVAL_MS = 30;  // the pace of runs, as in the window
  const FIELDS = 15;             // numbers per primitive (web/display_list_buffer.h)
  const KIND = { point: 0, line: 1, box: 2, filledBox: 3, circle: 4, arc: 5, text: 6 };
  const TWO_PI = 2 * Math.PI;
  const MAX_COORDINATE = 1e7;
  const MAX_STAMP_RADIUS = 8;  // device pixels: small circles sit on quarter pixels
  const ASCENT_EM = 1854 / 2048;  // Liberation Sans (and Arial)
  const POINTS_TO_UNITS = 96 / 72;

  // The largest rectangle of the scale's aspect ratio in a w × h area, centred.
  function fittedScale(w, h) {
    const unit = Math.max(0, Math.min(w / SCALE_WIDTH, h / SCALE_HEIGHT));
    const fw = SCALE_WIDTH * unit, fh = SCALE_HEIGHT * unit;
    return { x: (w - fw) / 2, y: (h - fh) / 2, w: fw, h: fh, unit: unit };
  }

  // --- painting ----------------------------------------------------------------

  function cssColour(packed) {
    return '#' + (packed | 0).toString(16).padStart(6, '0');
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
  function visibleRadius(cx, cy, r, width) {
    r = Math.abs(r);
    let farthest = 0;
    for (const x of [SCALE_LEFT, SCALE_LEFT + SCALE_WIDTH])
      for (const y of [SCALE_TOP, SCALE_TOP + SCALE_HEIGHT])
        farthest = Math.max(farthest, Math.hypot(x - cx, y - cy));
    const margin = width + 16;
    return farthest + margin < r ? farthest + margin : r;
  }

  // What of a circle can show, as pieces [first, first + sweep] of screen
  // angles, as the window's painter cuts it: the pieces inside the picture
  // (grown by a margin for the line width) for a curve alone; for a filled
  // figure the cone from an outside centre that holds the picture; circles
  // inside the picture whole ([0, 2π]).
  function grownPicture(lineWidth) {
    const m = lineWidth + 16;
    return { left: SCALE_LEFT - m, top: SCALE_TOP - m, right: SCALE_LEFT + SCALE_WIDTH + m,
      bottom: SCALE_TOP + SCALE_HEIGHT + m };
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

  function visibleAngles(cx, cy, r, lineWidth, filled) {
    const pic = grownPicture(lineWidth);
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

  class Painter {
    constructor() {
      this.patterns = new Map();
      this.patternOrigin = [0, 0];
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
    paint(ctx, dpr, w, h, picture, image) {
      ctx.setTransform(dpr, 0, 0, dpr, 0, 0);
      ctx.fillStyle = cssColour(picture.background);
      ctx.fillRect(0, 0, w, h);
      const fit = fittedScale(w, h);
      if (!(fit.w > 0 && fit.h > 0)) return;
      const d = fit.unit * dpr;  // device pixels per drawing unit
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
      const ox = dpr * fit.x + (0.5 - SCALE_LEFT) * d, oy = dpr * fit.y + (0.5 - SCALE_TOP) * d;
      // Halves round away from zero, as in that painter.
      const roundHalfAway = (v) => Math.sign(v) * Math.floor(Math.abs(v) + 0.5);
      this.patternOrigin = [roundHalfAway(ox), roundHalfAway(oy)];
      this.list(ctx, d, ox, oy, picture.numbers, picture.texts);
      ctx.restore();
    }

    list(ctx, d, ox, oy, n, texts) {
      ctx.fontKerning = 'none';
      if ('textRendering' in ctx) ctx.textRendering = 'geometricPrecision';
      for (let i = 0; i + FIELDS <= n.length; i += FIELDS) {
        const kind = n[i], x1 = n[i + 1], y1 = n[i + 2];
        const width = n[i + 10];
        if (!drawable(x1) || !drawable(y1) || !Number.isFinite(width)) continue;
        const colour = n[i + 9];
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
          if (!(Number.isFinite(size) && size > 0)) continue;
          ctx.setTransform(d, 0, 0, d, ox, oy);
          const px = size * POINTS_TO_UNITS;
          ctx.font = px + 'px "Liberation Sans"';
          ctx.fillStyle = cssColour(colour);
          ctx.fillText(texts[n[i + 14]] || '', x1, y1 + ASCENT_EM * px);
        }
      }
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
      ctx.setTransform(1, 0, 0, 1, 0, 0);
      this.outline(ctx, colour, width, 'square');
      ctx.beginPath();
      ctx.moveTo(x1, y1);
      ctx.lineTo(x2, y2);
      ctx.stroke();
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
        ctx.setTransform(d, 0, 0, d, qx, qy);
        cx = 0;
        cy = 0;
      } else {
        ctx.setTransform(d, 0, 0, d, ox, oy);
        radius = visibleRadius(cx, cy, r, w);
      }
      const fill = this.fill(ctx, fillStyle, fillColour);
      const pieces = small ? [{ first: 0, sweep: TWO_PI }] : visibleAngles(cx, cy, radius, w, !!fill);
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
      if (fill) {
        ctx.fillStyle = fill;
        ctx.fill();
      }
      this.outline(ctx, colour, w, 'round');
      ctx.stroke();
    }

    // An open arc, one with its radius lines, or a closed sector (both edges),
    // counterclockwise on screen.
    arc(ctx, cx, cy, r, start, end, edges, colour, w, fillStyle, fillColour) {
      const radius = visibleRadius(cx, cy, r, w);
      const a = reduced(start), sweep = arcSweep(start, end);
      const edgeStart = (edges & 1) !== 0, edgeEnd = (edges & 2) !== 0;
      const closed = edgeStart && edgeEnd;
      // Only the pieces that can show, each as the window's painter draws it:
      // a closed sector piece by piece with its radius lines.
      const pieces = within(a, sweep, visibleAngles(cx, cy, radius, w, edgeStart || edgeEnd));
      ctx.beginPath();
      for (const piece of pieces) {
        const from = piece.first, length = piece.sweep;
        const startsHere = closed || (edgeStart && from === a);
        if (startsHere) ctx.moveTo(cx, cy);
        addArc(ctx, cx, cy, radius, from, length, startsHere);
        if (closed || (edgeEnd && from + length === a + sweep)) ctx.lineTo(cx, cy);
        if (closed) ctx.closePath();
      }
      if (closed) {
        const fill = this.fill(ctx, fillStyle, fillColour);
        if (fill) {
          ctx.fillStyle = fill;
          ctx.fill();
        }
      }
      this.outline(ctx, colour, w, 'round');
      ctx.stroke();
    }
  }

  // --- the picture as SVG ----------------------------------------------------------

  // A drawing context that writes SVG: the Painter paints the display list on
  // it exactly as on the canvas, so the SVG shows the canvas's picture. Paths
  // are kept in device pixels (every point through the transform at the time
  // it is added, as the canvas does); line widths, fonts and patterns follow
  // the transform at the time they are used.
  function xmlText(t) {
    return String(t).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;')
      .replace(/"/g, '&quot;');
  }

  function num(v) { return Number.isFinite(v) ? String(Math.round(v * 1000) / 1000) : '0'; }

  class SvgContext {
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

    document() {
      while (this.stack.length) this.restore();
      return '<?xml version="1.0" encoding="UTF-8"?>\n' +
        `<svg xmlns="http://www.w3.org/2000/svg" width="${this.width}" height="${this.height}" ` +
        `viewBox="0 0 ${this.width} ${this.height}">\n<defs>${this.defs.join('\n')}</defs>\n` +
        this.body.join('\n') + '\n</svg>\n';
    }
  }

  // --- keys ----------------------------------------------------------------------

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
  function virtualKey(e) {
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

  // --- menus ---------------------------------------------------------------------

  // A caption with its access letter underlined ("&" before it; "&&" is "&").
  function captionNodes(caption) {
    const frag = document.createDocumentFragment();
    let text = '', letter = null;
    for (let i = 0; i < caption.length; ++i) {
      const c = caption[i];
      if (c === '&' && i + 1 < caption.length) {
        const next = caption[++i];
        if (next === '&') {
          text += '&';
        } else if (letter === null) {
          frag.append(text);
          text = '';
          const u = document.createElement('u');
          u.textContent = next;
          frag.append(u);
          letter = next.toLowerCase();
        } else {
          text += next;
        }
      } else {
        text += c;
      }
    }
    frag.append(text);
    return { nodes: frag, letter };
  }

  function parseMenuTree(text) {
    const entries = [];
    text.split('\n').forEach((line) => {
      if (!line) return;
      const [name, parent, caption, flags, command, shortcut] = line.split('\x1f');
      entries.push({ index: entries.length, name, parent, caption,
        submenu: flags.includes('s'), checkable: flags.includes('c'), command: command || '',
        shortcut: shortcut || '', children: [] });
    });
    return entries;
  }

  class MenuBar {
    // choose(entry): an item chosen or a menu opened (its command).
    constructor(bar, entries, choose) {
      this.bar = bar;
      this.choose = choose;
      this.entries = entries;
      this.byName = new Map(entries.map((e) => [e.name, e]));
      this.roots = [];
      // The marks the command handler keeps; those of window commands the page sets.
      this.checkable = entries.filter((e) => e.checkable && !e.command);
      for (const e of entries) {
        const parent = e.parent ? this.byName.get(e.parent) : null;
        if (e.parent && !parent) {
          console.error('Menü: Eintrag ' + e.name + ' hat kein Obermenü ' + e.parent);
          continue;
        }
        (parent ? parent.children : this.roots).push(e);
      }
      this.open = [];  // the chain of open menus, top-level first
      this.build();
      document.addEventListener('mousedown', (ev) => {
        if (!this.bar.contains(ev.target)) this.closeAll();
      });
    }

    build() {
      for (const e of this.roots) {
        const title = document.createElement('div');
        title.className = 'menu-title';
        title.setAttribute('role', 'menuitem');
        title.id = e.name;
        const { nodes, letter } = captionNodes(e.caption);
        title.append(nodes);
        e.letter = letter;
        e.element = title;
        title.addEventListener('mousedown', (ev) => {
          ev.preventDefault();
          if (ev.target.closest('.menu-list')) return;  // an item of this menu
          // A click on the title of the open menu closes it, unless the
          // pointer has just opened it on its way there.
          if (this.open[0] === e && this.hoverOpened !== e) this.closeAll();
          else if (this.open[0] !== e) this.openTop(e);
          this.hoverOpened = null;
        });
        title.addEventListener('mouseenter', () => {
          if (this.open.length && this.open[0] !== e) {
            this.openTop(e);
            this.hoverOpened = e;
          }
        });
        this.bar.append(title);
        if (e.children.length || e.submenu) e.list = this.buildList(e, title);
      }
    }

    buildList(menu, anchor) {
      const list = document.createElement('ul');
      list.className = 'menu-list';
      list.setAttribute('role', 'menu');
      for (const e of menu.children) {
        const li = document.createElement('li');
        li.id = e.name;
        li.setAttribute('role', 'menuitem');
        const mark = document.createElement('span');
        mark.className = 'check';
        li.append(mark);
        const label = document.createElement('span');
        label.className = 'label';
        const { nodes, letter } = captionNodes(e.caption);
        label.append(nodes);
        li.append(label);
        e.letter = letter;
        e.element = li;
        e.mark = mark;
        if (e.shortcut) {
          const shortcut = document.createElement('span');
          shortcut.className = 'shortcut';
          shortcut.textContent = e.shortcut;
          li.append(shortcut);
        }
        if (e.disabled) {
          li.classList.add('disabled');
          li.setAttribute('aria-disabled', 'true');
          li.title = e.disabled;
        }
        if (e.submenu) {
          li.classList.add('has-submenu');
          e.list = this.buildList(e, li);
        }
        li.addEventListener('mouseenter', () => this.highlight(menu, e, true));
        li.addEventListener('mousedown', (ev) => ev.preventDefault());
        li.addEventListener('click', (ev) => {
          ev.stopPropagation();
          this.activate(menu, e);
        });
        list.append(li);
      }
      anchor.append(list);
      return list;
    }

    isOpen() { return this.open.length > 0; }

    closeAll() {
      for (const m of this.open) {
        m.element.classList.remove('open');
        if (m.highlighted) m.highlighted.element.classList.remove('highlighted');
        m.highlighted = null;
      }
      this.open = [];
    }

    // Opening a menu is its command (group headers set the topic group).
    openTop(e) {
      this.closeAll();
      this.open = [e];
      e.element.classList.add('open');
      this.choose(e);
    }

    openSub(e) {
      const depth = this.open.indexOf(this.byName.get(e.parent));
      this.closeFrom(depth + 1);
      this.open.push(e);
      e.element.classList.add('open');
      this.choose(e);
    }

    closeFrom(depth) {
      while (this.open.length > depth) {
        const m = this.open.pop();
        m.element.classList.remove('open');
        if (m.highlighted) m.highlighted.element.classList.remove('highlighted');
        m.highlighted = null;
      }
    }

    highlight(menu, e, byMouse) {
      const depth = this.open.indexOf(menu);
      if (depth < 0) return;
      if (menu.highlighted === e && (!byMouse || this.open[depth + 1] === e)) return;
      if (menu.highlighted) menu.highlighted.element.classList.remove('highlighted');
      menu.highlighted = e;
      e.element.classList.add('highlighted');
      if (byMouse) {
        if (e.submenu) this.openSub(e);
        else this.closeFrom(depth + 1);
      }
    }

    activate(menu, e) {
      if (e.disabled) return;
      if (e.submenu) {
        if (this.open[this.open.length - 1] !== e) this.openSub(e);
        const first = e.children[0];
        if (first) this.highlight(e, first, false);
        return;
      }
      this.closeAll();
      this.choose(e);
    }

    // Alt + the access letter of a top-level menu opens it.
    accessMenu(letter) {
      return this.roots.find((e) => e.letter === letter) || null;
    }

    // Keys while a menu is open: arrows, Enter, Esc and the access letters.
    key(ev) {
      const menu = this.open[this.open.length - 1];
      const items = menu.children;
      const at = items.indexOf(menu.highlighted);
      switch (ev.key) {
        case 'Escape':
          if (this.open.length > 1) this.closeFrom(this.open.length - 1);
          else this.closeAll();
          return;
        case 'ArrowDown':
        case 'ArrowUp': {
          if (!items.length) return;
          const step = ev.key === 'ArrowDown' ? 1 : -1;
          this.highlight(menu, items[(at + step + items.length) % items.length], false);
          return;
        }
        case 'ArrowRight':
          if (menu.highlighted && menu.highlighted.submenu) {
            this.activate(menu, menu.highlighted);
          } else {
            const i = this.roots.indexOf(this.open[0]);
            this.openTop(this.roots[(i + 1) % this.roots.length]);
          }
          return;
        case 'ArrowLeft':
          if (this.open.length > 1) {
            this.closeFrom(this.open.length - 1);
          } else {
            const i = this.roots.indexOf(this.open[0]);
            this.openTop(this.roots[(i - 1 + this.roots.length) % this.roots.length]);
          }
          return;
        case 'Enter':
        case ' ':
          if (menu.highlighted) this.activate(menu, menu.highlighted);
          return;
        default: {
          const letter = ev.key.length === 1 ? ev.key.toLowerCase() : null;
          const item = letter && items.find((e) => e.letter === letter);
          if (item) {
            this.highlight(menu, item, false);
            this.activate(menu, item);
          }
        }
      }
    }

    setChecks(marks) {
      this.checkable.forEach((e, i) => this.setMark(e, marks[i] === '1'));
    }

    setMark(e, on) {
      if (e.mark) e.mark.textContent = on ? '\u2713' : '';
    }
  }

  // --- the values panel ("Messwerte") ---------------------------------------------

  // Font size in pixels for a window of that height (about 40 lines on the
  // screen's height) and the panel width it needs, as in the window.
  function panelTextPixels(windowHeight) {
    return Math.min(48, Math.max(12, Math.floor(windowHeight / 40)));
  }
  function panelWidthFor(textPixels) { return textPixels * 17; }
  const PANEL_SMALLEST_PIXELS = 10;

  // The panel's lines from the core's text: name U+001F value, one a line.
  function parseValues(text) {
    return text.split('\n').filter(Boolean).map((line) => {
      const bar = line.indexOf('\x1f');
      return bar < 0 ? { name: line, value: '' }
        : { name: line.slice(0, bar), value: line.slice(bar + 1) };
    });
  }

  class ValuesPanel {
    constructor(element) {
      this.element = element;
      this.text = null;  // the lines shown, as the core gave them
      this.pixels = 0;
      this.fitted = '';  // what the font size was fitted for
    }

    get shown() { return !this.element.hidden; }

    // Its width beside a client area of that width, in a window of that
    // height: the drawing keeps at least half of the width.
    place(clientWidth, windowHeight) {
      this.pixels = panelTextPixels(windowHeight);
      const width = Math.max(0, Math.min(panelWidthFor(this.pixels), Math.floor(clientWidth / 2)));
      this.element.style.width = width + 'px';
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
    }

    div(className, text) {
      const d = document.createElement('div');
      d.className = className;
      d.textContent = text;
      return d;
    }

    // The font of the window height, smaller where the lines would not fit.
    // The height the lines need depends only on which lines are headings, so
    // a run, whose frames change values only, fits once.
    fit() {
      if (!this.shown || !this.pixels) return;
      const shape = [this.pixels, this.element.clientHeight,
        ...[...this.element.children].map((d) => d.className)].join('|');
      if (shape === this.fitted) return;
      let px = this.pixels;
      const style = this.element.style;
      for (;;) {
        style.fontSize = px + 'px';
        style.padding = (Math.floor(px / 2) + 1) + 'px';
        if (px <= PANEL_SMALLEST_PIXELS || this.element.scrollHeight <= this.element.clientHeight)
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

  // --- the page ------------------------------------------------------------------

  class Page {
    constructor(module, rautenwerk, pictureNames) {
      this.module = module;
      this.rautenwerk = rautenwerk;
      this.pictures = new Map(pictureNames.map((n) => [n.toLowerCase(), n]));
      this.canvas = document.getElementById('picture');
      this.client = document.getElementById('client');
      this.values = new ValuesPanel(document.getElementById('values'));
      this.noticeTimer = null;
      this.extrasPending = 0;
      this.ctx = this.canvas.getContext('2d', { alpha: false });
      this.painter = new Painter();
      this.queue = [];
      this.busy = false;
      this.hasEnded = false;
      this.mouse = { x: 0, y: 0 };
      this.picture = null;
      this.backgroundName = '';
      this.image = null;
      this.lastFrame = performance.now();
      this.stats = { paints: 0, lastPaintMs: 0, firstPictureMs: null, commands: 0 };
    }

    // --- Host ---
    cursorX() { return this.toDrawing().x; }
    cursorY() { return this.toDrawing().y; }

    toDrawing() {
      const fit = fittedScale(this.cssWidth(), this.cssHeight());
      if (!(fit.unit > 0)) return { x: SCALE_LEFT, y: SCALE_TOP };
      return { x: SCALE_LEFT + (this.mouse.x - fit.x) / fit.unit,
        y: SCALE_TOP + (this.mouse.y - fit.y) / fit.unit };
    }

    nextEvent() {
      if (!this.queue.length) return 0;
      this.stats.commands += 1;
      return this.queue.shift();
    }

    show(numbers, texts, background, checks, values) {
      this.picture = { numbers: numbers.slice(), texts: texts.split('\x1f'), background };
      this.paint();
      if (this.menuBar) this.menuBar.setChecks(checks);
      if (values && this.values.shown) this.values.setText(values);
    }

    valuesShown() { return this.values.shown; }

    setBackground(name) {
      if (name === this.backgroundName) return;
      this.backgroundName = name;
      this.image = null;
      if (!name) return;
      const file = this.pictures.get(name.toLowerCase());
      if (!file) return;  // a missing picture simply shows no picture
      const img = new Image();
      img.onload = () => {
        if (this.backgroundName !== name) return;
        this.image = img;
        this.paint();
      };
      img.src = 'pictures/' + encodeURIComponent(file);
    }

    ended() {
      this.hasEnded = true;
      this.queue = [];
      document.getElementById('program').hidden = true;
      document.getElementById('ended-name').textContent = this.rautenwerk ? 'Rautenwerk' : 'Planimove';
      document.getElementById('ended').hidden = false;
      document.title = (this.rautenwerk ? 'Rautenwerk' : 'Planimove') + ' (beendet)';
    }

    waitFrame() {
      return new Promise((resolve) => {
        const tick = (now) => {
          if (now - this.lastFrame >= FRAME_INTERVAL_MS - 1) {
            this.lastFrame = now;
            resolve();
          } else {
            requestAnimationFrame(tick);
          }
        };
        requestAnimationFrame(tick);
      });
    }

    sinceFrame() { return performance.now() - this.lastFrame; }

    // --- painting ---
    cssWidth() { return this.canvas.clientWidth; }
    cssHeight() { return this.canvas.clientHeight; }

    resize() {
      const dpr = window.devicePixelRatio || 1;
      const w = Math.max(1, Math.round(this.cssWidth() * dpr));
      const h = Math.max(1, Math.round(this.cssHeight() * dpr));
      if (this.canvas.width !== w || this.canvas.height !== h) {
        this.canvas.width = w;
        this.canvas.height = h;
        this.paint();
      }
    }

    paint() {
      if (!this.picture) return;
      const t0 = performance.now();
      const dpr = this.canvas.width / Math.max(1, this.cssWidth());
      this.painter.paint(this.ctx, dpr, this.cssWidth(), this.cssHeight(), this.picture,
        this.image);
      const t1 = performance.now();
      this.stats.paints += 1;
      this.stats.lastPaintMs = t1 - t0;
      if (this.stats.firstPictureMs === null) this.stats.firstPictureMs = t1;
    }

    // --- commands ---
    // Every key and menu command goes through here: while the core is busy
    // (a run waits for its next frame) it is queued and the core takes it as
    // a nested command; otherwise it starts a command of its own.
    send(event) {
      if (this.hasEnded) return Promise.resolve();
      this.queue.push(event);
      return this.pump();
    }

    async pump() {
      if (this.busy) return this.idle;
      this.busy = true;
      let done;
      this.idle = new Promise((r) => { done = r; });
      try {
        while (this.queue.length && !this.hasEnded) {
          const event = this.queue.shift();
          this.stats.commands += 1;
          await this.module.ccall('pm_event', null, ['number'], [event], { async: true });
        }
        if (!this.hasEnded && this.menuBar)
          this.menuBar.setChecks(this.module.ccall('pm_checks', 'string', [], []));
      } catch (err) {
        console.error('Planimove:', err);
      } finally {
        this.busy = false;
        this.refreshValues();
        done();
      }
      return undefined;
    }

    key(code, shift) { return this.send((1 << 24) | ((shift & 0xFF) << 16) | (code & 0xFFFF)); }

    // An item of the command handler goes to the core; the items of
    // "E&xtras" are the page's own.
    menu(entry) {
      if (entry.command) return this.windowCommand(entry.command);
      return this.send((2 << 24) | entry.index);
    }

    windowCommand(command) {
      if (this.hasEnded) return Promise.resolve();
      switch (command) {
        case 'values':
          this.setValuesShown(!this.values.shown);
          return Promise.resolve();
        case 'copy':
          return this.pending(this.copyPicture());
        case 'save':
          this.chooseAndSavePicture();
          return Promise.resolve();
        default:  // the menu itself; the animation is not offered here
          return Promise.resolve();
      }
    }

    // Copying and saving finish after the command: counted until they have.
    pending(work) {
      this.extrasPending += 1;
      return work.finally(() => { this.extrasPending -= 1; });
    }

    // --- the menu "E&xtras" ---
    setValuesShown(shown) {
      this.values.element.hidden = !shown;
      const entry = this.menuBar && this.menuBar.entries.find((e) => e.command === 'values');
      if (entry) this.menuBar.setMark(entry, shown);
      this.layout();
      this.refreshValues();
    }

    // The panel takes its width at the right, the canvas the rest; the
    // picture keeps its aspect within the canvas.
    layout() {
      if (this.values.shown) this.values.place(this.client.clientWidth, window.innerHeight);
      this.resize();
    }

    // The lines for the state on screen. While a run waits for its next frame
    // the core is not called: that frame brings them.
    refreshValues() {
      if (!this.values.shown || this.busy || this.hasEnded) return;
      try {
        this.values.setText(this.module.ccall('pm_measured_values', 'string', [], []));
      } catch (err) {
        console.error('Planimove:', err);
      }
    }

    notice(text) {
      console.error('Planimove: ' + text);
      const box = document.getElementById('notice');
      box.textContent = text;
      box.hidden = false;
      clearTimeout(this.noticeTimer);
      this.noticeTimer = setTimeout(() => { box.hidden = true; }, 5000);
    }

    pictureBlob() {
      return new Promise((resolve, reject) => {
        this.canvas.toBlob((b) => (b ? resolve(b) : reject(new Error('kein Bild'))), 'image/png');
      });
    }

    async copyPicture() {
      try {
        if (!navigator.clipboard || typeof ClipboardItem === 'undefined')
          throw new Error('keine Zwischenablage');
        // The item takes the picture as a promise: the permission is asked
        // while the choice of the menu item still counts as the user's.
        await navigator.clipboard.write([new ClipboardItem({ 'image/png': this.pictureBlob() })]);
      } catch (err) {
        this.notice('Der Browser hat das Kopieren des Bildes abgelehnt.');
      }
    }

    // The picture as SVG: the Painter on an SVG context of the canvas's size.
    pictureSvg() {
      const dpr = this.canvas.width / Math.max(1, this.cssWidth());
      const svg = new SvgContext(this.canvas.width, this.canvas.height);
      if (this.picture)
        new Painter().paint(svg, dpr, this.cssWidth(), this.cssHeight(), this.picture, this.image);
      return new Blob([svg.document()], { type: 'image/svg+xml' });
    }

    // "Bild speichern …": the format is asked in a dialog, then the picture
    // of the canvas's size is downloaded.
    chooseAndSavePicture() {
      const dialog = document.getElementById('save-dialog');
      if (dialog.open) return;
      document.getElementById('save-size').textContent =
        this.canvas.width + ' \u00d7 ' + this.canvas.height;
      dialog.returnValue = '';
      dialog.addEventListener('close', () => {
        this.canvas.focus();
        if (dialog.returnValue === 'png' || dialog.returnValue === 'svg')
          this.pending(this.savePicture(dialog.returnValue));
      }, { once: true });
      dialog.showModal();
    }

    async savePicture(format) {
      try {
        const blob = format === 'svg' ? this.pictureSvg() : await this.pictureBlob();
        const link = document.createElement('a');
        link.href = URL.createObjectURL(blob);
        link.download = (this.rautenwerk ? 'rautenwerk.' : 'planimove.') + format;
        document.body.append(link);
        link.click();
        link.remove();
        setTimeout(() => URL.revokeObjectURL(link.href), 10000);
      } catch (err) {
        this.notice('Das Bild konnte nicht gespeichert werden.');
      }
    }

    onKeyDown(ev) {
      // A dialog of the page takes its own keys (Esc closes it).
      if (this.hasEnded || document.getElementById('save-dialog').open) return;
      if (this.menuBar.isOpen()) {
        ev.preventDefault();
        this.menuBar.key(ev);
        return;
      }
      // F11 shows or hides the values panel; it never reaches the core.
      if (ev.code === 'F11' || ev.key === 'F11') {
        ev.preventDefault();
        if (!ev.repeat) this.setValuesShown(!this.values.shown);
        return;
      }
      const key = virtualKey(ev);
      if (!key) return;
      // Alt + an access letter opens its menu, as in the window.
      if (key.shift === 4 && key.keyCode >= 65 && key.keyCode <= 90) {
        const menu = this.menuBar.accessMenu(String.fromCharCode(key.keyCode).toLowerCase());
        if (menu) {
          ev.preventDefault();
          this.menuBar.openTop(menu);
          return;
        }
      }
      // The browser's own shortcuts for these keys stay out while the page has focus.
      ev.preventDefault();
      this.key(key.keyCode, key.shift);
    }

    async start() {
      const tree = parseMenuTree(
        this.module.ccall('pm_menu_tree', 'string', ['number'], [this.rautenwerk ? 1 : 0]));
      // An animated picture of a revolution is not made in the page.
      for (const e of tree)
        if (e.command === 'animation') e.disabled = 'In der Browserausgabe nicht verfügbar';
      this.menuBar = new MenuBar(document.getElementById('menubar'), tree, (e) => this.menu(e));
      window.addEventListener('keydown', (ev) => this.onKeyDown(ev));
      // Alt alone would move the focus to the browser's menu.
      window.addEventListener('keyup', (ev) => {
        if (!this.hasEnded && (ev.key === 'Alt' || ev.key === 'F10')) ev.preventDefault();
      });
      this.canvas.addEventListener('mousemove', (ev) => {
        const r = this.canvas.getBoundingClientRect();
        this.mouse = { x: ev.clientX - r.left, y: ev.clientY - r.top };
      });
      new ResizeObserver(() => this.resize()).observe(this.canvas);
      // Zooming changes the device-pixel ratio, not always the canvas's size;
      // the panel follows the window's height.
      window.addEventListener('resize', () => this.layout());
      this.resize();
      this.busy = true;
      try {
        await this.module.ccall('pm_start', null, ['number'], [this.rautenwerk ? 1 : 0],
          { async: true });
      } finally {
        this.busy = false;
      }
      this.canvas.focus();
      if (this.queue.length) await this.pump();
      if (!this.hasEnded) {
        this.menuBar.setChecks(this.module.ccall('pm_checks', 'string', [], []));
        this.refreshValues();
      }
    }
  }

  // --- start-up ------------------------------------------------------------------

  async function startPage() {
    const params = new URLSearchParams(window.location.search);
    const rautenwerk = params.get('edition') === 'rautenwerk';
    document.title = rautenwerk ? 'Rautenwerk' : 'Planimove';
    const font = new FontFace('Liberation Sans', 'url(fonts/LiberationSans-Regular.woff2)');
    const [names] = await Promise.all([
      fetch('pictures/list.json').then((r) => (r.ok ? r.json() : [])).catch(() => []),
      font.load().then((f) => document.fonts.add(f)).catch((err) => {
        console.error('Planimove: Schrift nicht geladen:', err);
      }),
    ]);
    await document.fonts.ready;
    const module = await createPlanimove();
    const page = new Page(module, rautenwerk, names);
    module.page = page;  // the core's Host calls reach the page here
    window.planimove = page;
    await page.start();
  }

  if (typeof window !== 'undefined' && typeof document !== 'undefined') {
    const go = () => startPage().catch((err) => {
      console.error('Planimove:', err);
      const failed = document.getElementById('failed');
      if (failed) failed.hidden = false;
    });
    if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', go);
    else go();
  }
})();
