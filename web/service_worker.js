// The page's service worker (sw.js, written by make web from this file):
// keeps the program's files for use without a network, one version of them
// at a time, and the explanatory pictures as they are shown (all of them on
// the page's request, once the program runs).
'use strict';

const VERSION = '@SITE_VERSION@';
const PICTURES_VERSION = '@PICTURES_VERSION@';
const PROGRAM = 'planimove-program-' + VERSION;
const PICTURES = 'planimove-pictures-' + PICTURES_VERSION;
// The program's files, relative to this worker (index.html stands for "./").
const FILES = [@SITE_FILES@];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(PROGRAM)
    .then((cache) => cache.addAll(FILES.map((f) => new Request(f, { cache: 'no-cache' }))))
    .then(() => self.skipWaiting()));
});

// The files of earlier versions go; this worker serves the open pages at once.
self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n.startsWith('planimove-') && n !== PROGRAM &&
      n !== PICTURES).map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

function isPicture(url) { return url.pathname.includes('/pictures/') && url.pathname.endsWith('.gif'); }

// A picture from the cache, or from the network and then kept.
async function picture(request) {
  const cache = await caches.open(PICTURES);
  const kept = await cache.match(request);
  if (kept) return kept;
  const answer = await fetch(request);
  if (answer.ok) await cache.put(request, answer.clone());
  return answer;
}

self.addEventListener('fetch', (event) => {
  const request = event.request;
  const url = new URL(request.url);
  if (request.method !== 'GET' || url.origin !== self.location.origin) return;
  if (isPicture(url)) {
    event.respondWith(picture(request));
    return;
  }
  // The page under any query and fragment is index.html; the program's
  // files come from this version's cache, anything else from the network.
  const key = request.mode === 'navigate' ? self.registration.scope : request;
  event.respondWith(caches.open(PROGRAM)
    .then((cache) => cache.match(key, { ignoreSearch: true }))
    .then((kept) => kept || fetch(request)));
});

// "pictures": every explanatory picture of the list is kept, so that all
// pages show without a network later.
self.addEventListener('message', (event) => {
  if (event.data !== 'pictures') return;
  event.waitUntil((async () => {
    const base = new URL('pictures/', self.registration.scope);
    const list = new URL('list.json', base).href;
    const names = await ((await caches.match(list)) || (await fetch(list))).json();
    const cache = await caches.open(PICTURES);
    for (const name of names) {
      const request = new Request(new URL(name.split('/').map(encodeURIComponent).join('/'), base).href);
      if (!(await cache.match(request))) {
        const answer = await fetch(request).catch(() => null);
        if (answer && answer.ok) await cache.put(request, answer);
      }
    }
  })().catch((err) => console.error('Planimove: Bilder nicht gespeichert:', err)));
});
