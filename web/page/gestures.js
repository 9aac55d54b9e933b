// Pointer input on the picture: a joint (A, B, C, X, Y) dragged with a finger
// or the mouse moves as its letter key moves it to the pointer; a finger
// swiped sideways elsewhere turns the crank step by step; two fingers
// pinched apart or together zoom as Ctrl+Up and Ctrl+Down do.

const GRAB_RADIUS_MOUSE = 8;   // CSS pixels around a joint that take hold of it
const GRAB_RADIUS_TOUCH = 24;
const SWIPE_STEP = 16;         // CSS pixels of a swipe per crank step
// A pinch zooms one step (the program's zoom step, 2^(1/12)) each time the
// fingers' distance has changed by that ratio.
const ZOOM_STEP = Math.pow(2, 1 / 12);
const SPACE = 32, BACKSPACE = 8, UP = 38, DOWN = 40, CTRL = 2;

export class PictureGestures {
  // page: the pointer (page.mouse, CSS pixels on the canvas), the joints on
  // screen in CSS pixels (page.jointsOnCanvas()), and keys (page.key,
  // page.dragKey).
  constructor(canvas, page) {
    this.canvas = canvas;
    this.page = page;
    this.drag = null;  // { id, letter } while a joint is held
    this.swipe = null; // { id, x } while a finger turns the crank
    this.fingers = new Map();  // the places of the fingers on the picture, by pointer
    this.pinch = null; // { distance } at the last zoom step while two fingers pinch
    canvas.addEventListener('pointerdown', (ev) => this.down(ev));
    canvas.addEventListener('pointermove', (ev) => this.move(ev));
    canvas.addEventListener('pointerup', (ev) => this.up(ev));
    canvas.addEventListener('pointercancel', (ev) => this.up(ev));
  }

  at(ev) {
    const r = this.canvas.getBoundingClientRect();
    return { x: ev.clientX - r.left, y: ev.clientY - r.top };
  }

  // The nearest joint within reach of the point, or null.
  jointAt(p, radius) {
    let best = null, bestDistance = radius;
    for (const j of this.page.jointsOnCanvas()) {
      const d = Math.hypot(j.x - p.x, j.y - p.y);
      if (d <= bestDistance) {
        best = j;
        bestDistance = d;
      }
    }
    return best;
  }

  // The distance of the first two fingers.
  fingerDistance() {
    const [a, b] = [...this.fingers.values()];
    return Math.hypot(a.x - b.x, a.y - b.y);
  }

  down(ev) {
    const p = this.at(ev);
    const touch = ev.pointerType !== 'mouse';
    if (touch) this.fingers.set(ev.pointerId, p);
    // A second finger beside one that swipes turns the swipe into a pinch.
    if (touch && this.fingers.size === 2 && !this.drag) {
      this.swipe = null;
      this.canvas.setPointerCapture(ev.pointerId);
      this.pinch = { distance: this.fingerDistance() };
      ev.preventDefault();
      return;
    }
    if (this.drag || this.swipe || this.pinch || (ev.pointerType === 'mouse' && ev.button !== 0)) return;
    const joint = this.jointAt(p, touch ? GRAB_RADIUS_TOUCH : GRAB_RADIUS_MOUSE);
    if (joint) {
      ev.preventDefault();
      this.canvas.setPointerCapture(ev.pointerId);
      this.drag = { id: ev.pointerId, letter: joint.letter };
      this.canvas.style.cursor = 'grabbing';
    } else if (touch) {
      this.canvas.setPointerCapture(ev.pointerId);
      this.swipe = { id: ev.pointerId, x: p.x };
    }
  }

  move(ev) {
    const p = this.at(ev);
    if (ev.pointerType === 'mouse') this.page.mouse = p;
    if (this.fingers.has(ev.pointerId)) this.fingers.set(ev.pointerId, p);
    if (this.pinch && this.fingers.size >= 2) {
      // Apart zooms in (Ctrl+Up), together out (Ctrl+Down).
      const now = this.fingerDistance();
      if (this.pinch.distance <= 0) this.pinch.distance = now;
      while (now >= this.pinch.distance * ZOOM_STEP) {
        this.page.key(UP, CTRL);
        this.pinch.distance *= ZOOM_STEP;
      }
      while (now > 0 && now <= this.pinch.distance / ZOOM_STEP) {
        this.page.key(DOWN, CTRL);
        this.pinch.distance /= ZOOM_STEP;
      }
    } else if (this.drag && ev.pointerId === this.drag.id) {
      this.page.mouse = p;
      this.page.dragKey(this.drag.letter);
    } else if (this.swipe && ev.pointerId === this.swipe.id) {
      // Sideways to the right turns the crank forward, as Space does.
      while (Math.abs(p.x - this.swipe.x) >= SWIPE_STEP) {
        const forward = p.x > this.swipe.x;
        this.page.key(forward ? SPACE : BACKSPACE, 0);
        this.swipe.x += forward ? SWIPE_STEP : -SWIPE_STEP;
      }
    } else if (ev.pointerType === 'mouse' && !this.drag) {
      this.canvas.style.cursor = this.jointAt(p, GRAB_RADIUS_MOUSE) ? 'grab' : '';
    }
  }

  up(ev) {
    this.fingers.delete(ev.pointerId);
    // The pinch ends with the first finger lifted; the other one does nothing more.
    if (this.pinch && this.fingers.size < 2) this.pinch = null;
    if (this.drag && ev.pointerId === this.drag.id) {
      this.drag = null;
      this.canvas.style.cursor = '';
    }
    if (this.swipe && ev.pointerId === this.swipe.id) this.swipe = null;
  }
}
