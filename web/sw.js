// Keeps every file of the page on the device, so that it calculates offline.
// The cache's name carries the version and a digest of the files: an update
// is a new cache, and the old one goes whole.
const cacheName = '{{cache}}';
const files = {{files}};

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(files)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith('klimora-') && name !== cacheName).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(cacheName)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((cached) => cached || fetch(event.request)));
});
