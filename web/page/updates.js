// Served, the page keeps its own files for a visit offline, through its
// service worker (sw.js); from disk it needs nothing kept, and a browser
// does not offer it. A new version's worker takes over as soon as it has
// fetched the new files: the page then says so, in one line with a way to
// reload.
import { element } from './view.js';

function offerreload() {
  const line = element('p', 'update', 'A new version of vexsum is ready. ');
  line.id = 'update';
  line.setAttribute('role', 'status');
  const button = element('button', '', 'Reload');
  button.type = 'button';
  button.addEventListener('click', () => location.reload());
  line.append(button);
  document.querySelector('main').prepend(line);
}

export function keepforoffline() {
  if (!('serviceWorker' in navigator) || location.protocol === 'file:') return;
  // a new worker says so once it is in charge (a message waits for this
  // listener); the first worker, in charge of a page that had none, brings
  // no new version
  const before = navigator.serviceWorker.controller;
  navigator.serviceWorker.addEventListener('message', e => {
    if (before && e.data && e.data.fresh && !document.getElementById('update')) offerreload();
  });
  navigator.serviceWorker.startMessages();
  navigator.serviceWorker.register('sw.js').catch(() => {});
}
