// Keeps the site's files, so that after one visit the page opens and runs
// with no network. Written into the site at build time with the files'
// names and a hash of their contents: any change of a file changes this
// script, the browser installs it on the next visit with the network up,
// and it fetches the whole new set into a cache of its own before it takes
// over, so that old and new files never mix. Each file is checked with the
// server ('no-cache'): the HTTP cache may give it only if it is current.
'use strict';
var files = [@BILIJAR_SITE_FILES@];
// Caches are per origin: the scope in the name keeps copies of the site at
// other paths of the same server apart.
var prefix = 'bilijar ' + self.registration.scope + ' ';
var cacheName = prefix + '@BILIJAR_SITE_VERSION@';

self.addEventListener('install', function (event) {
  event.waitUntil(caches.open(cacheName).then(function (cache) {
    return cache.addAll(files.map(function (file) {
      return new Request(file, { cache: 'no-cache' });
    }));
  }).then(function () {
    return self.skipWaiting();
  }));
});

// The older versions' caches go once this one is in charge.
self.addEventListener('activate', function (event) {
  event.waitUntil(caches.keys().then(function (names) {
    return Promise.all(names.filter(function (name) {
      return name.indexOf(prefix) === 0 && name !== cacheName;
    }).map(function (name) {
      return caches.delete(name);
    }));
  }));
});

// The site's own files from the cache, anything else from the network.
self.addEventListener('fetch', function (event) {
  var request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) {
    return;
  }
  event.respondWith(caches.open(cacheName).then(function (cache) {
    return cache.match(request, { ignoreSearch: true });
  }).then(function (cached) {
    return cached || fetch(request);
  }));
});
