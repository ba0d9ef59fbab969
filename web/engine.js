// The one place that runs the console program on bytes and says what
// happened, in the page (web/page/page.js) and in scripts (vexsum.mjs).
// The program's compiled code is the module vexsum-program, which the build
// names; the program's own lines are the source of truth, read here and
// nowhere else.
import createVexsum from 'vexsum-program';

// check(bytes, name): what the program does with a file of these bytes, on
// a copy in a fresh instance of it (an exit ends only that instance); the
// input is never touched. kind is 'corrected', 'right' or 'notlibrary';
// stored and truecrc are the CRCs as the program prints them; at, before and
// after the bytes changed (null when none); bytes the file after the run;
// lines what the program printed, standard error and output in the order
// written. A failure throws an Error with the program's reason, and its lines.
export async function check(input, name = 'file.lib') {
  if (!ArrayBuffer.isView(input) && !(input instanceof ArrayBuffer))
    throw new TypeError('check takes the bytes of a file: a Uint8Array, Buffer or ArrayBuffer');
  const given = ArrayBuffer.isView(input) ? new Uint8Array(input.buffer, input.byteOffset, input.byteLength)
                                          : new Uint8Array(input);
  const lines = [];
  const vexsum = await createVexsum({ print: line => lines.push(line), printErr: line => lines.push(line) });
  vexsum.FS.mkdir('/files');
  vexsum.FS.chdir('/files');
  try {
    vexsum.FS.writeFile(name, given.slice());
  } catch {
    // the program's file system refuses a name such as a/b.lib, with no words of its own
    throw new Error('the program cannot take a file of that name');
  }
  const status = vexsum.callMain([name]);
  if (status !== 0) {
    const last = lines[lines.length - 1] || '';
    const e = new Error(last.startsWith(name + ': ') ? last.slice(name.length + 2) : last);
    e.lines = lines;
    throw e;
  }
  const value = label => (lines.map(line => line.split('\t')).find(f => f[1] === label) || [])[2] || null;
  const stored = value('Library CRC:'), truecrc = value('True CRC:');
  const bytes = vexsum.FS.readFile(name);
  let first = -1, last = -1;
  for (let i = 0; i < given.length; i++) {
    if (given[i] !== bytes[i]) {
      if (first < 0) first = i;
      last = i;
    }
  }
  const kind = !truecrc ? 'notlibrary' : first < 0 ? 'right' : 'corrected';
  return {
    kind, stored, truecrc, bytes, lines,
    at: first < 0 ? null : first,
    before: first < 0 ? null : given.slice(first, last + 1),
    after: first < 0 ? null : bytes.slice(first, last + 1),
  };
}
