// The page's service worker: it keeps the page's own files, so that a
// served page opened again offline still works. Each is fetched from the
// network when it can be, so that an update shows at once, and from the
// cache when it cannot. Files given to the page never pass through here,
// but the page's zip does: the page hands it over as a stream, and the
// download of its address gets that stream, written to disk as it comes.
const kept = 'vexsum-page';
const own = ['vexsum.html', 'vexsum.css', 'vexsum.js', 'vexsum.webmanifest', 'icon.svg',
  'icon-192.png', 'icon-512.png', 'manual.html',
  'index.html', './'];
self.addEventListener('install', e => {
  e.waitUntil(caches.open(kept).then(cache => cache.addAll(own)).then(() => self.skipWaiting()));
});
self.addEventListener('activate', e => e.waitUntil(self.clients.claim()));
const zips = new Map(); // the page's zips, by the address of their download, until it is asked for
self.addEventListener('message', e => {
  if (!e.data || !e.data.zip) return;
  zips.set(new URL(e.data.zip, location).href, e.data.stream);
  e.ports[0].postMessage('taken');
});
self.addEventListener('fetch', e => {
  const zip = zips.get(e.request.url);
  if (zip) {
    zips.delete(e.request.url);
    // the worker lives while the zip passes through it
    const pass = new TransformStream();
    e.waitUntil(zip.pipeTo(pass.writable).catch(() => {}));
    e.respondWith(new Response(pass.readable, { headers: {
      'Content-Type': 'application/zip',
      'Content-Disposition': 'attachment; filename="vexsum-corrected.zip"' } }));
    return;
  }
  if (e.request.method !== 'GET' || new URL(e.request.url).origin !== location.origin) return;
  e.respondWith(fetch(e.request).then(response => {
    if (response.ok) {
      const copy = response.clone();
      e.waitUntil(caches.open(kept).then(cache => cache.put(e.request, copy)));
    }
    return response;
  }).catch(() => caches.match(e.request, { ignoreSearch: true }).then(r => r || Response.error())));
});
