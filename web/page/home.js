// The page's home on the system: served, it names its manifest (opened
// from disk a browser cannot read one, and logs errors if asked to);
// installed, it takes the files that the system hands it (the manifest's
// file_handlers); and files pasted anywhere on the page join the list.
import { picked } from './intake.js';

export function athome(take) {
  if (location.protocol !== 'file:') {
    const link = document.createElement('link');
    link.rel = 'manifest';
    link.href = 'vexsum.webmanifest';
    document.head.append(link);
  }
  if ('launchQueue' in window) {
    window.launchQueue.setConsumer(launch => {
      if (!launch.files || launch.files.length === 0) return;
      Promise.all(Array.from(launch.files, handle => handle.getFile())).then(files => take(picked(files)));
    });
  }
  document.addEventListener('paste', e => {
    const files = e.clipboardData ? e.clipboardData.files : [];
    if (files.length === 0) return;
    e.preventDefault();
    take(picked(files));
  });
}
