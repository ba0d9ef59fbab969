// The page around the console program, bundled into vexsum.js by the build.
// Each file goes through the engine's check, on a copy of as much of the
// file as an object can span; the rest of the file is never read.
import { Zip, ZipPassThrough } from 'fflate';
import { check } from '../engine.js';

// the largest object's file, header included, and one byte more, which
// tells the program whether data follows the object
const headlength = 524298 + 1;
const statusline = document.getElementById('status');
const results = document.getElementById('results');
const input = document.getElementById('files');
const zone = document.getElementById('zone');
const clearer = document.getElementById('clear');
const attention = document.getElementById('attention');
const said = document.getElementById('said'); // each verdict, for a screen reader
const filter = document.getElementById('filter');
const only = document.getElementById('only');
const folder = document.getElementById('folder');
const zipall = document.getElementById('zipall');
let ready = false;
const waiting = []; // files given while the program loads
// the batch: files given while one runs join it, and Clear ends it
let pending = []; // { file, path } not yet started
let working = false;
let round = 0; // each Clear starts a new round: a card from an older one is dropped
let done = 0, total = 0, tally = null;
let newest = null; // the batch's last card so far: the next goes after it
let needs = []; // the batch's cards that need attention: { path, kind, id }
let cards = 0; // cards made, for their ids
let fixed = []; // the corrected files of the list: { path, bytes, file }, bytes the head after the run
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

// the page's words for a file that the browser can no longer read as it was
const gone = path => Object.assign(new Error(`${path} changed or was removed after it was chosen: choose it again`), { own: true });

// the first bytes of a file, as many as the program needs
async function head(entry) {
  if (entry.failure) throw entry.failure;
  let bytes;
  try {
    bytes = new Uint8Array(await entry.file.slice(0, headlength).arrayBuffer());
  } catch (e) {
    // the browser checks the file against what it was when chosen
    if (e && (e.name === 'NotFoundError' || e.name === 'NotReadableError')) throw gone(entry.path);
    throw e;
  }
  if (entry.file.size !== entry.size || bytes.length !== Math.min(entry.size, headlength)) throw gone(entry.path);
  return bytes;
}

// one file's card: the verdict first, then the bytes changed and the
// download, then what the console program printed, folded away
async function show(entry) {
  const file = entry.file, name = file ? file.name : entry.path;
  const item = element('li');
  item.append(element('h2', '', entry.path));
  try {
    const before = await head(entry);
    let r, v;
    try {
      r = await check(before, name);
      v = verdict(r);
    } catch (e) {
      if (!e.lines) throw e; // the program did not run
      r = { lines: e.lines };
      v = { kind: 'failed', words: `Could not fill ${entry.path}: ${e.message}; the file is unchanged` };
    }
    item.append(element('p', 'verdict ' + v.kind, v.words));
    if (v.bytes) item.append(element('p', 'bytes', v.bytes));
    if (v.kind === 'corrected') {
      const link = element('a', 'download', 'Download ' + name);
      link.href = URL.createObjectURL(new Blob([r.bytes, file.slice(before.length)], { type: 'application/octet-stream' }));
      link.download = name;
      links.push(link.href);
      item.append(link);
    }
    const details = element('details');
    details.append(element('summary', '', 'What the console program printed'), element('pre', 'lines', r.lines.join('\n')));
    item.append(details);
    return { item, kind: v.kind, words: v.words, fixed: v.kind === 'corrected' ? { path: entry.path, bytes: r.bytes, file } : null };
  } catch (e) {
    const why = e && e.message ? e.message : e;
    const words = e && e.own ? e.message : `Could not read ${entry.path}: ${why}`;
    item.append(element('p', 'verdict failed', words));
    return { item, kind: 'failed', words };
  }
}

const count = (n, one, many) => n + ' ' + (n === 1 ? one : many);

function progress() {
  statusline.textContent = `Working: ${Math.min(done + 1, total)} of ${total}`;
}

// every corrected file of the list under its path, in one zip: stored as
// they are and read a piece at a time; each piece of the zip goes to
// put(chunk, final), and the next is read once room() says so
async function zipped(list, put, room) {
  let failed = null;
  const zip = new Zip((err, chunk, final) => {
    if (err) failed = err;
    else put(chunk, final);
  });
  for (const f of list) {
    const member = new ZipPassThrough(f.path);
    member.mtime = f.file.lastModified;
    zip.add(member);
    member.push(f.bytes, false);
    const reader = f.file.slice(f.bytes.length).stream().getReader();
    for (;;) {
      await room();
      if (failed) throw failed;
      const { done, value } = await reader.read();
      if (done) break;
      member.push(value, false);
    }
    member.push(new Uint8Array(0), true);
  }
  zip.end();
  if (failed) throw failed;
}

