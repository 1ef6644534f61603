// Keeps every file of the page on the device, so that it calculates offline.
// The cache's name carries the page's scope, the version and a digest of the
// files: an update is a new cache, and the old one of this scope goes whole,
// while another deployment on the same origin keeps its own.
const cachePrefix = `klimora ${self.registration.scope} `;
const cacheName = `${cachePrefix}{{cache}}`;
const files = ['{{files}}'];

// Past the HTTP cache, which may still hold the previous version's files.
self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cacheName)
    .then((cache) => cache.addAll(files.map((file) => new Request(file, { cache: 'reload' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith(cachePrefix) && name !== cacheName).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(cacheName)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((cached) => cached || fetch(event.request)));
});
