// Speed and size of the browser page, measured in headless Chromium: the
// size of the page's files (as served, compressed); the time to the first
// picture, on the local machine and on a first visit over a slow connection
// (1.6 Mbit/s, 150 ms round trip); and for every mechanism type and every
// topic of the menus at 1920×1080 the time of a rebuild, split into the
// command handler (WebAssembly), the page's drawing calls and the canvas's
// raster (forced by reading a pixel), each the median of five. Prints a
// table per topic: the median over the types and the slowest type.
// Usage: node measure.js <site folder> [planimove|rautenwerk ...]
'use strict';

const fs = require('fs');
const path = require('path');
const { startServer, startBrowser, PageDriver } = require('./harness');

const site = process.argv[2];
if (!site) {
  console.error('usage: node measure.js <site folder> [edition ...]');
  process.exit(2);
}
const editions = process.argv.length > 3 ? process.argv.slice(3) : ['planimove', 'rautenwerk'];

function filesOf(dir) {
  return fs.readdirSync(dir, { withFileTypes: true }).flatMap((e) => {
    const p = path.join(dir, e.name);
    return e.isDirectory() ? filesOf(p) : [{ file: path.relative(site, p), bytes: fs.statSync(p).size }];
  });
}

const median = (v) => [...v].sort((a, b) => a - b)[Math.floor(v.length / 2)];
const kB = (b) => (b / 1e3).toFixed(0) + ' kB';

async function firstPicture(browser, url, throttled) {
  const context = await browser.createBrowserContext();
  try {
    const page = await context.newPage();
    await page.setViewport({ width: 1366, height: 768 });
    const cdp = await page.target().createCDPSession();
    await cdp.send('Network.enable');
    await cdp.send('Network.setCacheDisabled', { cacheDisabled: true });
    let bytes = 0;
    cdp.on('Network.loadingFinished', (e) => { bytes += e.encodedDataLength; });
    if (throttled) {
      await cdp.send('Network.emulateNetworkConditions', { offline: false, latency: 150,
        downloadThroughput: 1.6e6 / 8, uploadThroughput: 0.75e6 / 8 });
    }
    await page.goto(url);
    await page.waitForFunction(() => window.planimove && window.planimove.stats.paints > 0, { timeout: 30000 });
    return { ms: await page.evaluate(() => window.planimove.stats.firstPictureMs), bytes };
  } finally {
    await context.close();
  }
}

(async () => {
  const files = filesOf(site).filter((f) => !f.file.endsWith('.gz'));
  const served = (f) => {
    const gz = path.join(site, f.file + '.gz');
    return fs.existsSync(gz) ? fs.statSync(gz).size : f.bytes;
  };
  const total = files.reduce((s, f) => s + f.bytes, 0);
  const pictures = files.filter((f) => f.file.startsWith('pictures')).reduce((s, f) => s + f.bytes, 0);
  console.log(`files: ${files.length}, ${(total / 1e6).toFixed(2)} MB (pictures ${(pictures / 1e6).toFixed(2)} MB)`);
  for (const f of files.filter((x) => !x.file.startsWith('pictures') && !x.file.startsWith('icons')))
    console.log(`  ${f.file}: ${kB(f.bytes)}, served ${kB(served(f))}`);

  const server = await startServer(site);
  const browser = await startBrowser();
  try {
    for (const throttled of [false, true]) {
      const loads = [];
      for (let i = 0; i < 5; ++i) loads.push(await firstPicture(browser, server.url, throttled));
      const ms = loads.map((l) => l.ms);
      console.log(`first picture ${throttled ? 'at 1.6 Mbit/s, 150 ms' : 'locally'}, five cold loads: ` +
        `median ${median(ms).toFixed(0)} ms, slowest ${Math.max(...ms).toFixed(0)} ms, ${kB(loads[0].bytes)} transferred`);
    }

    for (const edition of editions) {
      const d = await PageDriver.open(browser, server.url, { width: 1920, height: 1080, edition });
      const rows = await d.page.evaluate(async () => {
        const p = window.planimove;
        const entries = p.menuBar.entries;
        const types = entries.filter((e) => e.parent === 'mnu1');
        // Topic items: the leaves under the analysis, synthesis and examples menus.
        const under = (root) => entries.filter((e) => !e.submenu && e.parent.startsWith(root) && e.parent !== 'mnu1');
        const topics = [...under('mnu2'), ...under('mnu3'), ...under('mnu8')];
        const caption = (e) => e.caption.replace(/&/g, '').trim();
        // One untimed pass over the topics first: the browser compiles the
        // page's hot code with its optimising compiler only once it has run a
        // while, and the first type would otherwise carry that warm-up.
        await p.menu(types[0]);
        for (const topic of topics) {
          await p.menu(entries.find((e) => e.name === topic.parent));
          await p.menu(topic);
          for (let i = 0; i < 3; ++i) await p.key(5, 0);
        }
        const out = [];
        for (const type of types) {
          await p.menu(type);
          for (const topic of topics) {
            const parent = entries.find((e) => e.name === topic.parent);
            await p.menu(parent);
            await p.menu(topic);
            const samples = [];
            for (let i = 0; i < 5; ++i) {
              const t0 = performance.now();
              await p.key(5, 0);  // the rebuild: command handler and painting
              const t1 = performance.now();
              // The canvas rasters lazily: reading a pixel makes it finish now.
              p.ctx.getImageData(0, 0, 1, 1);
              const t2 = performance.now();
              samples.push({ total: t2 - t0, paint: p.stats.lastPaintMs, raster: t2 - t1,
                core: t1 - t0 - p.stats.lastPaintMs });
            }
            const m = (k) => samples.map((s) => s[k]).sort((a, b) => a - b)[2];
            out.push({ type: caption(type), topic: caption(parent) + ' › ' + caption(topic),
              total: m('total'), core: m('core'), paint: m('paint'), raster: m('raster'),
              primitives: p.picture.numbers.length / 15 });
          }
        }
        return out;
      });
      const all = rows.map((r) => r.total);
      const slowest = rows.reduce((a, b) => (b.total > a.total ? b : a));
      console.log(`\n${edition}: ${rows.length} pictures (types × topics) at 1920x1080: rebuild + paint ` +
        `median ${median(all).toFixed(2)} ms, slowest ${slowest.total.toFixed(2)} ms (${slowest.type}, ${slowest.topic}); ` +
        `over 16 ms: ${rows.filter((r) => r.total > 16).length}`);
      console.log('\n| topic | median over the types, ms | slowest, ms (type: core / drawing calls / raster, primitives) |');
      console.log('|---|---|---|');
      for (const topic of [...new Set(rows.map((r) => r.topic))]) {
        const of = rows.filter((r) => r.topic === topic);
        const worst = of.reduce((a, b) => (b.total > a.total ? b : a));
        console.log(`| ${topic} | ${median(of.map((r) => r.total)).toFixed(1)} | ${worst.total.toFixed(1)} ` +
          `(${worst.type}: ${worst.core.toFixed(1)} / ${worst.paint.toFixed(1)} / ${worst.raster.toFixed(1)}, ${worst.primitives}) |`);
      }
      await d.close();
    }
  } finally {
    await browser.close();
    server.stop();
  }
})().catch((err) => {
  console.error(err);
  process.exit(1);
});
