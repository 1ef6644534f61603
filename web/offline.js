// The offline copy: the service worker that keeps the page's files, registered
// once the calculation is here, so that it takes them from the HTTP cache
// instead of downloading them again. A new version's worker reloads the pages
// still open (sw.js), and each keeps its answers on the way (kept-answers.js).
export function keepOffline(started) {
  if (!('serviceWorker' in navigator)) return;
  started.then(() => navigator.serviceWorker.register('sw.js')).catch(() => {
    // No offline copy, as over plain http: the page works online all the same.
  });
  // An installed page asks to keep its offline copy when space runs short.
  if (matchMedia('(display-mode: standalone)').matches) navigator.storage?.persist?.().catch(() => {});
}
