import { fittedScale, POINTS_TO_UNITS, SCALE_WIDTH } from './painter.js';

// Exercises in the page: the address carries the open exercise's kind and
// number (?exercise=wendepol&seed=17, never its solution), so that a sheet of
// links hands out exercises; a tap or click on the picture answers the open
// exercise, and "Übung wählen …" asks for a number. Where the picture is too
// small for the exercise's texts at the least size a touch screen draws (a
// phone), they stand below the picture instead.

const LAST_SEED = 999999;
const TAP_SLOP = 10;  // CSS pixels a finger may slide in a tap
// The rows of an exercise's texts are printed in 11 points and end left of
// the emblem, this many drawing units from the picture's left edge.
const ROW_POINTS = 11;
const ROW_END = 830;

// The exercise an address names: { kind, seed }, null for none, or
// { error } when it names one wrongly.
export function exerciseOfAddress(search) {
  const params = new URLSearchParams(search);
  const kind = params.get('exercise');
  if (kind === null) return null;
  const text = params.get('seed');
  const seed = text === null ? 1 : Number(text);
  if (!Number.isInteger(seed) || seed < 1 || seed > LAST_SEED || !/^[0-9]+$/.test(text || '1'))
    return { error: 'Die Nummer der Übung liegt zwischen 1 und ' + LAST_SEED + ', nicht „' + text + '“.' };
  return { kind, seed };
}

// The address with the exercise (or without any): other parameters stay.
export function addressWithExercise(href, exercise) {
  const url = new URL(href);
  if (exercise) {
    url.searchParams.set('exercise', exercise.kind);
    url.searchParams.set('seed', String(exercise.seed));
  } else {
    url.searchParams.delete('exercise');
    url.searchParams.delete('seed');
  }
  return url.href;
}

export class Exercises {
  constructor(page) {
    this.page = page;
    this.textBox = document.getElementById('exercise-texts');
    this.shownTexts = '';  // the rows below the picture, as the core gave them
    this.tap = null;  // { id, x, y } while one finger rests on the picture
    this.fingers = new Set();  // the fingers on the picture
    // A click answers at the pointer; in an exercise the picture's gestures
    // do not get the mouse. Fingers go on to them as well, so that two
    // fingers zoom (the core passes over the keys that would move the
    // mechanism of an exercise).
    page.canvas.addEventListener('pointerdown', (ev) => {
      if (ev.pointerType !== 'mouse') {
        // A finger answers when it is lifted where it came down, alone: two
        // fingers pinch (the zoom), a finger that slides answers nothing.
        this.fingers.add(ev.pointerId);
        this.tap = this.fingers.size === 1 && this.answering() ? { id: ev.pointerId, x: ev.clientX, y: ev.clientY } : null;
        return;
      }
      if (ev.button !== 0 || !this.answering()) return;
      ev.preventDefault();
      ev.stopImmediatePropagation();
      this.answerAt(ev.clientX, ev.clientY);
    }, { capture: true });
    page.canvas.addEventListener('pointermove', (ev) => {
      if (this.tap && ev.pointerId === this.tap.id &&
          Math.hypot(ev.clientX - this.tap.x, ev.clientY - this.tap.y) > TAP_SLOP) this.tap = null;
    }, { capture: true });
    page.canvas.addEventListener('pointerup', (ev) => {
      this.fingers.delete(ev.pointerId);
      if (!this.tap || ev.pointerId !== this.tap.id) return;
      this.tap = null;
      if (this.answering()) this.answerAt(ev.clientX, ev.clientY);
    }, { capture: true });
    page.canvas.addEventListener('pointercancel', (ev) => {
      this.fingers.delete(ev.pointerId);
      this.tap = null;
    }, { capture: true });
  }

  answering() {
    return !this.page.hasEnded && this.current().open;
  }

  // Enter with the pointer at a point of the window: the answer there.
  answerAt(clientX, clientY) {
    const r = this.page.canvas.getBoundingClientRect();
    this.page.mouse = { x: clientX - r.left, y: clientY - r.top };
    this.page.canvas.focus();
    this.page.key(13, 0);
  }

  // The core's exercise: { kind, seed, open }; kind '' before any.
  current() {
    const [kind = '', seed = '0', open = '0'] =
      this.page.module.ccall('pm_exercise', 'string', [], []).split(' ');
    return { kind, seed: Number(seed), open: open === '1' };
  }

  // Opens an exercise through the page's queue, as any command.
  open(kind, seed) {
    const number = this.page.module.ccall('pm_exercise_kind', 'number', ['string'], [kind]);
    if (!number) {
      this.page.notice('Eine Übung der Art „' + kind + '“ gibt es nicht.');
      return Promise.resolve();
    }
    return this.page.send((4 << 24) | (number << 20) | seed);
  }

  // At the start: the exercise of the address, if it names one.
  openFromAddress() {
    const wanted = exerciseOfAddress(window.location.search);
    if (!wanted) return Promise.resolve();
    if (wanted.error) {
      this.page.notice(wanted.error);
      return Promise.resolve();
    }
    return this.open(wanted.kind, wanted.seed);
  }

  // Whether the exercise's rows, enlarged to the least text size of the
  // page, would run past the picture's right edge.
  textsTooLarge() {
    const smallest = this.page.painter.smallestText;
    if (!(smallest > 0)) return false;
    const unit = fittedScale(this.page.cssWidth(), this.page.cssHeight()).unit;
    return unit > 0 && smallest / (ROW_POINTS * POINTS_TO_UNITS * unit) > SCALE_WIDTH / ROW_END;
  }

  // After every command and change of the page's size: the open exercise's
  // texts below the picture, a paragraph a sentence, and left out of the
  // picture, where they are too large for it; otherwise in the picture.
  textsFollow() {
    if (this.page.hasEnded) return;
    const text = this.textsTooLarge() ? this.page.module.ccall('pm_exercise_texts', 'string', [], []) : '';
    if (text === this.shownTexts) return;
    this.shownTexts = text;
    const rows = text.split('\n').filter(Boolean).map((line) => {
      const [sentence, colour, ...rest] = line.split('\t');
      return { sentence, colour, text: rest.join('\t') };
    });
    this.page.painter.textsBeside = rows.length ? new Set(rows.map((r) => r.text)) : null;
    const paragraphs = [];
    for (const row of rows) {
      const last = paragraphs[paragraphs.length - 1];
      if (last && last.sentence === row.sentence) {
        last.p.textContent += ' ' + row.text;
        continue;
      }
      const p = document.createElement('p');
      if (!paragraphs.length) p.className = 'exercise-title';
      p.style.color = row.colour;
      p.textContent = row.text;
      paragraphs.push({ sentence: row.sentence, p });
    }
    this.textBox.replaceChildren(...paragraphs.map((x) => x.p));
    this.textBox.hidden = !rows.length;
    this.page.resize();
    this.page.paint();
  }

  // "Übung wählen …": the number of an exercise of the kind open (or last open).
  choose() {
    const e = this.current();
    const answer = window.prompt('Nummer der Übung (1 bis ' + LAST_SEED + '):',
      String(e.seed || 1));
    if (answer === null) return Promise.resolve();
    const seed = Number(answer.trim());
    if (!/^[0-9]+$/.test(answer.trim()) || seed < 1 || seed > LAST_SEED) {
      this.page.notice('Die Nummer der Übung liegt zwischen 1 und ' + LAST_SEED + '.');
      return Promise.resolve();
    }
    return this.open(e.kind || 'momentanpol', seed);
  }
}
