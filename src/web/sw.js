// The page's service worker: it keeps every file of one build of the page
// in a cache named after that build, and serves them from there, so that
// after one visit the page opens without the network. A new build comes
// whole or not at all: its files are checked against the digests below
// before any is kept, and it takes over only when the page asks, once the
// page has loaded every file of its own build.
const build = '@BUILD@';
const files = new Map(@FILES@);   // name -> SHA-256 of its bytes, as built
const cacheName = 'plant-' + build;

function hex(buffer) {
  return Array.from(new Uint8Array(buffer), (b) => b.toString(16).padStart(2, '0')).join('');
}

// The file, if it is this build's. The browser's copy is used only where
// the server says it is still the one it has (no-cache): just after the
// page loaded it, that costs a short answer, not the file again.
async function fetchChecked(name, digest) {
  const response = await fetch(name, { cache: 'no-cache' });
  if (!response.ok) throw new Error(name + ': ' + response.status + ' ' + response.statusText);
  const body = await response.clone().arrayBuffer();
  if (hex(await crypto.subtle.digest('SHA-256', body)) !== digest)
    throw new Error(name + ' on the server is not the one of build ' + build);
  return [name, response];
}

// Every file of the build, checked; all kept, or none.
async function fetchBuild() {
  const responses = await Promise.all(Array.from(files, ([name, digest]) => fetchChecked(name, digest)));
  const cache = await caches.open(cacheName);
  await Promise.all(responses.map(([name, response]) => cache.put(name, response)));
}

self.addEventListener('install', (event) => event.waitUntil(fetchBuild()));

self.addEventListener('message', (event) => {
  if (event.data === 'take over') self.skipWaiting();
});

// Other builds' files go once this build serves the page.
self.addEventListener('activate', (event) => event.waitUntil((async () => {
  for (const name of await caches.keys())
    if (name.startsWith('plant-') && name !== cacheName) await caches.delete(name);
})()));

// The page's own files from this build's cache; anything else, and a file
// the cache has lost, from the network.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  const url = new URL(request.url);
  if (request.method !== 'GET' || url.origin !== location.origin) return;
  const scope = new URL('./', location.href).pathname;
  if (!url.pathname.startsWith(scope)) return;
  let name = url.pathname.slice(scope.length);
  if (name === '' && request.mode === 'navigate') name = 'index.html';
  if (!files.has(name)) return;
  event.respondWith(caches.open(cacheName).then((cache) => cache.match(name)).then((kept) => kept || fetch(request)));
});
