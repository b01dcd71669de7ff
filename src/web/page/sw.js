// SPDX-License-Identifier: GPL-3.0-or-later
// The page's service worker: every file the page needs is kept at install and served from
// there first, so that a page opened once opens again with no network. The build writes
// the list and a cache name that changes with any file (precache.js); a new build's
// worker takes over at once and drops the caches of the builds before.
self.importScripts('precache.js');
const { VOLPAR_CACHE: CACHE, VOLPAR_FILES: FILES } = self;
const OWN_CACHES = 'volpar-';

self.addEventListener('install', (event) => {
  event.waitUntil(
    caches
      .open(CACHE)
      .then((cache) => cache.addAll(FILES))
      .then(() => self.skipWaiting()),
  );
});

self.addEventListener('activate', (event) => {
  const old = (name) => name.startsWith(OWN_CACHES) && name !== CACHE;
  event.waitUntil(
    caches
      .keys()
      .then((names) => Promise.all(names.filter(old).map((name) => caches.delete(name))))
      .then(() => self.clients.claim()),
  );
});

// The page's own files from the cache; anything else, and a file the cache lacks, from
// the network.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(
    caches
      .open(CACHE)
      .then((cache) => cache.match(event.request, { ignoreSearch: true }))
      .then((kept) => kept ?? fetch(event.request)),
  );
});
