// Pointer input on the picture: a joint (A, B, C, X, Y) dragged with a finger
// or the mouse moves as its letter key moves it to the pointer; a finger
// swiped sideways elsewhere turns the crank step by step.

const GRAB_RADIUS_MOUSE = 8;   // CSS pixels around a joint that take hold of it
const GRAB_RADIUS_TOUCH = 24;
const SWIPE_STEP = 16;         // CSS pixels of a swipe per crank step
const SPACE = 32, BACKSPACE = 8;

export class PictureGestures {
  // page: the pointer (page.mouse, CSS pixels on the canvas), the joints on
  // screen in CSS pixels (page.jointsOnCanvas()), and keys (page.key,
  // page.dragKey).
  constructor(canvas, page) {
    this.canvas = canvas;
    this.page = page;
    this.drag = null;  // { id, letter } while a joint is held
    this.swipe = null; // { id, x } while a finger turns the crank
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

  down(ev) {
    if (this.drag || this.swipe || (ev.pointerType === 'mouse' && ev.button !== 0)) return;
    const p = this.at(ev);
    const touch = ev.pointerType !== 'mouse';
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
    if (this.drag && ev.pointerId === this.drag.id) {
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
    if (this.drag && ev.pointerId === this.drag.id) {
      this.drag = null;
      this.canvas.style.cursor = '';
    }
    if (this.swipe && ev.pointerId === this.swipe.id) this.swipe = null;
  }
}
