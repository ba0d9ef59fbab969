// What every part of the page shows with: its elements, a new element, and
// the page's few ways of putting things into words.
const byid = id => document.getElementById(id);

export const ui = {
  status: byid('status'),
  results: byid('results'),
  picker: byid('files'),
  folder: byid('folder'),
  zone: byid('zone'),
  clear: byid('clear'),
  attention: byid('attention'),
  said: byid('said'), // what a screen reader hears: a batch's start, its progress now and then, its tally
  meter: byid('meter'),
  undo: byid('undo'),
  filter: byid('filter'),
  only: byid('only'),
  zipall: byid('zipall'),
};

export function element(tag, className, text) {
  const made = document.createElement(tag);
  if (className) made.className = className;
  if (text !== undefined) made.textContent = text;
  return made;
}

// "1 file", "2 files"
export const count = (n, one, many) => n + ' ' + (n === 1 ? one : many);

// what went wrong, in the words of whatever threw it
export const reason = e => (e && e.message ? e.message : e);

// words for the status line that a screen reader hears too
export function tell(words) {
  ui.status.textContent = words;
  ui.said.textContent = words;
}
