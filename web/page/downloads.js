// The downloads: each corrected file's, and one zip of every corrected file
// of the list, each under its path; the zip reads each file's head as the
// program left it and streams the rest of the file from disk.
import { Zip, ZipPassThrough } from 'fflate';
import { state } from './state.js';
import { count, element, reason, ui } from './view.js';

// a link that downloads the blob as name; its URL is kept until Clear
export function objectlink(blob, name, className, text) {
  const link = element('a', className, text);
  link.href = URL.createObjectURL(blob);
  link.download = name;
  state.links.push(link.href);
  return link;
}

export function forgetlinks() {
  state.links.forEach(url => URL.revokeObjectURL(url));
  state.links = [];
}

const zipwords = () => `Download all corrected (${count(state.fixed.length, 'file', 'files')})`;

// a corrected file joins the zip: { path, bytes, file }, bytes its head after the run
export function addtozip(one) {
  state.fixed.push(one);
  if (!ui.zipall.disabled) ui.zipall.textContent = zipwords();
  ui.zipall.hidden = state.fixed.length < 2;
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
  for (const one of list) {
    const member = new ZipPassThrough(one.path);
    member.mtime = one.file.lastModified;
    zip.add(member);
    member.push(one.bytes, false);
    const reader = one.file.slice(one.bytes.length).stream().getReader();
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
  objectlink(blob, 'vexsum-corrected.zip').click();
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

// "Download all corrected": the list as it is now, in one zip
export function downloadall() {
  const list = state.fixed.slice();
  ui.zipall.disabled = true;
  ui.zipall.textContent = 'Making the zip…';
  zipstream(list).catch(e => {
    ui.status.textContent = 'Could not make the zip: ' + reason(e);
  }).finally(() => {
    ui.zipall.disabled = false;
    ui.zipall.textContent = zipwords();
  });
}
