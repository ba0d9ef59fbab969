// The batch: the files given go through the program one at a time, each
// card shown as it is done; files given while a batch runs join it, and
// Clear ends it. Its state is the page's one state object.
import { card, judge, listattention } from './cards.js';
import { addtozip, forgetlinks } from './downloads.js';
import { state } from './state.js';
import { count, reason, ui } from './view.js';

function progress() {
  ui.status.textContent = `Working: ${Math.min(state.finished + 1, state.total)} of ${state.total}`;
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
  // a screen reader hears the tally once, when the batch is done
  ui.status.setAttribute('aria-busy', 'true');
  ui.attention.hidden = true;
  try {
    while (state.pending.length) {
      progress();
      const entry = state.pending.shift();
      const judged = await judge(entry);
      if (round !== state.round) return;
      const item = card(entry, judged), kind = judged.kind;
      state.tally[kind]++;
      state.finished++;
      item.className = 'card ' + kind;
      item.id = 'card' + ++state.cards;
      item.tabIndex = -1; // a link to it moves the focus too
      if (kind === 'refused' || kind === 'failed') state.needs.push({ path: entry.path, kind, id: item.id });
      if (kind === 'corrected') addtozip({ path: entry.path, bytes: judged.after, file: entry.file });
      // each batch above the last, in its own order
      if (state.newest) state.newest.after(item); else ui.results.prepend(item);
      state.newest = item;
      ui.said.textContent = `${entry.path}: ${judged.words}`;
    }
    ui.status.textContent = tallyline(state.tally);
    listattention(state.needs);
  } catch (e) {
    if (round !== state.round) return;
    ui.status.textContent = 'Stopped: ' + reason(e);
  }
  ui.status.setAttribute('aria-busy', 'false');
  state.working = false;
  ui.clear.hidden = ui.filter.hidden = ui.results.children.length === 0;
}

// files given, as { file, path, size }: a batch of their own, or more for
// the batch that runs; kept until the program is ready
export function take(list) {
  if (list.length === 0) return;
  if (!state.ready) {
    state.waiting.push(...list);
    ui.status.textContent = 'Loading the program… then ' + count(state.waiting.length, 'file', 'files') + '.';
    return;
  }
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
  runbatch();
}

// the program has run once: the files given meanwhile go in
export function ready() {
  state.ready = true;
  take(state.waiting.splice(0));
}

// Clear: the batch ends where it is, and the list, its downloads and its zip go
export function clear() {
  const left = state.working ? state.total - state.finished : 0;
  state.round++;
  state.pending = [];
  state.working = false;
  forgetlinks();
  ui.results.replaceChildren();
  state.fixed = [];
  ui.clear.hidden = ui.filter.hidden = ui.attention.hidden = ui.zipall.hidden = true;
  ui.said.textContent = '';
  ui.status.setAttribute('aria-busy', 'false');
  ui.status.textContent = left ? `Cleared; ${count(left, 'file was', 'files were')} not processed` : 'Ready.';
  ui.picker.focus();
}
