// The page around the core: it is the core's Host (frames, cursor, events,
// background pictures, the end of the program), sends keys and menu commands,
// carries out the menu "E&xtras" itself and starts itself once loaded.
import { Painter, fittedScale, SCALE_LEFT, SCALE_TOP } from './painter.js';
import { SvgContext } from './svg_context.js';
import { virtualKey } from './keys.js';
import { MenuBar, parseMenuTree } from './menu_bar.js';
import { ValuesPanel, panelTextPixels } from './values_panel.js';
import { Explanation, pagePixels } from './explanation.js';
import { DiagramView } from './diagram_view.js';
import { Exercises } from './exercise.js';
import { AddressState } from './address_state.js';
import { ControlBar, touchDevice } from './controls.js';
import { PictureGestures } from './gestures.js';
import { keepForOffline } from './offline.js';
import { RevolutionRecording, videoFormat } from './animation.js';

const FRAME_INTERVAL_MS = 30;  // the pace of runs, as in the window
// One notch of the wheel with Ctrl zooms the view by 2^(1/4), as in the window.
const NOTCH_ZOOM = 0.25;
// The panel's font in the projector mode, against its size outside it.
const PROJECTOR_PANEL_FONT = 1.4;
// Screens on which the picture takes the full width and the panel goes below
// it: phones, and tablets held upright.
const STACKED_LAYOUT = '(max-width: 600px), (orientation: portrait) and (max-width: 1100px)';
// The largest set-up file the page opens (as the core: 1 MB).
const SETUP_BYTES = 1 << 20;
// Texts of the picture on a touch screen are drawn at least this large (CSS pixels).
const SMALLEST_TOUCH_TEXT = 12;

// Hands a file to the browser's downloads.
function download(blob, name) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(blob);
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

// Puts a text on the clipboard; false where the browser refuses.
async function copyText(text) {
  try {
    if (navigator.clipboard && navigator.clipboard.writeText) {
      await navigator.clipboard.writeText(text);
      return true;
    }
  } catch (err) {
    // the older way below may still be allowed
  }
  const field = document.createElement('textarea');
  field.value = text;
  field.readOnly = true;
  field.style.position = 'fixed';
  field.style.opacity = '0';
  document.body.append(field);
  field.select();
  let copied = false;
  try {
    copied = document.execCommand('copy');
  } catch (err) {
    copied = false;
  }
  field.remove();
  return copied;
}

class Page {
  constructor(module, rautenwerk, pictureNames) {
    this.module = module;
    this.rautenwerk = rautenwerk;
    this.pictures = new Map(pictureNames.map((n) => [n.toLowerCase(), n]));
    this.canvas = document.getElementById('picture');
    this.client = document.getElementById('client');
    this.program = document.getElementById('program');
    this.side = document.getElementById('side');
    this.values = new ValuesPanel(document.getElementById('values'), this.side);
    this.explanation = new Explanation(document.getElementById('explanation'));
    this.diagrams = new DiagramView(document.getElementById('diagrams'));
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
    this.backgroundIsPage = false;  // an explanatory page, shown in the side panel while that is open
    this.image = null;
    this.lastFrame = performance.now();
    this.projector = false;
    this.drag = null;  // the last pointer position while the view is dragged
    this.whenIdle = [];  // view changes asked for while a run went on
    this.stats = { paints: 0, lastPaintMs: 0, firstPictureMs: null, commands: 0 };
    this.joints = null;  // the draggable joints of the picture on screen, once asked for
    this.touch = touchDevice();
  }

  // --- Host ---
  cursorX() { return this.toDrawing().x; }
  cursorY() { return this.toDrawing().y; }

  // The pointer in units of the user scale (the core maps them through the view).
  toDrawing(at = this.mouse) {
    const fit = fittedScale(this.cssWidth(), this.cssHeight());
    if (!(fit.unit > 0)) return { x: SCALE_LEFT, y: SCALE_TOP };
    return { x: SCALE_LEFT + (at.x - fit.x) / fit.unit,
      y: SCALE_TOP + (at.y - fit.y) / fit.unit };
  }

  nextEvent() {
    if (!this.queue.length) return 0;
    this.stats.commands += 1;
    return this.queue.shift();
  }

