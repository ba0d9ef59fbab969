// The batch: the files given go through the program one at a time, each
// card shown as it is done; files given while a batch runs join it, and
// Clear ends it. Its state is the page's one state object.
import { card, judge, listattention } from './cards.js';
import { addtozip, forget, showzip } from './downloads.js';
import { stamp } from './intake.js';
import { state } from './state.js';
import { count, reason, tell, ui } from './view.js';

// cards go into the list together, at most this often (in ms): each time
// the list is laid out anew, which a card at a time makes slower and
// slower as the list grows
const showevery = 250;

// the cards made since the last time, into the list after the batch's
// last, each batch above the one before, in its own order; their files
// join the zip and the list of those that need attention
function shelve() {
  const shelf = state.shelf;
  if (shelf.length === 0) return;
  state.shelf = [];
  state.shown = performance.now();
  const items = shelf.map(one => one.item);
  if (state.newest) state.newest.after(...items); else ui.results.prepend(...items);
  state.newest = items[items.length - 1];
  progress();
  for (const { item, entry, judged } of shelf) {
    if (judged.kind === 'refused' || judged.kind === 'failed') state.needs.push({ path: entry.path, kind: judged.kind, id: item.id });
    if (judged.kind === 'corrected') addtozip({ entry, path: entry.path, head: judged.head, bytes: judged.after, item });
  }
}

// a screen reader hears the batch's start, where it is at most this often
// (in ms), and its tally: not every file of a thousand
const sayevery = 5000;

// where the batch is, in the line and the bar at once, as its cards go in
// (a change a file would lay the page out again for each); said now and then
function progress() {
  const words = `Working: ${Math.min(state.finished + 1, state.total)} of ${state.total}`;
  ui.status.textContent = words;
  ui.meter.max = state.total;
  ui.meter.value = state.finished;
  ui.meter.hidden = false;
  const now = performance.now();
  if (now - state.spoken >= sayevery) {
    state.spoken = now;
    ui.said.textContent = words;
  }
}

const tallyline = tally =>
  count(tally.corrected, 'corrected', 'corrected') + ', ' +
  count(tally.right, 'already right', 'already right') + ', ' +
  count(tally.refused, 'not a library object', 'not library objects') + ', ' +
  count(tally.failed, 'error', 'errors');

async function runbatch() {
  const round = state.round;
  state.working = true;
  ui.clear.hidden = false;
  ui.attention.hidden = true;
  try {
    progress();
    while (state.pending.length) {
      const entry = state.pending.shift();
      const judged = await judge(entry);
      if (round !== state.round) return;
      const item = card(entry, judged), kind = judged.kind;
      state.tally[kind]++;
      state.finished++;
      item.className = 'card ' + kind;
      item.id = 'card' + ++state.cards;
      item.tabIndex = -1; // a link to it moves the focus too
      state.shelf.push({ item, entry, judged });
      if (performance.now() - state.shown >= showevery) shelve();
    }
    shelve();
    tell(tallyline(state.tally));
    listattention(state.needs);
  } catch (e) {
    if (round !== state.round) return;
    shelve();
    tell('Stopped: ' + reason(e));
  }
  ui.meter.hidden = true;
  state.working = false;
  ui.clear.hidden = ui.filter.hidden = ui.results.children.length === 0;
}

// files given, as { file, path, size }: a batch of their own, or more for
// the batch that runs; kept until the program is ready
export function take(list) {
  if (list.length === 0) return;
  if (!state.ready) {
    state.waiting.push(...list);
    tell('Loading the program… then ' + count(state.waiting.length, 'file', 'files') + '.');
    return;
  }
  // a pick ends what Clear took
  if (state.cleared) {
    forget(state.cleared.links);
    state.cleared = null;
    ui.undo.hidden = true;
  }
  stamp(list);
  state.pending.push(...list);
  if (state.working) {
    state.total += list.length;
    progress();
    return;
  }
  state.finished = 0;
  state.total = list.length;
  state.tally = { corrected: 0, right: 0, refused: 0, failed: 0 };
  state.newest = null;
  state.needs = [];
  ui.said.textContent = `Checking ${count(state.total, 'file', 'files')}`;
  state.spoken = performance.now();
  runbatch();
}

// the program has run once: the files given meanwhile go in
export function ready() {
  state.ready = true;
  take(state.waiting.splice(0));
}

// Clear: the batch ends where it is, and the list, its downloads and its
// zip go, kept aside until the next pick so that Undo can bring them back
// (cards not yet shown go, and count as not processed)
export function clear() {
  const left = state.working ? state.total - state.finished + state.shelf.length : 0;
  forget(state.shelf.map(one => one.item.querySelector('a.download')).filter(a => a).map(a => a.href));
  state.shelf = [];
  state.round++;
  state.pending = [];
  state.working = false;
  if (state.cleared) forget(state.cleared.links);
  state.cleared = { cards: Array.from(ui.results.children), fixed: state.fixed, links: state.links,
    attention: Array.from(ui.attention.childNodes) };
  state.links = [];
  state.fixed = [];
  ui.results.replaceChildren();
  ui.clear.hidden = ui.filter.hidden = ui.attention.hidden = ui.zipall.hidden = ui.meter.hidden = true;
  ui.undo.hidden = state.cleared.cards.length === 0;
  tell(left ? `Cleared; ${count(left, 'file was', 'files were')} not processed` : 'Cleared.');
  ui.picker.focus();
}

// Undo: the list that Clear took comes back as it was (a batch that Clear
// ended stays ended)
export function undo() {
  const back = state.cleared;
  if (!back) return;
  state.cleared = null;
  ui.results.replaceChildren(...back.cards);
  state.fixed = back.fixed;
  state.links = back.links;
  state.newest = null;
  ui.attention.replaceChildren(...back.attention);
  ui.attention.hidden = back.attention.length === 0;
  ui.undo.hidden = true;
  ui.clear.hidden = ui.filter.hidden = false;
  showzip();
  tell(`The list is back: ${count(back.cards.length, 'file', 'files')}.`);
  ui.clear.focus();
}
