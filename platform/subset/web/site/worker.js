// The show's service worker: it keeps the whole show, so that an installed app starts and plays
// with no network. A build is a set of files named by their content; the worker of a build fills
// a cache of its own name with exactly those files, each checked against its SHA-256, before it
// takes over, and only then deletes the caches of other builds. A download that fails or brings
// another build's file (a folder caught half-way through publishing) fails the install: the
// working build stays, whole. The page asks for an update at every start; a new build takes
// over at the start after the one that downloaded it, never in the middle of a show.
'use strict';

const kBuild = '@BUILD@';
const kFiles = @FILES@;  // [path relative to the worker, SHA-256 in hex]
// Caches are the origin's: a build's is named by the folder it serves, so that shows published
// in two folders of one server keep theirs.
const kPrefix = 'showcase ' + self.registration.scope + ' ';
const kCache = kPrefix + kBuild;

const hex = buffer => [...new Uint8Array(buffer)].map(b => b.toString(16).padStart(2, '0')).join('');

async function fill() {
  const responses = await Promise.all(kFiles.map(async ([file, digest]) => {
    const response = await fetch(new Request(file, { cache: 'reload' }));
    if (!response.ok) throw new Error(file + ': ' + response.status);
    const body = await response.clone().arrayBuffer();
    if (hex(await crypto.subtle.digest('SHA-256', body)) !== digest) throw new Error(file + ': of another build');
    return [file, response];
  }));
  const cache = await caches.open(kCache);
  await Promise.all(responses.map(([file, response]) => cache.put(file, response)));
}

self.addEventListener('install', event => {
  event.waitUntil(fill().then(() => self.skipWaiting(), async error => {
    await caches.delete(kCache);
    throw error;
  }));
});

self.addEventListener('activate', event => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) if (name.startsWith(kPrefix) && name !== kCache) await caches.delete(name);
    await self.clients.claim();
  })());
});

// The show's files from the cache (the page whatever its options: index.html?kiosk is
// index.html), anything else from the network.
self.addEventListener('fetch', event => {
  const request = event.request;
  if (request.method !== 'GET') return;
  const url = new URL(request.url);
  const scope = new URL(self.registration.scope);
  if (url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname)) return;
  let path = url.pathname.slice(scope.pathname.length);
  if (path === '' || request.mode === 'navigate' && path === 'index.html') path = 'index.html';
  if (!kFiles.some(([file]) => file === path)) return;
  event.respondWith(caches.open(kCache).then(cache => cache.match(path)).then(hit => hit || fetch(request)));
});