  show(numbers, texts, background, checks, values, explanation) {
    this.picture = { numbers: numbers.slice(), texts: texts.split('\x1f'), background };
    this.joints = null;
    this.paint();
    if (this.menuBar) this.menuBar.setChecks(checks);
    if (this.values.shown) this.showExplanation(explanation);
    if (values && this.values.shown) this.values.setText(values);
  }

  // The page's text at the top of the side panel; beside it the values keep
  // the page's font and scroll.
  showExplanation(text) {
    this.explanation.setText(text);
    this.values.setSmallest(this.explanation.shown ? pagePixels(this.values.pixels) : 10);
  }

  valuesShown() { return this.values.shown; }

  // The diagrams' canvas in CSS pixels (0 while hidden) and their sheet.
  diagramsWidth() { return Math.round(this.diagrams.cssWidth()); }
  diagramsHeight() { return Math.round(this.diagrams.cssHeight()); }
  showDiagrams(numbers, texts) { this.diagrams.show(numbers, texts); }

  setBackground(name, page = false) {
    // A recorded revolution keeps the picture on screen and its background.
    if (this.recording || name === this.backgroundName) return;
    this.backgroundName = name;
    this.backgroundIsPage = page;
    this.image = null;
    if (!name) return;
    // Rautenwerk's own pages (those that name its keys) come first.
    const file = (this.rautenwerk && this.pictures.get('rautenwerk/' + name.toLowerCase())) ||
      this.pictures.get(name.toLowerCase());
    if (!file) return;  // a missing picture simply shows no picture
    const img = new Image();
    img.onload = () => {
      if (this.backgroundName !== name) return;
      this.image = img;
      this.paint();
    };
    img.src = 'pictures/' + file.split('/').map(encodeURIComponent).join('/');
  }

  ended() {
    this.hasEnded = true;
    this.queue = [];
    document.getElementById('program').hidden = true;
    document.getElementById('ended-name').textContent = this.rautenwerk ? 'Rautenwerk' : 'Planimove';
    document.getElementById('ended').hidden = false;
    document.title = (this.rautenwerk ? 'Rautenwerk' : 'Planimove') + ' (beendet)';
    document.getElementById('restart').focus();
  }

  // "Neu starten": the program as at a fresh start, at its first picture.
  restart() {
    window.history.replaceState(null, '', window.location.pathname + window.location.search);
    window.location.reload();
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
  // The background picture as the canvas shows it: an explanatory page moves
  // into the side panel while that is open, and the band stays free.
  shownImage() { return this.values.shown && this.backgroundIsPage ? null : this.image; }

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
    if (this.diagrams.shown && this.diagrams.resize()) this.refreshDiagrams();
  }

