// The page around the console program, appended to vexsum.js by the build
// after engine.js. Each file goes through engine.js's check, on a copy of as
// much of the file as an object can span; the rest of the file is never read.

// the largest object's file, header included, and one byte more, which
// tells the program whether data follows the object
const headlength = 524298 + 1;
const statusline = document.getElementById('status');
const results = document.getElementById('results');
const input = document.getElementById('files');
const zone = document.getElementById('zone');
const clearer = document.getElementById('clear');
let ready = false;
const waiting = []; // files given while the program loads
let queue = Promise.resolve(); // batches, one after another
let links = []; // object URLs of the downloads shown

const hex = bytes => Array.from(bytes, b => b.toString(16).toUpperCase().padStart(2, '0')).join(' ');

// what happened to the file, in words: its kind and sentence, and the bytes changed
function verdict(r) {
  if (r.kind === 'notlibrary') return { kind: 'refused', words: 'Not a library object: left unchanged' };
  if (r.kind === 'right') return { kind: 'right', words: `CRC already right (${r.truecrc}): the file needs no change` };
  const words = r.stored === r.truecrc ? `CRC already right (${r.truecrc}); the unused half byte after it is now 0`
                                       : `CRC corrected: was ${r.stored}, now ${r.truecrc}`;
  return { kind: 'corrected', words, bytes: `at byte ${r.at}: ${hex(r.before)} → ${hex(r.after)}` };
}

function element(tag, className, text) {
  const e = document.createElement(tag);
  if (className) e.className = className;
  if (text !== undefined) e.textContent = text;
  return e;
}

// one file's card: the verdict first, then the bytes changed and the
// download, then what the console program printed, folded away
async function show(file, before, tally) {
  const item = element('li');
  item.append(element('h2', '', file.name));
  try {
    const head = new Uint8Array(await file.slice(0, headlength).arrayBuffer());
    let r, v;
    try {
      r = await check(head, file.name);
      v = verdict(r);
    } catch (e) {
      if (!e.lines) throw e; // the program did not run
      r = { lines: e.lines };
      v = { kind: 'failed', words: `Could not fill ${file.name}: ${e.message}; the file is unchanged` };
    }
    tally[v.kind]++;
    item.append(element('p', 'verdict ' + v.kind, v.words));
    if (v.bytes) item.append(element('p', 'bytes', v.bytes));
    if (v.kind === 'corrected') {
      const link = element('a', 'download', 'Download ' + file.name);
      link.href = URL.createObjectURL(new Blob([r.bytes, file.slice(head.length)], { type: 'application/octet-stream' }));
      link.download = file.name;
      links.push(link.href);
      item.append(link);
    }
    const details = element('details');
    details.append(element('summary', '', 'What the console program printed'), element('pre', 'lines', r.lines.join('\n')));
    item.append(details);
  } catch (e) {
    tally.failed++;
    const why = e && e.message ? e.message : e;
    item.append(element('p', 'verdict failed', `Could not read ${file.name}: ${why}`));
  }
  results.insertBefore(item, before);
}

const count = (n, one, many) => n + ' ' + (n === 1 ? one : many);

async function batch(files) {
  const tally = { corrected: 0, right: 0, refused: 0, failed: 0 };
  statusline.textContent = 'Working on ' + count(files.length, 'file…', 'files…');
  try {
    const before = results.firstChild; // each batch above the last, in its own order
    for (const file of files) await show(file, before, tally);
    statusline.textContent = count(tally.corrected, 'corrected', 'corrected') + ', ' +
      count(tally.right, 'already right', 'already right') + ', ' +
      count(tally.refused, 'not a library object', 'not library objects') + ', ' +
      count(tally.failed, 'error', 'errors');
  } catch (e) {
    statusline.textContent = 'Stopped: ' + (e && e.message ? e.message : e);
  }
  clearer.hidden = results.children.length === 0;
}

function take(files) {
  const list = Array.from(files);
  if (list.length === 0) return;
  if (!ready) {
    waiting.push(...list);
    statusline.textContent = 'Loading the program… then ' + count(waiting.length, 'file', 'files') + '.';
    return;
  }
  queue = queue.then(() => batch(list));
}

async function load() {
  // one instance now: a browser that cannot run the program says so here
  await createVexsum({ print() {}, printErr() {} });
  ready = true;
  input.disabled = false;
  zone.classList.remove('waiting');
  statusline.textContent = 'Ready.';
  take(waiting.splice(0));
}

input.addEventListener('change', () => {
  take(input.files);
  input.value = '';
});
zone.addEventListener('dragover', e => {
  e.preventDefault();
  zone.classList.add('over');
});
zone.addEventListener('dragleave', () => zone.classList.remove('over'));
zone.addEventListener('drop', e => {
  e.preventDefault();
  zone.classList.remove('over');
  take(e.dataTransfer.files);
});
// a file dropped beside the zone must not replace the page
window.addEventListener('dragover', e => e.preventDefault());
window.addEventListener('drop', e => e.preventDefault());
clearer.addEventListener('click', () => {
  links.forEach(url => URL.revokeObjectURL(url));
  links = [];
  results.replaceChildren();
  clearer.hidden = true;
  statusline.textContent = 'Ready.';
});
window.addEventListener('pagehide', () => links.forEach(url => URL.revokeObjectURL(url)));
zone.classList.add('waiting');
load().catch(e => {
  statusline.textContent = 'The program could not start (' + (e && e.message ? e.message : e) +
    '): open this page in a current version of Chrome, Edge, Firefox or Safari.';
});
