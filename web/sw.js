// The page's service worker: it keeps the page's own files, so that a
// served page opened again offline still works. Each is fetched from the
// network when it can be, so that an update shows at once, and from the
// cache when it cannot. Files given to the page never pass through here.
const kept = 'vexsum-page';
const own = ['vexsum.html', 'vexsum.css', 'vexsum.js', 'fflate.js', 'vexsum.webmanifest',
  'icon.svg', 'icon-192.png', 'icon-512.png', 'manual.html'];
self.addEventListener('install', e => {
  e.waitUntil(caches.open(kept).then(cache => cache.addAll(own)).then(() => self.skipWaiting()));
});
self.addEventListener('activate', e => e.waitUntil(self.clients.claim()));
self.addEventListener('fetch', e => {
  if (e.request.method !== 'GET' || new URL(e.request.url).origin !== location.origin) return;
  e.respondWith(fetch(e.request).then(response => {
    if (response.ok) {
      const copy = response.clone();
      e.waitUntil(caches.open(kept).then(cache => cache.put(e.request, copy)));
    }
    return response;
  }).catch(() => caches.match(e.request, { ignoreSearch: true }).then(r => r || Response.error())));
});
