// One card per file: what the program made of it, in words, with the bytes
// changed, the corrected file to download and the program's own lines; and
// the line under the tally that names the files that need attention.
import { check } from '../engine.js';
import { readhead, unchanged } from './intake.js';
import { markchanged, objectlink } from './downloads.js';
import { count, element, reason, tell, ui } from './view.js';

const hex = bytes => Array.from(bytes, b => b.toString(16).toUpperCase().padStart(2, '0')).join(' ');

// the program's result in words: its kind and sentence, and the bytes changed
function verdict(result) {
  if (result.kind === 'notlibrary') return { kind: 'refused', words: 'Not a library object: left unchanged' };
  if (result.kind === 'right')
    return { kind: 'right', words: `CRC already right (${result.truecrc}): the file needs no change` };
  const words = result.stored === result.truecrc
    ? `CRC already right (${result.truecrc}); the unused half byte after it is now 0`
    : `CRC corrected: was ${result.stored}, now ${result.truecrc}`;
  return { kind: 'corrected', words, changed: `at byte ${result.at}: ${hex(result.before)} → ${hex(result.after)}` };
}

// what became of one file: { kind, words, changed, lines, head, after }:
// its verdict, the program's lines, the head read and the head after the
// run (a corrected file's); only kind and words when it could not be read
export async function judge(entry) {
  const name = entry.file ? entry.file.name : entry.path;
  try {
    const head = await readhead(entry);
    try {
      const result = await check(head, name);
      return { ...verdict(result), lines: result.lines, head, after: result.bytes };
    } catch (e) {
      if (!e.lines) throw e; // the program did not run
      return { kind: 'failed', words: `Could not fill ${entry.path}: ${e.message}; the file is unchanged`, lines: e.lines };
    }
  } catch (e) {
    return { kind: 'failed', words: e && e.own ? e.message : `Could not read ${entry.path}: ${reason(e)}` };
  }
}

// one file's card: the verdict first, then the bytes changed and the
// download, then what the console program printed, folded away (and made
// only when unfolded: a thousand cards stay light)
export function card(entry, judged) {
  const item = element('li');
  item.append(element('h2', '', entry.path), element('p', 'verdict ' + judged.kind, judged.words));
  if (judged.changed) item.append(element('p', 'bytes', judged.changed));
  if (judged.kind === 'corrected') {
    // the head as the program left it, and the rest of the file as it is,
    // once the file is seen to be as it was when checked
    const name = entry.file.name;
    const blob = new Blob([judged.after, entry.file.slice(judged.head.length)], { type: 'application/octet-stream' });
    const link = objectlink(blob, name, 'download', 'Download ' + name);
    link.addEventListener('click', e => {
      if (link.dataset.seen) {
        delete link.dataset.seen;
        return;
      }
      e.preventDefault();
      unchanged(entry, judged.head).then(same => {
        if (!same) {
          tell(markchanged({ item, path: entry.path }));
          return;
        }
        link.dataset.seen = 'yes';
        link.click();
      });
    });
    item.append(link);
  }
  if (judged.lines) {
    const details = element('details');
    details.append(element('summary', '', 'What the console program printed'));
    details.addEventListener('toggle', () => {
      if (details.open && !details.querySelector('pre')) details.append(element('pre', 'lines', judged.lines.join('\n')));
    });
    item.append(details);
  }
  return item;
}

// the files that need attention, each a link to its card, under the tally:
// the first few, then how many more, which the filter shows
const few = 5;
export function listattention(needs) {
  const line = [];
  let named = 0;
  for (const [kind, one, many] of [['refused', 'Not a library object: ', 'Not library objects: '], ['failed', 'Error: ', 'Errors: ']]) {
    const these = needs.filter(n => n.kind === kind);
    if (these.length === 0 || named >= few) continue;
    if (line.length) line.push(' ');
    line.push(these.length === 1 ? one : many);
    these.slice(0, few - named).forEach((n, i) => {
      const link = element('a', '', n.path);
      link.href = '#' + n.id;
      line.push(...(i ? [', ', link] : [link]));
    });
    named += Math.min(these.length, few - named);
    line.push('.');
  }
  if (needs.length > named) {
    const more = element('button', 'more', `and ${count(needs.length - named, 'more', 'more')}`);
    more.type = 'button';
    more.addEventListener('click', () => {
      ui.only.checked = true;
      ui.only.dispatchEvent(new Event('change'));
      ui.results.scrollIntoView();
    });
    line.splice(line.length - 1, 1, ', ', more, '.');
  }
  ui.attention.replaceChildren(...line);
  ui.attention.hidden = line.length === 0;
}
