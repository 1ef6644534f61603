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

// The digested files a page names, as addresses.
const namedFiles = (html) => (html.match(/[\w-]+\.[0-9a-f]{10}\.[a-z]+/g) ?? [])
  .map((name) => new URL(name, page).href);

// One version per copy: the page and every file, all from one fill, and only
// a page that names no file but these (a deploy half done may send a newer
// page, naming files this worker does not know). Whatever the cache lacks,
// on install or evicted since, brings the whole copy again. One fill at a time.
async function fillAll(cache) {
  // Each body read at once: a response left unread holds its connection.
  const responses = await Promise.all(files.map(async (url) => {
    const response = await fetch(requestFor(url));
    if (!response.ok) throw new Error(`${url}: ${response.status}`);
    // The body as read, no longer compressed nor of that length.
    const headers = new Headers(response.headers);
    headers.delete('Content-Encoding');
    headers.delete('Content-Length');
    return new Response(await response.blob(), { status: response.status, headers });
  }));
  if (!namedFiles(await responses[0].clone().text()).every((url) => files.includes(url))) {
    throw new Error('the page is of another version');
  }
  await Promise.all(responses.map((response, at) => cache.put(files[at], response)));
}
let filling = null;
function fill(cache) {
  filling ??= cache.keys()
    .then((held) => (held.length === files.length ? null : fillAll(cache)))
    .finally(() => { filling = null; });
  return filling;
}

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cacheName).then(fill).then(() => self.skipWaiting()));
});

// A page open since before this version, whose script may be older than any
// that reads a link, is loaded again at its address, fragment included, so
// that a link opened on an older copy ends on its result. Under the page's
// other address ("index.html" or its folder): to the same address with a
// fragment, a browser would only scroll.
function loadAgain(client) {
  const url = new URL(client.url);
  if (url.hash) {
    url.pathname = url.pathname.endsWith('/index.html') ? url.pathname.slice(0, -'index.html'.length)
      : url.pathname.replace(/[^/]*$/, 'index.html');
  }
  return client.navigate(url.href);
}

self.addEventListener('activate', (event) => {
  const old = (name) => name !== cacheName &&
    (name.startsWith(cachePrefix) || name.startsWith(firstVersionsPrefix));
  const activated = caches.keys().then(async (names) => {
    await Promise.all(names.filter(old).map((name) => caches.delete(name)));
    await self.clients.claim();
    return names.some(old);
  });
  event.waitUntil(activated);
  // Not awaited there: the pages' requests wait for the activation to end.
  // The first version here leaves its pages, which are its own.
  activated.then(async (replacedAnother) => {
    if (!replacedAnother) return;
    for (const client of await self.clients.matchAll({ type: 'window' })) loadAgain(client).catch(() => {});
  });
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
