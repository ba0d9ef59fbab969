// The downloads: each corrected file's, and one zip of every corrected file
// of the list, each under its path; the zip reads each file's head as the
// program left it and streams the rest of the file from disk, leaving out
// (and naming) a file that changed after its verdict.
import { Zip, ZipPassThrough } from 'fflate';
import { changedwords, unchanged } from './intake.js';
import { state } from './state.js';
import { count, element, reason, tell, ui } from './view.js';

const zipname = 'vexsum-corrected.zip';

// a link that downloads the blob as name; its URL is kept until Clear
export function objectlink(blob, name, className, text) {
  const link = element('a', className, text);
  link.href = URL.createObjectURL(blob);
  link.download = name;
  state.links.push(link.href);
  return link;
}

export const forget = links => links.forEach(url => URL.revokeObjectURL(url));

// the page goes: every download's URL with it, a cleared list's too
export function forgetlinks() {
  forget(state.links);
  state.links = [];
  if (state.cleared) forget(state.cleared.links);
}

const zipwords = () => `Download all corrected (${count(state.fixed.length, 'file', 'files')})`;

// the button as the list now is
export function showzip() {
  if (!ui.zipall.disabled) ui.zipall.textContent = zipwords();
  ui.zipall.hidden = state.fixed.length < 2;
}

// a corrected file joins the zip: { entry, path, head, bytes, item }, head
// as read, bytes after the run, item its card
export function addtozip(one) {
  state.fixed.push(one);
  showzip();
}

// a file changed after its verdict: its card says so, its download goes,
// and the zip leaves it out; the words
export function markchanged({ item, path }) {
  const words = changedwords(path);
  const link = item.querySelector('a.download');
  if (link) link.remove();
  if (!item.querySelector('.verdict.changed')) item.querySelector('.verdict').after(element('p', 'verdict changed', words));
  state.fixed = state.fixed.filter(one => one.item !== item);
  showzip();
  return words;
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
  const left = [];
  for (const one of list) {
    if (!(await unchanged(one.entry, one.head))) {
      left.push(one);
      continue;
    }
    const member = new ZipPassThrough(one.path);
    member.mtime = one.entry.file.lastModified;
    zip.add(member);
    member.push(one.bytes, false);
    const reader = one.entry.file.slice(one.bytes.length).stream().getReader();
    for (;;) {
      await room();
      if (failed) throw failed;
      let piece;
      try {
        piece = await reader.read();
      } catch {
        throw new Error(changedwords(one.path));
      }
      if (piece.done) break;
      member.push(piece.value, false);
    }
    member.push(new Uint8Array(0), true);
  }
  zip.end();
  if (failed) throw failed;
  return left;
}

// the zip in a blob, folded in 16 MB at a time so that the page's own heap
// holds no more; the browser holds the blob, in memory where it has room
async function zipblob(list) {
  let blob = new Blob([]), chunks = [], held = 0;
  const left = await zipped(list, (chunk, final) => {
    chunks.push(chunk);
    held += chunk.length;
    if (held > 16 << 20 || final) {
      blob = new Blob([blob, ...chunks], { type: 'application/zip' });
      chunks = [];
      held = 0;
    }
  }, () => {});
  objectlink(blob, zipname).click();
  return left;
}

// from disk, where the browser lets the page write a file the person
// chooses, the zip streams to it, never whole in memory; null when the
// browser has no such file or refuses it
async function zipsaved(list) {
  let handle;
  try {
    handle = await window.showSaveFilePicker({ suggestedName: zipname,
      types: [{ description: 'Zip', accept: { 'application/zip': ['.zip'] } }] });
  } catch (e) {
    if (e && e.name === 'AbortError') return { cancelled: true };
    return null;
  }
  const writer = (await handle.createWritable()).getWriter();
  try {
    const left = await zipped(list, (chunk, final) => {
      writer.write(chunk).catch(() => {});
      if (final) writer.close().catch(() => {});
    }, () => writer.ready);
    await writer.closed;
    return { left };
  } catch (e) {
    writer.abort(e).catch(() => {});
    throw e;
  }
}

// served, the zip goes to disk as it is made: the page hands a stream to
// its service worker, which answers the download's address with it; the
// page makes no more than 4 MB ahead of the disk. Without a worker that
// takes it (from disk, or before the worker is ready), a blob.
function zipstream(list) {
  const worker = navigator.serviceWorker && navigator.serviceWorker.controller;
  if (!worker) return zipblob(list);
  const { readable, writable } = new TransformStream({}, new ByteLengthQueuingStrategy({ highWaterMark: 4 << 20 }));
  const address = `vexsum-corrected.zip?${Date.now()}-${++state.zips}`;
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

// "Download all corrected": the list as it is now, in one zip; what was
// left out of it, or why there is none, said and named
export function downloadall() {
  const list = state.fixed.slice();
  ui.zipall.disabled = true;
  ui.zipall.textContent = 'Making the zip…';
  const fromdisk = window.showSaveFilePicker && !(navigator.serviceWorker && navigator.serviceWorker.controller);
  (fromdisk ? zipsaved(list) : Promise.resolve(null)).then(saved => {
    if (saved && saved.cancelled) return { cancelled: true };
    return saved ? saved : zipstream(list).then(left => ({ left }));
  }).then(({ cancelled, left }) => {
    if (cancelled) {
      tell(`${zipname} was not saved: no file was chosen.`);
      return;
    }
    (left || []).forEach(markchanged);
    if (left && left.length)
      tell(`Left out of ${zipname}: ` + left.map(one => changedwords(one.path)).join('; ') + '.');
  }).catch(e => {
    tell(`Could not make ${zipname}: ` + reason(e));
  }).finally(() => {
    ui.zipall.disabled = false;
    showzip();
  });
}
