// The files given to the page, as { file, path, size, date } (size and date
// taken when chosen, stamp(): a file removed before it is read would read
// as empty): from
// the picker, a paste, the system's launch of an installed page,
// the folder picker or a drop on the window, a dropped folder walked whole;
// and, when its turn comes, the head of each file, as much as the program
// needs.
import { state } from './state.js';

// the largest object's file, header included, and one byte more, which
// tells the program whether data follows the object
const headlength = 524298 + 1;

// the page's words for a file that the browser can no longer read as it was
const gone = path => Object.assign(new Error(`${path} changed or was removed after it was chosen: choose it again`), { own: true });

// the system's order is none: a folder's files go by name
const inorder = (a, b) => (a < b ? -1 : a > b ? 1 : 0);

export const picked = files => Array.from(files, file => ({ file, path: file.webkitRelativePath || file.name }));

// each file's size and date as the page takes it: Chromium asks the system
// for them, one file at a time, so that a folder of thousands would stop
// the page for seconds; the first few hundred at once, the rest a slice
// at a time
const slice = 256;
export async function stamp(list) {
  for (let i = 0; i < list.length; i++) {
    if (i && i % slice === 0) await new Promise(resolve => setTimeout(resolve));
    const entry = list[i];
    if (entry.file && entry.size === undefined) {
      entry.size = entry.file.size;
      entry.date = entry.file.lastModified;
    }
  }
}

// a folder from the folder picker, by path
export const pickedfolder = files => picked(files).sort((a, b) => inorder(a.path, b.path));

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
    all.sort((a, b) => inorder(a.name, b.name));
    for (const inner of all) await walk(inner, out);
  } else {
    try {
      const file = await new Promise((resolve, reject) => entry.file(resolve, reject));
      out.push({ file, path });
    } catch {
      out.push({ file: null, path, failure: gone(path) });
    }
  }
  return out;
}

// while a drag is over the window, it says so
export function dragover(e) {
  e.preventDefault();
  document.body.classList.add('dragging');
  clearTimeout(state.dragend);
  state.dragend = setTimeout(() => document.body.classList.remove('dragging'), 200);
}

// what was dropped anywhere on the window, folders walked
export function dropped(e) {
  e.preventDefault();
  document.body.classList.remove('dragging');
  // the entries can be had only while the event lasts; their files later
  const items = Array.from(e.dataTransfer.items || []).filter(i => i.kind === 'file');
  const entries = items.map(i => (i.webkitGetAsEntry ? i.webkitGetAsEntry() : null));
  if (entries.length === 0 || entries.some(x => !x)) return Promise.resolve(picked(e.dataTransfer.files));
  return (async () => {
    const list = [];
    for (const entry of entries) await walk(entry, list);
    return list;
  })();
}

// the first bytes of a file, as many as the program needs
export async function readhead(entry) {
  if (entry.failure) throw entry.failure;
  stamp([entry]); // (the batch came before the slice with this file)
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

// the words for a file that is no longer as it was when its verdict was given
export const changedwords = path => `${path} changed after it was checked: choose it again`;

// whether a file is still as it was when checked: its size and date as
// when chosen, and its head read again the same (a browser that keeps what
// it knew of the file refuses the read of one changed or removed; another
// reads the file as it is now, and reads it removed as an error)
export async function unchanged(entry, head) {
  if (entry.file.size !== entry.size || entry.file.lastModified !== entry.date) return false;
  try {
    const now = new Uint8Array(await entry.file.slice(0, head.length).arrayBuffer());
    return now.length === head.length && now.every((b, i) => b === head[i]);
  } catch {
    return false;
  }
}
