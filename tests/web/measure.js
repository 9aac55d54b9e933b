// Speed and size of the browser page, measured in headless Chromium at
// 1920×1080: for every mechanism type and every topic of the menus, the time
// of a rebuild (the command handler and the painting of its picture; median
// of five, until the canvas has rastered the picture), the size of the page's files and the time to the first picture.
// Usage: node measure.js <site folder>
'use strict';

const fs = require('fs');
const path = require('path');
const { startServer, startBrowser, PageDriver } = require('./harness');

const site = process.argv[2];
if (!site) {
  console.error('usage: node measure.js <site folder>');
  process.exit(2);
}

function filesOf(dir) {
  return fs.readdirSync(dir, { withFileTypes: true }).flatMap((e) => {
    const p = path.join(dir, e.name);
    return e.isDirectory() ? filesOf(p) : [{ file: path.relative(site, p), bytes: fs.statSync(p).size }];
  });
}

const median = (v) => [...v].sort((a, b) => a - b)[Math.floor(v.length / 2)];

(async () => {
  const files = filesOf(site);
  const total = files.reduce((s, f) => s + f.bytes, 0);
  const pictures = files.filter((f) => f.file.startsWith('pictures')).reduce((s, f) => s + f.bytes, 0);
  console.log(`files: ${files.length}, ${(total / 1e6).toFixed(2)} MB (pictures ${(pictures / 1e6).toFixed(2)} MB)`);
  for (const f of files.filter((x) => !x.file.startsWith('pictures')))
    console.log(`  ${f.file}: ${(f.bytes / 1e3).toFixed(0)} kB`);

  const server = await startServer(site);
  const browser = await startBrowser();
  try {
    const firsts = [];
    for (let i = 0; i < 5; ++i) {
      const d = await PageDriver.open(browser, server.url, { width: 1920, height: 1080 });
      firsts.push((await d.stats()).firstPictureMs);
      await d.close();
    }
    console.log(`first picture after loading: median ${median(firsts).toFixed(0)} ms, slowest ${Math.max(...firsts).toFixed(0)} ms`);

    for (const edition of ['planimove', 'rautenwerk']) {
      const d = await PageDriver.open(browser, server.url, { width: 1920, height: 1080, edition });
      const rows = await d.page.evaluate(async () => {
        const p = window.planimove;
        const entries = p.menuBar.entries;
        const types = entries.filter((e) => e.parent === 'mnu1');
        // Topic items: the leaves under the analysis, synthesis and examples menus.
        const under = (root) => entries.filter((e) => !e.submenu && e.parent.startsWith(root) && e.parent !== 'mnu1');
        const topics = [...under('mnu2'), ...under('mnu3'), ...under('mnu8')];
        const out = [];
        for (const type of types) {
          await p.menu(type);
          for (const topic of topics) {
            const parent = entries.find((e) => e.name === topic.parent);
            await p.menu(parent);
            await p.menu(topic);
            const times = [], paints = [];
            for (let i = 0; i < 5; ++i) {
              const t0 = performance.now();
              await p.key(5, 0);  // the rebuild: command handler and painting
              // The canvas rasters lazily: reading a pixel makes it finish now.
              p.ctx.getImageData(0, 0, 1, 1);
              times.push(performance.now() - t0);
              paints.push(p.stats.lastPaintMs);
            }
            times.sort((a, b) => a - b);
            paints.sort((a, b) => a - b);
            out.push({ type: type.name, topic: topic.name, ms: times[2], paintMs: paints[2] });
          }
        }
        return out;
      });
      const ms = rows.map((r) => r.ms);
      const slowest = rows.reduce((a, b) => (b.ms > a.ms ? b : a));
      console.log(`${edition}: ${rows.length} pictures (types × topics) at 1920x1080: rebuild + paint ` +
        `median ${median(ms).toFixed(2)} ms, slowest ${slowest.ms.toFixed(2)} ms (${slowest.type} ${slowest.topic}, ` +
        `paint ${slowest.paintMs.toFixed(2)} ms); over 16 ms: ${rows.filter((r) => r.ms > 16).length}`);
      if (process.env.MEASURE_VERBOSE) console.log([...rows].sort((a, b) => b.ms - a.ms).slice(0, 6));
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
