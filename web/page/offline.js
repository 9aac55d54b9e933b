// Use without a network: the service worker (sw.js) keeps the program's
// files after the first visit and, once the program runs, the explanatory
// pictures too (not where the browser is asked to save data).

export function keepForOffline() {
  if (!('serviceWorker' in navigator) || !/^https?:$/.test(window.location.protocol)) return;
  navigator.serviceWorker.register('sw.js')
    .then(() => navigator.serviceWorker.ready)
    .then((registration) => {
      const saveData = navigator.connection && navigator.connection.saveData;
      if (registration.active && !saveData) registration.active.postMessage('pictures');
    })
    .catch((err) => console.error('Planimove: ohne Netz nicht verfügbar:', err));
}
