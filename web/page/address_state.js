// The state in the address: after every command the page writes the
// picture's set-up into the fragment (#…, the compact set-up in base64url)
// with history.replaceState, so that a reload or a copied link shows that
// picture again while the back button still leaves the page. At the start
// the page opens the fragment it was given, later one pasted into the same
// tab as well. While an exercise is open the address names the exercise
// alone (?exercise=KIND&seed=N): its set-up would open the mechanism in the
// topic whose construction is the solution.
import { addressWithExercise, exerciseOfAddress } from './exercise.js';

// Browsers refuse to replace the address too often (one throws after 100
// changes in 30 s): at most one write in this many milliseconds, and the
// last state is always written.
const WRITE_INTERVAL_MS = 350;
// A set-up's link has a few hundred characters; what is far longer is not
// handed to the core at all.
const LONGEST_FRAGMENT = 65536;

export class AddressState {
  constructor(page) {
    this.page = page;
    this.lastWrite = -Infinity;
    this.timer = null;  // a write that waits for its interval
    window.addEventListener('hashchange', () => this.page.viewChange(() => {
      this.open(window.location.hash, 'Das Bild bleibt, wie es war.');
    }));
    // A page left right after a command keeps its last state in the history.
    window.addEventListener('pagehide', () => this.flush());
  }

  // The address of the state on screen.
  current() {
    const e = this.page.exercises.current();
    const url = new URL(addressWithExercise(window.location.href, e.open ? e : null));
    url.hash = e.open ? '' : this.page.module.ccall('pm_setup_link', 'string', [], []);
    return url.href;
  }

  // After a command: the address follows the state, at once or when the
  // interval since the last write has passed.
  follow() {
    if (this.timer || this.page.hasEnded) return;  // the waiting write reads the state then
    const wait = this.lastWrite + WRITE_INTERVAL_MS - performance.now();
    if (wait <= 0) this.write();
    else this.timer = setTimeout(() => this.write(), wait);
  }

  // The address of the state now (before it is copied).
  flush() {
    this.write();
  }

  write() {
    clearTimeout(this.timer);
    this.timer = null;
    // The core is not called while a run waits for its next frame; the end
    // of the run brings the address up to date.
    if (this.page.hasEnded || this.page.busy) return;
    const href = this.current();
    if (href === window.location.href) return;
    try {
      window.history.replaceState(window.history.state, '', href);
      this.lastWrite = performance.now();
    } catch (err) {
      console.error('Planimove: Adresse nicht geschrieben:', err);
      this.lastWrite = performance.now();
      this.timer = setTimeout(() => this.write(), WRITE_INTERVAL_MS * 4);
    }
  }

  // At the start: the fragment of the address, unless it names an exercise,
  // which opens instead.
  openAtStart() {
    if (!window.location.hash || exerciseOfAddress(window.location.search)) return;
    this.open(window.location.hash, 'Es erscheint das Startbild.');
  }

  // Opens a link's fragment as a set-up; what is not one leaves the picture
  // as it is and says why. The address then shows the state on screen.
  open(hash, otherwise) {
    const fragment = hash.startsWith('#') ? hash.slice(1) : hash;
    if (fragment) {
      const message = fragment.length > LONGEST_FRAGMENT
        ? 'Er ist mit ' + fragment.length + ' Zeichen zu lang für eine Einstellung.'
        : this.page.module.ccall('pm_open_setup_link', 'string', ['string'], [fragment]);
      if (message) this.page.notice('Der Link wurde nicht geöffnet: ' + message + ' ' + otherwise, 10000);
      this.page.stateReplaced();
    }
    this.flush();
  }
}