// the zip in a blob, folded in 16 MB at a time so that the page's own heap
// holds no more; the browser holds the blob, in memory where it has room
async function zipblob(list) {
  let blob = new Blob([]), chunks = [], held = 0;
  await zipped(list, (chunk, final) => {
    chunks.push(chunk);
    held += chunk.length;
    if (held > 16 << 20 || final) {
      blob = new Blob([blob, ...chunks], { type: 'application/zip' });
      chunks = [];
      held = 0;
    }
  }, () => {});
  const link = element('a');
  link.href = URL.createObjectURL(blob);
  link.download = 'vexsum-corrected.zip';
  links.push(link.href);
  link.click();
}

// served, the zip goes to disk as it is made: the page hands a stream to
// its service worker, which answers the download's address with it; the
// page makes no more than 4 MB ahead of the disk. Without a worker that
// takes it (from disk, or before the worker is ready), a blob.
let zips = 0;
function zipstream(list) {
  const worker = navigator.serviceWorker && navigator.serviceWorker.controller;
  if (!worker) return zipblob(list);
  const { readable, writable } = new TransformStream({}, new ByteLengthQueuingStrategy({ highWaterMark: 4 << 20 }));
  const address = `vexsum-corrected.zip?${Date.now()}-${++zips}`;
  const answer = new MessageChannel();
  return new Promise(resolve => {
    answer.port1.onmessage = () => resolve(true);
    setTimeout(() => resolve(false), 3000);
    worker.postMessage({ zip: address, stream: readable }, [readable, answer.port2]);
  }).then(taken => {
    answer.port1.close();
    if (!taken) return zipblob(list);
    const frame = element('iframe');
    frame.hidden = true;
    frame.src = address;
    document.body.append(frame);
    const writer = writable.getWriter();
    return zipped(list, (chunk, final) => {
      writer.write(chunk).catch(() => {});
      if (final) writer.close().catch(() => {});
    }, () => writer.ready).catch(e => {
      writer.abort(e).catch(() => {});
      throw e;
    }).finally(() => setTimeout(() => frame.remove(), 60000));
  });
}

const zipwords = () => `Download all corrected (${count(fixed.length, 'file', 'files')})`;

function offer(one) {
  fixed.push(one);
  if (!zipall.disabled) zipall.textContent = zipwords();
  zipall.hidden = fixed.length < 2;
}

// the files of the batch that need attention, each a link to its card
function point() {
  const line = [];
  for (const [kind, one, many] of [['refused', 'Not a library object: ', 'Not library objects: '], ['failed', 'Error: ', 'Errors: ']]) {
    const these = needs.filter(n => n.kind === kind);
    if (these.length === 0) continue;
    if (line.length) line.push(' ');
    line.push(these.length === 1 ? one : many);
    these.forEach((n, i) => {
      const link = element('a', '', n.path);
      link.href = '#' + n.id;
      line.push(...(i ? [', ', link] : [link]));
    });
    line.push('.');
  }
  attention.replaceChildren(...line);
  attention.hidden = line.length === 0;
}

async function work() {
  const mine = round;
  working = true;
  clearer.hidden = false;
  // a screen reader hears the tally once, when the batch is done
  statusline.setAttribute('aria-busy', 'true');
  attention.hidden = true;
  try {
    while (pending.length) {
      progress();
      const entry = pending.shift();
      const one = await show(entry), { item, kind, words } = one;
      if (mine !== round) return;
      tally[kind]++;
      done++;
      item.className = 'card ' + kind;
      item.id = 'card' + ++cards;
      item.tabIndex = -1; // a link to it moves the focus too
      if (kind === 'refused' || kind === 'failed') needs.push({ path: entry.path, kind, id: item.id });
      if (one.fixed) offer(one.fixed);
      // each batch above the last, in its own order
      if (newest) newest.after(item); else results.prepend(item);
      newest = item;
      said.textContent = `${entry.path}: ${words}`;
    }
    statusline.textContent = count(tally.corrected, 'corrected', 'corrected') + ', ' +
      count(tally.right, 'already right', 'already right') + ', ' +
      count(tally.refused, 'not a library object', 'not library objects') + ', ' +
      count(tally.failed, 'error', 'errors');
    point();
  } catch (e) {
    if (mine !== round) return;
    statusline.textContent = 'Stopped: ' + (e && e.message ? e.message : e);
  }
  statusline.setAttribute('aria-busy', 'false');
  working = false;
  clearer.hidden = filter.hidden = results.children.length === 0;
}

