// Texts of a picture drawn larger than the list asks, for small screens: each
// block of texts that would overlap when enlarged (the status lines, a column
// of numbers, the words of the emblem) grows as one from its corner nearest
// the picture's edge, so that its lines and columns keep their order and room
// and the block stays in the picture; a lone label grows from its own corner.

// items: { x, y, px, text } in drawing units (top-left corner, font size);
// smallest: the least font size in drawing units; measure(text, px): the
// width of a text at that size; picture: { left, top, right, bottom }.
// Returns for each item its { x, y, px } to draw.
export function enlargeTexts(items, smallest, measure, picture) {
  // A text wholly outside the picture (the label of a point far off) stays
  // where it is, out of sight as without enlarging: pulled into the picture
  // it would stand at a wrong place and push the blocks it met aside.
  const outside = (t, w) => t.x + w <= picture.left || t.x >= picture.right || t.y + t.px <= picture.top ||
    t.y >= picture.bottom;
  const boxes = items.map((t) => {
    const k = Math.max(1, smallest / t.px);
    const w = measure(t.text, t.px);
    return { t, k, w, h: t.px, out: outside(t, w), grown: { x0: t.x, y0: t.y, x1: t.x + w * k, y1: t.y + t.px * k } };
  });
  // Blocks: texts whose enlarged boxes meet, transitively.
  const parent = boxes.map((_, i) => i);
  const root = (i) => (parent[i] === i ? i : (parent[i] = root(parent[i])));
  const meet = (a, b) => a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
  if (boxes.length <= 400) {
    for (let i = 0; i < boxes.length; ++i)
      for (let j = i + 1; j < boxes.length; ++j)
        if ((boxes[i].k > 1 || boxes[j].k > 1) && !boxes[i].out && !boxes[j].out)
          if (meet(boxes[i].grown, boxes[j].grown)) parent[root(i)] = root(j);
  }
  const midX = (picture.left + picture.right) / 2, midY = (picture.top + picture.bottom) / 2;
  // Each block grown from its anchor; blocks that then meet grow as one.
  let placed;
  for (let round = 0; round < 8; ++round) {
    const blocks = new Map();
    boxes.forEach((b, i) => {
      if (b.out) return;
      const r = root(i);
      if (!blocks.has(r)) blocks.set(r, []);
      blocks.get(r).push(b);
    });
    placed = new Map();
    const extents = [];
    for (const [r, members] of blocks) extents.push({ r, ...growBlock(members, midX, midY, picture, placed) });
    let merged = false;
    for (let i = 0; i < extents.length; ++i)
      for (let j = i + 1; j < extents.length; ++j)
        if (meet(extents[i], extents[j])) {
          parent[root(extents[i].r)] = root(extents[j].r);
          merged = true;
        }
    if (!merged) break;
  }
  return boxes.map((b) => placed.get(b) || { x: b.t.x, y: b.t.y, px: b.t.px * b.k });
}

// Places the texts of one block, grown by the largest factor of its texts
// about the corner of the block nearest the picture's edges and moved back
// into the picture; returns the grown block's extent.
function growBlock(members, midX, midY, picture, placed) {
  const k = Math.max(...members.map((b) => b.k));
  const x0 = Math.min(...members.map((b) => b.t.x)), y0 = Math.min(...members.map((b) => b.t.y));
  const x1 = Math.max(...members.map((b) => b.t.x + b.w));
  const y1 = Math.max(...members.map((b) => b.t.y + b.h));
  const ax = (x0 + x1) / 2 < midX ? x0 : x1, ay = (y0 + y1) / 2 < midY ? y0 : y1;
  const gx0 = ax + (x0 - ax) * k, gx1 = ax + (x1 - ax) * k;
  const gy0 = ay + (y0 - ay) * k, gy1 = ay + (y1 - ay) * k;
  const into = (lo, hi, min, max) => (lo < min ? min - lo : hi > max ? Math.max(min - lo, max - hi) : 0);
  const dx = into(gx0, gx1, picture.left, picture.right);
  const dy = into(gy0, gy1, picture.top, picture.bottom);
  for (const b of members)
    placed.set(b, { x: ax + (b.t.x - ax) * k + dx, y: ay + (b.t.y - ay) * k + dy, px: b.t.px * k });
  return { x0: gx0 + dx, y0: gy0 + dy, x1: gx1 + dx, y1: gy1 + dy };
}