  paint() {
    if (!this.picture) return;
    const t0 = performance.now();
    const dpr = this.canvas.width / Math.max(1, this.cssWidth());
    this.painter.paint(this.ctx, dpr, this.cssWidth(), this.cssHeight(), this.picture,
      this.shownImage());
    const t1 = performance.now();
    this.stats.paints += 1;
    this.stats.lastPaintMs = t1 - t0;
    this.stats.smallestText = this.painter.smallestDrawnText;
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
      if (!this.hasEnded && this.exercises) this.exercises.textsFollow();
    } catch (err) {
      console.error('Planimove:', err);
    } finally {
      this.busy = false;
      this.refreshValues();
      for (const change of this.whenIdle.splice(0)) change();
      if (!this.hasEnded && this.address) this.address.follow();
      done();
    }
    return undefined;
  }

  // A change of the view or of what is shown: at once, or after the run
  // the core is in (it must not be entered while a run waits for a frame).
  viewChange(change) {
    if (this.hasEnded) return;
    if (this.busy) {
      this.whenIdle.push(change);
      return;
    }
    change();
    if (this.address) this.address.follow();
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
      case 'fit':
        this.viewChange(() => {
          const page = this.image && this.backgroundName ? this.image : null;
          if (!this.module.ccall('pm_fit_view', 'number', ['number', 'number'],
            [page ? page.naturalWidth : 0, page ? page.naturalHeight : 0]))
            this.notice('Einpassen: Das Bild zeigt keine Konstruktion.');
        });
        return Promise.resolve();
      case 'reset-view':
        this.viewChange(() => this.module.ccall('pm_reset_view', null, [], []));
        return Promise.resolve();
      case 'projector':
        this.viewChange(() => this.setProjector(!this.projector));
        return Promise.resolve();
      case 'save-setup':
        this.viewChange(() => download(
          new Blob([this.module.ccall('pm_setup_text', 'string', [], [])], { type: 'application/json' }),
          'einstellung.planimove'));
        return Promise.resolve();
      case 'open-setup':
        this.chooseAndOpenSetup();
        return Promise.resolve();
      case 'copy-link':
        return this.pending(this.copyLink());
      case 'dimensions':
        this.viewChange(() => this.editDimensions());
        return Promise.resolve();
      case 'diagrams':
        this.setDiagramsShown(!this.diagrams.shown);
        return Promise.resolve();
      case 'save-diagrams':
        this.chooseAndSaveDiagrams();
        return Promise.resolve();
      case 'animation':
        return this.pending(this.saveAnimation());
      case 'exercise':
        return this.exercises.choose();
      default:  // the menu itself
        return Promise.resolve();
    }
  }

  setProjector(on) {
    this.projector = on;
    this.module.ccall('pm_set_projector', null, ['number'], [on ? 1 : 0]);
    const entry = this.menuBar && this.menuBar.entries.find((e) => e.command === 'projector');
    if (entry) this.menuBar.setMark(entry, on);
    this.values.scale = on ? PROJECTOR_PANEL_FONT : 1;
    this.layout();
  }

  // "Einstellung öffnen …": a set-up file chosen in the browser's dialog.
  chooseAndOpenSetup() {
    const input = document.getElementById('setup-file');
    input.value = '';
    input.onchange = () => {
      const file = input.files && input.files[0];
      if (!file) return;
      // The core refuses more than a megabyte anyway; a file far larger
      // would not even fit the stack its text is handed over on.
      if (file.size > SETUP_BYTES) {
        this.notice('Die Einstellung „' + file.name + '“ wurde nicht geöffnet: Die Datei ist zu groß ' +
          'für eine Einstellung (mehr als 1 MB).');
        return;
      }
      this.pending(file.text().then((text) => new Promise((resolve) => {
        this.viewChange(() => {
          const message = this.module.ccall('pm_open_setup', 'string', ['string'], [text]);
          if (message) this.notice('Die Einstellung „' + file.name + '“ wurde nicht geöffnet: ' + message);
          this.stateReplaced();
          resolve();
        });
      })));
    };
    input.click();
  }

  // After a set-up has replaced the state outside a command: the check
  // marks and the panel follow.
  stateReplaced() {
    this.menuBar.setChecks(this.module.ccall('pm_checks', 'string', [], []));
    this.refreshValues();
  }

  // "Link kopieren": the address, which opens the picture on screen (or the
  // open exercise), to the clipboard; where the browser refuses, the page
  // offers it to be copied by hand.
  async copyLink() {
    this.address.flush();
    const href = window.location.href;
    const what = this.exercises.current().open ? 'dieser Übung' : 'diesem Bild';
    if (await copyText(href)) this.notice('Der Link zu ' + what + ' ist kopiert.');
    else window.prompt('Der Browser lässt nicht kopieren. Der Link zu ' + what + ':', href);
    this.canvas.focus();
  }

  // "Maße …": the fields of the core in a dialog; OK applies them only when
  // the core finds all of them right, otherwise the dialog says what is wrong.
  editDimensions() {
    const dialog = document.getElementById('dimensions-dialog');
    if (dialog.open) return;
    const table = document.getElementById('dimensions-fields');
    const problem = document.getElementById('dimensions-problem');
    problem.textContent = '';
    table.replaceChildren();
    const lines = this.module.ccall('pm_dimension_fields', 'string', [], []).split('\n').filter(Boolean);
    for (const line of lines) {
      const [key, label, unit, text] = line.split('\x1f');
      const row = document.createElement('label');
      row.className = 'dimension';
      const name = document.createElement('span');
      name.textContent = label + ' [' + unit + ']';
      const input = document.createElement('input');
      input.name = key;
      input.value = text;
      input.inputMode = 'decimal';
      row.append(name, input);
      table.append(row);
    }
    const ok = document.getElementById('dimensions-ok');
    ok.onclick = (ev) => {
      ev.preventDefault();
      const typed = [...table.querySelectorAll('input')].map((i) => i.name + '\x1f' + i.value).join('\n');
      this.viewChange(() => {
        const message = this.module.ccall('pm_apply_dimensions', 'string', ['string'], [typed]);
        if (message) {
          problem.textContent = message;  // stays open, nothing applied
          return;
        }
        dialog.close();
        this.refreshValues();
      });
    };
    dialog.addEventListener('close', () => this.canvas.focus(), { once: true });
    dialog.showModal();
  }

  // Copying and saving finish after the command: counted until they have.
  pending(work) {
    this.extrasPending += 1;
    return work.finally(() => { this.extrasPending -= 1; });
  }

  // --- the menu "E&xtras" ---
  setValuesShown(shown) {
    this.side.hidden = !shown;
    this.values.element.hidden = !shown;
    const entry = this.menuBar && this.menuBar.entries.find((e) => e.command === 'values');
    if (entry) this.menuBar.setMark(entry, shown);
    this.layout();
    this.refreshValues();
  }

  // The diagrams beside the canvas (F10), drawn by the core for the state on screen.
  setDiagramsShown(shown) {
    this.diagrams.canvas.hidden = !shown;
    const entry = this.menuBar && this.menuBar.entries.find((e) => e.command === 'diagrams');
    if (entry) this.menuBar.setMark(entry, shown);
    this.layout();
    this.refreshDiagrams();
  }

  // The sheet for the state on screen. While a run waits for its next frame
  // the core is not called: that frame brings it.
  refreshDiagrams() {
    if (!this.diagrams.shown || this.busy || this.hasEnded) return;
    this.diagrams.resize();
    try {
      this.module.ccall('pm_draw_diagrams', null, [], []);
    } catch (err) {
      console.error('Planimove:', err);
    }
  }

  // A click or tap in a plot turns the crank to the angle under it (not
  // during a run: the crank is the run's).
  pickDiagramAngle(ev) {
    if (this.busy || this.hasEnded) return;
    const p = this.diagrams.at(ev);
    const degrees = this.module.ccall('pm_pick_diagram', 'number', ['number', 'number'], [p.x, p.y]);
    if (!Number.isFinite(degrees)) return;
    ev.preventDefault();
    this.send((3 << 24) | Math.round(degrees * 100));
    this.canvas.focus();
  }

  // The panel takes its width at the right, the diagrams theirs left of it,
  // the canvas the rest; the picture keeps its aspect within the canvas.
  // On a narrow or upright screen the picture takes the full width and the
  // diagrams and the panel go below it.
  layout() {
    const stacked = window.matchMedia(STACKED_LAYOUT).matches;
    this.program.classList.toggle('stacked', stacked);
    this.painter.smallestText = this.touch ? SMALLEST_TOUCH_TEXT : 0;
    if (this.exercises) this.viewChange(() => this.exercises.textsFollow());
    if (this.values.shown) this.values.place(this.client.clientWidth, window.innerHeight, stacked);
    this.explanation.setPixels(Math.round(this.values.scale *
      pagePixels(stacked ? 16 : panelTextPixels(window.innerHeight))));
    if (this.diagrams.shown) {
      this.diagrams.place(this.client.clientWidth, window.innerHeight,
        this.values.shown && !stacked ? this.side.offsetWidth : 0, stacked);
    }
    this.resize();
    this.paint();
  }

  // --- dragging joints ---
  // The joints of the picture on screen in CSS pixels of the canvas; while a
  // run goes on the core is not asked and the joints of its last answer count.
  jointsOnCanvas() {
    if (!this.joints && !this.busy && !this.hasEnded) {
      const fit = fittedScale(this.cssWidth(), this.cssHeight());
      this.joints = this.module.ccall('pm_joints', 'string', [], []).split('\n').filter(Boolean)
        .map((line) => {
          const [letter, x, y] = line.split(' ');
          return { letter, x: fit.x + (Number(x) - SCALE_LEFT) * fit.unit,
            y: fit.y + (Number(y) - SCALE_TOP) * fit.unit };
        })
        .filter((j) => j.x >= 0 && j.y >= 0 && j.x <= this.cssWidth() && j.y <= this.cssHeight());
    }
    return this.joints || [];
  }

  // The letter key of a dragged joint. One such key waits at a time: it reads
  // the pointer when the core takes it, so the joint follows the latest place.
  dragKey(letter) {
    const event = (1 << 24) | letter.charCodeAt(0);
    if (this.queue.includes(event)) return Promise.resolve();
    return this.send(event);
  }

  // The lines for the state on screen. While a run waits for its next frame
  // the core is not called: that frame brings them.
  refreshValues() {
    if (!this.values.shown || this.busy || this.hasEnded) return;
    try {
      this.showExplanation(this.module.ccall('pm_explanation', 'string', [], []));
      this.values.setText(this.module.ccall('pm_measured_values', 'string', [], []));
    } catch (err) {
      console.error('Planimove:', err);
    }
  }

  notice(text, shownMs = 5000) {
    console.error('Planimove: ' + text);
    const box = document.getElementById('notice');
    box.textContent = text;
    box.hidden = false;
    clearTimeout(this.noticeTimer);
    this.noticeTimer = setTimeout(() => { box.hidden = true; }, shownMs);
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
    const painter = new Painter();
    painter.smallestText = this.painter.smallestText;
    painter.stamps = false;
    if (this.picture)
      painter.paint(svg, dpr, this.cssWidth(), this.cssHeight(), this.picture, this.shownImage());
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
      download(blob, (this.rautenwerk ? 'rautenwerk.' : 'planimove.') + format);
    } catch (err) {
      this.notice('Das Bild konnte nicht gespeichert werden.');
    }
  }

  // "Diagramme speichern …": the sheet as PNG or SVG at the size the page
  // shows it, or the table as CSV.
  chooseAndSaveDiagrams() {
    const dialog = document.getElementById('diagrams-dialog');
    if (dialog.open) return;
    if (!this.diagrams.shown) this.setDiagramsShown(true);
    document.getElementById('diagrams-size').textContent =
      this.diagrams.canvas.width + ' \u00d7 ' + this.diagrams.canvas.height;
    dialog.returnValue = '';
    dialog.addEventListener('close', () => {
      this.canvas.focus();
      if (['png', 'svg', 'csv'].includes(dialog.returnValue))
        this.pending(this.saveDiagrams(dialog.returnValue));
    }, { once: true });
    dialog.showModal();
  }

  async saveDiagrams(format) {
    try {
      let blob;
      if (format === 'csv') {
        const text = this.module.ccall('pm_diagram_csv', 'string', [], []);
        if (!text) {
          this.notice('Keine Tabelle: Es ist kein Getriebe dargestellt.');
          return;
        }
        // The text decoder took the byte-order mark that spreadsheets need.
        blob = new Blob([text.startsWith('\uFEFF') ? text : '\uFEFF' + text], { type: 'text/csv;charset=utf-8' });
      } else {
        blob = format === 'svg' ? this.diagrams.svgBlob() : await this.diagrams.pngBlob();
      }
      download(blob, (this.rautenwerk ? 'rautenwerk' : 'planimove') + '-diagramme.' + format);
    } catch (err) {
      this.notice('Die Diagramme konnten nicht gespeichert werden.');
    }
  }

  // "Umlauf als Animation speichern …": one revolution replayed by the core,
  // recorded off screen at the canvas's size and downloaded as a video; the
  // picture on screen and the state stay as they were.
  async saveAnimation() {
    if (this.busy || this.recording) {
      this.notice('Während eines Umlaufs kann keine Animation aufgenommen werden.');
      return;
    }
    if (!videoFormat()) {
      this.notice('Dieser Browser kann keine Videos aufnehmen; die Animation ist hier nicht verfügbar.');
      return;
    }
    const dpr = this.canvas.width / Math.max(1, this.cssWidth());
    const w = this.cssWidth(), h = this.cssHeight();
    const painter = new Painter();
    painter.smallestText = this.painter.smallestText;
    const recording = new RevolutionRecording(this.canvas.width, this.canvas.height,
      (ctx, picture) => painter.paint(ctx, dpr, w, h, picture, this.shownImage()));
    this.recording = recording;
    this.busy = true;
    this.progress('Der Umlauf wird aufgenommen …');
    let frames = 0;
    try {
      recording.start();
      frames = await this.module.ccall('pm_record_revolution', 'number', [], [], { async: true });
    } catch (err) {
      console.error('Planimove:', err);
    } finally {
      this.busy = false;
      this.recording = null;
    }
    let video = null;
    try {
      video = await recording.finish();
    } catch (err) {
      console.error('Planimove:', err);
    }
    this.progress('');
    if (!frames) this.notice('Die Kurbel dieses Getriebes läuft nicht um; keine Animation.');
    else if (!video) this.notice('Die Animation konnte nicht aufgenommen werden.');
    else download(video, (this.rautenwerk ? 'rautenwerk' : 'planimove') + '-umlauf.webm');
    this.stats.recordedFrames = frames;
    if (this.queue.length) await this.pump();
  }

  // A frame of the revolution being recorded (from the core, see saveAnimation).
  recordFrame(numbers, texts, background) {
    if (!this.recording) return Promise.resolve();
    return this.recording.frame({ numbers: numbers.slice(), texts: texts.split('\x1f'), background });
  }

  // A lasting note while the page works (empty: gone).
  progress(text) {
    const box = document.getElementById('notice');
    clearTimeout(this.noticeTimer);
    box.textContent = text;
    box.hidden = !text;
  }

  onKeyDown(ev) {
    // A dialog of the page takes its own keys (Esc closes it).
    if (this.hasEnded || document.querySelector('dialog[open]')) return;
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
    // F10 shows or hides the diagrams; it never reaches the core either.
    if (ev.code === 'F10' || ev.key === 'F10') {
      ev.preventDefault();
      if (!ev.repeat) this.setDiagramsShown(!this.diagrams.shown);
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

  // Moves the view with the dragging pointer, by as many units of the user scale.
  dragView(at) {
    const fit = fittedScale(this.cssWidth(), this.cssHeight());
    const dx = (at.x - this.drag.x) / fit.unit, dy = (at.y - this.drag.y) / fit.unit;
    this.drag = { x: at.x, y: at.y };
    if (!(fit.unit > 0) || (!dx && !dy)) return;
    this.viewChange(() => this.module.ccall('pm_shift_view', null, ['number', 'number'], [dx, dy]));
  }

  async start() {
    const tree = parseMenuTree(
      this.module.ccall('pm_menu_tree', 'string', ['number'], [this.rautenwerk ? 1 : 0]));
    if (!videoFormat()) {
      for (const e of tree)
        if (e.command === 'animation') e.disabled = 'Dieser Browser kann keine Videos aufnehmen';
    }
    this.menuBar = new MenuBar(document.getElementById('menubar'), tree, (e) => this.menu(e));
    window.addEventListener('keydown', (ev) => this.onKeyDown(ev));
    document.getElementById('restart').addEventListener('click', () => this.restart());
    // Alt alone would move the focus to the browser's menu.
    window.addEventListener('keyup', (ev) => {
      if (!this.hasEnded && (ev.key === 'Alt' || ev.key === 'F10')) ev.preventDefault();
    });
    this.gestures = new PictureGestures(this.canvas, this);
    this.controls = new ControlBar(document.getElementById('controls'), this.rautenwerk,
      (code, shift) => this.key(code, shift));
    this.controls.shown = this.touch;
    this.canvas.addEventListener('mousemove', (ev) => {
      if (!this.drag) return;
      const r = this.canvas.getBoundingClientRect();
      this.dragView({ x: ev.clientX - r.left, y: ev.clientY - r.top });
    });
    // The view: Ctrl+wheel zooms about the pointer; the middle or right
    // button, or the left one with Shift, drags it.
    this.canvas.addEventListener('wheel', (ev) => {
      if (!ev.ctrlKey || !ev.deltaY) return;
      ev.preventDefault();
      const r = this.canvas.getBoundingClientRect();
      const at = this.toDrawing({ x: ev.clientX - r.left, y: ev.clientY - r.top });
      const notches = -ev.deltaY / (ev.deltaMode === 0 ? 100 : 1);
      const factor = Math.pow(2, NOTCH_ZOOM * Math.max(-4, Math.min(4, notches)));
      this.viewChange(() => this.module.ccall('pm_zoom_view', null, ['number', 'number', 'number'],
        [at.x, at.y, factor]));
    }, { passive: false });
    this.canvas.addEventListener('mousedown', (ev) => {
      if (ev.button === 1 || ev.button === 2 || (ev.button === 0 && ev.shiftKey)) {
        ev.preventDefault();
        const r = this.canvas.getBoundingClientRect();
        this.drag = { x: ev.clientX - r.left, y: ev.clientY - r.top };
        this.canvas.style.cursor = 'grabbing';
      }
    });
    window.addEventListener('mouseup', () => {
      this.drag = null;
      this.canvas.style.cursor = '';
    });
    this.canvas.addEventListener('contextmenu', (ev) => ev.preventDefault());
    this.diagrams.canvas.addEventListener('pointerdown', (ev) => this.pickDiagramAngle(ev));
    new ResizeObserver(() => this.resize()).observe(this.canvas);
    // Zooming changes the device-pixel ratio, not always the canvas's size;
    // the panel follows the window's height.
    window.addEventListener('resize', () => this.layout());
    // On a phone or an upright tablet the topic's page and the values stand
    // as text below the picture from the start: the page in the picture's
    // band would be too small to read there. (The core asks for the panel
    // when it shows the first picture; its lines follow once it runs.)
    if (this.touch && window.matchMedia(STACKED_LAYOUT).matches) this.setValuesShown(true);
    else this.layout();
    this.busy = true;
    try {
      await this.module.ccall('pm_start', null, ['number'], [this.rautenwerk ? 1 : 0],
        { async: true });
    } finally {
      this.busy = false;
    }
    this.canvas.focus();
    if (touchDevice()) this.module.ccall('pm_set_touch', null, ['number'], [1]);
    this.exercises = new Exercises(this);
    this.address = new AddressState(this);
    this.address.openAtStart();
    await this.exercises.openFromAddress();
    if (this.queue.length) await this.pump();
    if (!this.hasEnded) {
      this.menuBar.setChecks(this.module.ccall('pm_checks', 'string', [], []));
      this.refreshValues();
    }
  }
}

// --- start-up ------------------------------------------------------------------

// The edition named by "?edition=": Planimove unless it says Rautenwerk; a
// name that is neither is reported and Planimove starts.
function editionOf(search) {
  const asked = new URLSearchParams(search).get('edition');
  const name = asked === null ? '' : asked.trim().toLowerCase();
  if (name === 'rautenwerk') return { rautenwerk: true };
  if (name === '' || name === 'planimove') return { rautenwerk: false };
  return { rautenwerk: false, unknown: asked };
}

async function startPage() {
  const edition = editionOf(window.location.search);
  const rautenwerk = edition.rautenwerk;
  document.title = rautenwerk ? 'Rautenwerk' : 'Planimove';
  if (rautenwerk) {
    document.getElementById('icon').href = 'icons/rautenwerk-48.png';
    document.getElementById('manifest').href = 'rautenwerk.webmanifest';
  }
  // The program, the font and the picture list load side by side.
  const font = new FontFace('Liberation Sans', 'url(fonts/LiberationSans-Regular.woff2)');
  const [names, module] = await Promise.all([
    fetch('pictures/list.json').then((r) => (r.ok ? r.json() : [])).catch(() => []),
    createPlanimove(),
    font.load().then((f) => document.fonts.add(f)).catch((err) => {
      console.error('Planimove: Schrift nicht geladen:', err);
    }),
  ]);
  await document.fonts.ready;
  const page = new Page(module, rautenwerk, names);
  module.page = page;  // the core's Host calls reach the page here
  window.planimove = page;
  if (edition.unknown !== undefined)
    page.notice('Die Ausgabe \u201e' + edition.unknown + '\u201c gibt es nicht; es startet Planimove ' +
      '(bekannt sind \u201eplanimove\u201c und \u201erautenwerk\u201c).');
  await page.start();
  keepForOffline();
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