// files from the picker or a drop, as { file, path }: a batch of their own,
// or more for the batch that runs
function take(list) {
  if (list.length === 0) return;
  if (!ready) {
    waiting.push(...list);
    statusline.textContent = 'Loading the program… then ' + count(waiting.length, 'file', 'files') + '.';
    return;
  }
  pending.push(...list);
  if (working) {
    total += list.length;
    progress();
    return;
  }
  done = 0;
  total = list.length;
  tally = { corrected: 0, right: 0, refused: 0, failed: 0 };
  newest = null;
  needs = [];
  work();
}

// (its size now: a file removed before it is read would read as empty)
const picked = files => Array.from(files, file => ({ file, path: file.webkitRelativePath || file.name, size: file.size }));

// a dropped folder's files, subfolders included, in name order; a file that
// cannot be opened gets a card that says so
async function walk(entry, out) {
  const path = entry.fullPath.replace(/^\//, '');
  if (entry.isDirectory) {
    const reader = entry.createReader(), all = [];
    for (;;) {
      const some = await new Promise((resolve, reject) => reader.readEntries(resolve, reject));
      if (some.length === 0) break;
      all.push(...some);
    }
    all.sort((a, b) => (a.name < b.name ? -1 : a.name > b.name ? 1 : 0)); // the system's order is none
    for (const e of all) await walk(e, out);
  } else {
    try {
      const file = await new Promise((resolve, reject) => entry.file(resolve, reject));
      out.push({ file, path, size: file.size });
    } catch (e) {
      out.push({ file: null, path, failure: gone(path) });
    }
  }
  return out;
}

async function load() {
  // one run now: a browser that cannot run the program says so here
  await check(new Uint8Array(0));
  ready = true;
  input.disabled = folder.disabled = false;
  zone.classList.remove('waiting');
  statusline.textContent = 'Ready.';
  performance.mark('vexsum ready'); // for bench/web: how long after it was asked for
  take(waiting.splice(0));
}

input.addEventListener('change', () => {
  take(picked(input.files));
  input.value = '';
});
const byname = (a, b) => (a.path < b.path ? -1 : a.path > b.path ? 1 : 0);
folder.addEventListener('change', () => {
  // a folder comes in the system's order: the list goes by path
  take(picked(folder.files).sort(byname));
  folder.value = '';
});
zipall.addEventListener('click', () => {
  const list = fixed.slice();
  zipall.disabled = true;
  zipall.textContent = 'Making the zip…';
  zipstream(list).catch(e => {
    statusline.textContent = 'Could not make the zip: ' + (e && e.message ? e.message : e);
  }).finally(() => {
    zipall.disabled = false;
    zipall.textContent = zipwords();
  });
});
only.addEventListener('change', () => results.classList.toggle('only', only.checked));
// the whole window takes a drop: while a drag is over it, it says so
let dragend = 0;
window.addEventListener('dragover', e => {
  e.preventDefault();
  document.body.classList.add('dragging');
  clearTimeout(dragend);
  dragend = setTimeout(() => document.body.classList.remove('dragging'), 200);
});
window.addEventListener('drop', e => {
  e.preventDefault();
  document.body.classList.remove('dragging');
  // the entries can be had only while the event lasts; their files later
  const items = Array.from(e.dataTransfer.items || []).filter(i => i.kind === 'file');
  const entries = items.map(i => (i.webkitGetAsEntry ? i.webkitGetAsEntry() : null));
  if (entries.length === 0 || entries.some(x => !x)) {
    take(picked(e.dataTransfer.files));
    return;
  }
  (async () => {
    const list = [];
    for (const entry of entries) await walk(entry, list);
    take(list);
  })().catch(err => {
    statusline.textContent = 'Could not read what was dropped: ' + (err && err.message ? err.message : err);
  });
});
clearer.addEventListener('click', () => {
  const left = working ? total - done : 0;
  round++;
  pending = [];
  working = false;
  links.forEach(url => URL.revokeObjectURL(url));
  links = [];
  results.replaceChildren();
  fixed = [];
  clearer.hidden = filter.hidden = attention.hidden = zipall.hidden = true;
  said.textContent = '';
  statusline.setAttribute('aria-busy', 'false');
  statusline.textContent = left ? `Cleared; ${count(left, 'file was', 'files were')} not processed` : 'Ready.';
  input.focus();
});
// a page kept for Back keeps its downloads
window.addEventListener('pagehide', e => {
  if (!e.persisted) links.forEach(url => URL.revokeObjectURL(url));
});
// served, the page keeps its own files for a visit offline (from disk it
// needs nothing kept, and a browser does not offer it)
if ('serviceWorker' in navigator && location.protocol !== 'file:') navigator.serviceWorker.register('sw.js').catch(() => {});
statusline.textContent = 'Loading the program…';
zone.classList.add('waiting');
load().catch(e => {
  statusline.textContent = 'The program could not start (' + (e && e.message ? e.message : e) +
    '): open this page in a current version of Chrome, Edge, Firefox or Safari.';
});
