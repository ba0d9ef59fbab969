// The page around the console program, bundled into vexsum.js by the build:
// what it does on each event. Each file goes through the engine's check on
// a copy of its head, as much of the file as an object can span (intake.js);
// the rest of the file is read only for its download or the zip, which
// streams it from disk (downloads.js).
import { check } from '../engine.js';
import { clear, ready, take, undo } from './batch.js';
import { downloadall, forgetlinks } from './downloads.js';
import { athome } from './home.js';
import { dragover, dropped, picked, pickedfolder } from './intake.js';
import { keepforoffline } from './updates.js';
import { reason, tell, ui } from './view.js';

// the program, run once on nothing: a browser that cannot run it says so here
async function load() {
  await check(new Uint8Array(0));
  ui.picker.disabled = ui.folder.disabled = false;
  ui.zone.classList.remove('waiting');
  tell('Ready.');
  performance.mark('vexsum ready'); // for bench/web: how long after it was asked for
  ready();
}

ui.picker.addEventListener('change', () => {
  take(picked(ui.picker.files));
  ui.picker.value = '';
});
ui.folder.addEventListener('change', () => {
  take(pickedfolder(ui.folder.files));
  ui.folder.value = '';
});
ui.zipall.addEventListener('click', downloadall);
ui.only.addEventListener('change', () => ui.results.classList.toggle('only', ui.only.checked));
ui.clear.addEventListener('click', clear);
ui.undo.addEventListener('click', undo);
// paste, and the files an installed page is opened with
athome(take);
// the whole window takes a drop
window.addEventListener('dragover', dragover);
window.addEventListener('drop', e => {
  dropped(e).then(take, err => {
    tell('Could not read what was dropped: ' + reason(err));
  });
});
// a page kept for Back keeps its downloads
window.addEventListener('pagehide', e => {
  if (!e.persisted) forgetlinks();
});
keepforoffline();
ui.status.textContent = 'Loading the program…';
ui.zone.classList.add('waiting');
load().catch(e => {
  tell('The program could not start (' + reason(e) +
    '): open this page in a current version of Chrome, Edge, Firefox or Safari.');
});
