// The page's service worker: the page's own files from its cache at once,
// so that a served page opened again opens whatever the network does
// (down, or up and answering nothing). Its cache is one version's files,
// named for the version and a hash of them (the build fills in both), so
// that the files never mix: the page is refreshed in the background by the
// browser's own look at this script on each visit, and a new build is a
// new worker, which fetches every file anew into a cache of its own, takes
// over at once, drops the caches before it and tells the pages open, which
// offer to reload. Files given to the page never pass through here, but the page's
// zip does: the page hands it over as a stream, and the download of its
// address gets that stream, written to disk as it comes.
const kept = '@PAGECACHE@';
const own = '@PAGEFILES@'.split(' ');
self.addEventListener('install', e => {
  // past the browser's HTTP cache, which may hold the last version's files
  e.waitUntil(caches.open(kept).then(cache => cache.addAll(own.map(name => new Request(name, { cache: 'reload' }))))
    .then(() => self.skipWaiting()));
});
// in charge, the new worker tells each page open, which may offer to reload
self.addEventListener('activate', e => {
  e.waitUntil(caches.keys().then(names => Promise.all(names.filter(name => name !== kept).map(name => caches.delete(name))))
    .then(() => self.clients.claim())
    .then(() => self.clients.matchAll({ type: 'window', includeUncontrolled: true }))
    .then(pages => pages.forEach(page => page.postMessage({ fresh: kept }))));
});
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
  // the page's own files from the cache; anything else (or one the browser
  // evicted) from the network
  // (the folder's own address is its index.html, the page again)
  const asked = e.request.url.split('?')[0] === self.registration.scope ? 'index.html' : e.request;
  e.respondWith(caches.open(kept).then(cache => cache.match(asked, { ignoreSearch: true }))
    .then(found => found || fetch(e.request)));
});
