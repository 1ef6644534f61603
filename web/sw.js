// Keeps the files the page needs on the device, so that it calculates offline.
// The cache's name carries the page's scope, the version and a digest of the
// files: an update is a new cache, and the old one of this scope goes whole,
// while another deployment on the same origin keeps its own.
const cachePrefix = `klimora ${self.registration.scope} `;
const cacheName = `${cachePrefix}{{cache}}`;
// The first versions named their caches so.
const firstVersionsPrefix = 'klimora-';
const files = ['{{files}}'].map((file) => new URL(file, self.registration.scope).href);
const page = files[0];

// A digested name never changes its bytes: the copy the page has just
// downloaded, in the HTTP cache, is the one. Every other file is asked for
// again, past a lifetime a host may have given it.
const digested = /\.[0-9a-f]{10}\.[a-z]+$/;
const requestFor = (url) => new Request(url, { cache: digested.test(url) ? 'default' : 'no-cache' });

// Puts back whatever the cache lacks: all of it on install, and what the
// browser has evicted since. The page's files miss together: one fill at a time.
let filling = null;
function fill(cache) {
  filling ??= cache.keys()
    .then((held) => new Set(held.map((request) => request.url)))
    .then((held) => cache.addAll(files.filter((url) => !held.has(url)).map(requestFor)))
    .finally(() => { filling = null; });
  return filling;
}

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cacheName).then(fill).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  const old = (name) => name !== cacheName &&
    (name.startsWith(cachePrefix) || name.startsWith(firstVersionsPrefix));
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter(old).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The page itself under any of its addresses ("./", "index.html", a query);
// every other file under its exact address, so that a retry with a query
// goes to the network.
function cacheKey(request) {
  const url = new URL(request.url);
  const isPage = request.mode === 'navigate' &&
    (url.href.split(/[?#]/)[0] === page || url.pathname === new URL('index.html', page).pathname);
  return isPage ? page : request;
}

self.addEventListener('fetch', (event) => {
  const { request } = event;
  if (request.method !== 'GET') return;
  event.respondWith(caches.open(cacheName).then(async (cache) => {
    const cached = await cache.match(cacheKey(request), { ignoreVary: true });
    if (cached) return cached;
    // A miss may mean an evicted cache: put it back while online.
    event.waitUntil(fill(cache).catch(() => {
      // Offline still: the next miss fills it.
    }));
    return fetch(request);
  }));
});
