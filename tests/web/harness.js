// Shared by the browser tests and the measuring script: serves the page's
// folder on 127.0.0.1, starts headless Chromium through puppeteer-core, loads
// the page, sends keys and menu commands as a user does and waits until the
// page has finished the command.
'use strict';

const { spawn } = require('child_process');
const net = require('net');
const path = require('path');
const fs = require('fs');
const puppeteer = require('puppeteer-core');

const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';

function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.unref();
    server.on('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

async function waitForServer(port, timeoutMs) {
  const until = Date.now() + timeoutMs;
  while (Date.now() < until) {
    const ok = await new Promise((resolve) => {
      const socket = net.connect(port, '127.0.0.1', () => {
        socket.end();
        resolve(true);
      });
      socket.on('error', () => resolve(false));
    });
    if (ok) return;
    await new Promise((r) => setTimeout(r, 100));
  }
  throw new Error('the server on port ' + port + ' did not start');
}

// The server that `make web-serve` runs (with the compressed copies), on a free port.
async function startServer(site) {
  if (!fs.existsSync(path.join(site, 'index.html'))) throw new Error('no page in ' + site);
  const port = await freePort();
  const server = spawn('python3', [path.join(__dirname, '../../tools/serve_site.py'), site, String(port)],
    { stdio: 'ignore' });
  // The server ends with this script, however the script ends.
  const stop = () => { if (server.exitCode === null) server.kill(); };
  process.on('exit', stop);
  for (const signal of ['SIGINT', 'SIGTERM']) process.once(signal, () => process.exit(1));
  await waitForServer(port, 10000);
  return { url: 'http://127.0.0.1:' + port + '/', stop };
}

async function startBrowser() {
  const args = ['--font-render-hinting=none', '--disable-gpu', '--disable-lcd-text',
    '--force-color-profile=srgb', '--hide-scrollbars'];
  if (process.getuid && process.getuid() === 0) args.push('--no-sandbox');
  return puppeteer.launch({ executablePath: CHROMIUM, headless: true, args });
}

// Puppeteer's key names of the renderer's notation ("Shift+Down", "F3", "4").
function puppeteerKey(name) {
  const named = { Space: 'Space', Backspace: 'Backspace', Esc: 'Escape', PgUp: 'PageUp',
    PgDn: 'PageDown', End: 'End', Home: 'Home', Left: 'ArrowLeft', Up: 'ArrowUp',
    Right: 'ArrowRight', Down: 'ArrowDown' };
  if (named[name]) return named[name];
  if (/^[0-9]$/.test(name)) return 'Digit' + name;
  if (/^[A-Z]$/.test(name)) return 'Key' + name;
  if (/^F([1-9]|1[0-2])$/.test(name)) return name;
  throw new Error('no key named ' + name);
}

class PageDriver {
  constructor(page) {
    this.page = page;
    this.errors = [];
    page.on('pageerror', (e) => this.errors.push(e.message));
  }

  // query: the address's query (and fragment), instead of the edition's.
  static async open(browser, url, { width, height, dpr = 1, edition = 'planimove', query, touch = false }) {
    const page = await browser.newPage();
    const driver = new PageDriver(page);
    await page.setViewport({ width, height, deviceScaleFactor: dpr, isMobile: touch, hasTouch: touch });
    const started = Date.now();
    await page.goto(url + (query !== undefined ? query : edition === 'rautenwerk' ? '?edition=rautenwerk' : ''));
    await page.waitForFunction(() => window.planimove && window.planimove.stats.paints > 0,
      { timeout: 15000 });
    driver.loadMs = Date.now() - started;
    await driver.idle();
    return driver;
  }

  // Until the page has no command running or queued, no picture being
  // copied or saved, and its background picture is loaded.
  async idle(timeoutMs = 60000) {
    await this.page.waitForFunction(() => {
      const p = window.planimove;
      if (!p || p.busy || p.queue.length || p.extrasPending) return false;
      return !p.backgroundName || !p.pictures.has(p.backgroundName.toLowerCase()) || !!p.image;
    }, { timeout: timeoutMs, polling: 20 });
  }

  // One key in the renderer's notation, then wait for the command to end.
  async key(token, { wait = true } = {}) {
    const mods = [];
    let rest = token;
    const at = rest.indexOf('@');
    if (at >= 0) {
      // "C@300,420": the pointer first goes to that point of the drawing.
      const [x, y] = rest.slice(at + 1).split(',').map(Number);
      rest = rest.slice(0, at);
      await this.pointAt(x, y);
    }
    for (const [prefix, key] of [['Shift+', 'Shift'], ['Ctrl+', 'Control'], ['Alt+', 'Alt']]) {
      if (rest.startsWith(prefix)) {
        mods.push(key);
        rest = rest.slice(prefix.length);
      }
    }
    for (const m of mods) await this.page.keyboard.down(m);
    await this.page.keyboard.press(puppeteerKey(rest));
    for (const m of mods.reverse()) await this.page.keyboard.up(m);
    if (wait) await this.idle();
  }

  // Opens the menus on the way to an entry and clicks it, as a user does.
  async menu(path) {
    for (const name of path) {
      await this.page.click('[id="' + name + '"]');
      await this.idle();
    }
  }

  async events(sequence) {
    for (const token of sequence.split(' ').filter(Boolean)) {
      if (token.startsWith('menu:')) await this.menu([token.slice(5)]);
      else if (token.startsWith('drag:')) await this.drag(token.slice(5));
      else await this.key(token);
    }
  }

  // "C@300,420": the mouse takes joint C where the picture shows it and
  // drags it in steps to that point of the drawing.
  async drag(token) {
    const [letter, place] = token.split('@');
    const [x, y] = place.split(',').map(Number);
    const from = await this.page.evaluate((l) => {
      const j = window.planimove.jointsOnCanvas().find((k) => k.letter === l);
      const r = document.getElementById('picture').getBoundingClientRect();
      return j && { x: r.left + j.x, y: r.top + j.y };
    }, letter);
    if (!from) throw new Error('no joint ' + letter + ' to drag');
    const to = await this.clientPoint(x, y);
    await this.page.mouse.move(from.x, from.y);
    await this.page.mouse.down();
    await this.page.mouse.move(to.x, to.y, { steps: 8 });
    await this.page.mouse.up();
    await this.idle();
  }

  // Moves the pointer onto the canvas point that shows drawing point (x, y).
  async pointAt(x, y) {
    const client = await this.clientPoint(x, y);
    await this.page.mouse.move(client.x, client.y);
  }

  // A tap of a finger on drawing point (x, y) (a page opened with touch);
  // waits for the command.
  async tap(x, y) {
    const client = await this.clientPoint(x, y);
    await this.page.touchscreen.tap(client.x, client.y);
    await this.idle();
  }

  // The page's point that shows drawing point (x, y).
  clientPoint(x, y) {
    return this.page.evaluate((dx, dy) => {
      const c = document.getElementById('picture');
      const r = c.getBoundingClientRect();
      const unit = Math.min(c.clientWidth / 1022, c.clientHeight / 691);
      const left = (c.clientWidth - 1022 * unit) / 2, top = (c.clientHeight - 691 * unit) / 2;
      return { x: r.left + left + dx * unit, y: r.top + top + (dy - 40) * unit };
    }, x, y);
  }

  canvasSize() {
    return this.page.evaluate(() => {
      const c = document.getElementById('picture');
      return { width: c.clientWidth, height: c.clientHeight };
    });
  }

  stats() { return this.page.evaluate(() => ({ ...window.planimove.stats })); }

  async close() { await this.page.close(); }
}

module.exports = { startServer, startBrowser, PageDriver, puppeteerKey };
