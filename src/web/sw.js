// The page's service worker: it keeps every file of one build of the page
// in a cache named after this copy of the page (its scope) and that build,
// and serves them from there, so that after one visit the page opens
// without the network. A new build comes whole or not at all: its files
// are fetched past the browser's HTTP cache and checked against the
// digests below before any is kept, and it takes over only when the page
// asks, once the page has loaded every file of its own build. A page asks
// for its own build's files (?b=), and gets them from that build's cache
// while the cache is kept: never one build's page with another's scripts.
const build = '@BUILD@';
const files = new Map(@FILES@);   // name -> SHA-256 of its bytes, as built
const prefix = 'plant:' + self.registration.scope + ':';
const cacheName = prefix + build;

function hex(buffer) {
  return Array.from(new Uint8Array(buffer), (b) => b.toString(16).padStart(2, '0')).join('');
}

// The file as the server has it now, if it is this build's: never a copy
// the browser kept, which a deploy caught half-way may have left cut short.
async function fetchChecked(name, digest) {
  const response = await fetch(name, { cache: 'no-store' });
  if (!response.ok) throw new Error(name + ': ' + response.status + ' ' + response.statusText);
  const body = await response.clone().arrayBuffer();
  if (hex(await crypto.subtle.digest('SHA-256', body)) !== digest)
    throw new Error(name + ' on the server is not the one of build ' + build);
  return [name, response];
}

// Every file of the build, checked; all kept, or none.
async function fetchBuild() {
  const responses = await Promise.all(Array.from(files, ([name, digest]) => fetchChecked(name, digest)));
  const existed = await caches.has(cacheName);
  try {
    const cache = await caches.open(cacheName);
    await Promise.all(responses.map(([name, response]) => cache.put(name, response)));
  } catch (e) {
    if (!existed) await caches.delete(cacheName);
    throw e;
  }
}

self.addEventListener('install', (event) => event.waitUntil(fetchBuild()));

self.addEventListener('message', (event) => {
  if (event.data === 'take over') self.skipWaiting();
});

// The pages whose documents this worker served: all their files are of its build.
const served = new Set();

// Other builds of this copy of the page go once no open page can still ask
// for them: every page open now is one this worker served. Caches of
// other copies of the page on the same site are theirs.
async function dropOlderBuilds() {
  const open = await self.clients.matchAll({ type: 'window', includeUncontrolled: true });
  if (open.some((page) => !served.has(page.id))) return;
  for (const name of await caches.keys())
    if ((name.startsWith(prefix) && name !== cacheName) || /^plant-[0-9a-f]{16}$/.test(name)) await caches.delete(name);
}

self.addEventListener('activate', (event) => event.waitUntil(dropOlderBuilds()));

// The page's own files, of the build the page asks for, from that build's
// cache; anything else, and a file no cache holds, from the network.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  const url = new URL(request.url);
  if (request.method !== 'GET' || url.origin !== location.origin) return;
  const scope = new URL(self.registration.scope).pathname;
  if (!url.pathname.startsWith(scope)) return;
  let name = url.pathname.slice(scope.length);
  if (name === '' && request.mode === 'navigate') name = 'index.html';
  if (!files.has(name)) return;
  if (request.mode === 'navigate' && event.resultingClientId) served.add(event.resultingClientId);
  const wanted = prefix + (url.searchParams.get('b') || build);
  event.respondWith(caches.match(name, { cacheName: wanted }).then((kept) => kept || fetch(request)));
  event.waitUntil(dropOlderBuilds());
});
