// The one place that runs the console program on bytes and says what
// happened, in the page (web/page/page.js) and in scripts (vexsum.mjs).
// The program's compiled code is the module vexsum-program and its
// WebAssembly's bytes vexsum-wasm, which the build names; the program's own
// lines are the source of truth, read here and nowhere else.
import createVexsum from 'vexsum-program';
import wasmBinary from 'vexsum-wasm';

// as much of a file as an object can span, header included, and one byte
// more, which tells the program whether data follows the object: all that
// it reads
const span = 524298 + 1;

// The program, made once and kept: its WebAssembly is decoded and compiled
// with it, on the first call. Before each run its memory is put back as it
// was before its first (all below the stack and from the stack's top to the
// heap's end: data and heap, however they are laid out) and so is its stack
// pointer, so that every run starts from the program's first state; an
// exit ends that run only, as the runtime is kept alive. A run that breaks
// the runtime itself (a trap) has a new one made for the next.
let program = null;
let lines = [];

async function start() {
  const vexsum = await createVexsum({
    wasmBinary, noExitRuntime: true, print: line => lines.push(line), printErr: line => lines.push(line) });
  const memory = vexsum.HEAPU8.buffer;
  const below = vexsum._emscripten_stack_get_end(), above = vexsum._emscripten_stack_get_base();
  vexsum.FS.mkdir('/files');
  vexsum.FS.chdir('/files');
  return {
    vexsum,
    standard: vexsum.FS.streams.slice(0, 3),
    stack: vexsum.stackSave(),
    below: new Uint8Array(memory, 0, below).slice(),
    above: new Uint8Array(memory, above, vexsum._sbrk(0) - above).slice(),
    aboveat: above,
  };
}

function reset(p) {
  const memory = new Uint8Array(p.vexsum.HEAPU8.buffer);
  memory.set(p.below, 0);
  memory.set(p.above, p.aboveat);
  p.vexsum.stackRestore(p.stack);
}

// one run of the program on a file of these bytes: its status, lines and
// the file's bytes afterwards
function run(p, head, name) {
  const { FS } = p.vexsum;
  reset(p);
  lines = [];
  FS.writeFile(name, head);
  let status;
  try {
    status = p.vexsum.callMain([name]);
    // what the program left in its buffers, as its exit would write it
    p.vexsum.___stdio_exit();
    for (const s of p.standard) s.stream_ops.flush(s);
  } catch (e) {
    program = null;
    throw Object.assign(new Error(`the program stopped: ${e && e.message ? e.message : e}`), { lines });
  } finally {
    for (const s of FS.streams) if (s && !p.standard.includes(s)) FS.close(s);
  }
  const after = FS.readFile(name);
  FS.unlink(name);
  // a run that took a standard stream away would leave the next without it
  if (p.standard.some((s, fd) => FS.streams[fd] !== s)) program = null;
  return { status, lines, after };
}

// what a name must be to be a file's in the program's one folder
function badname(name) {
  if (typeof name !== 'string') return 'it is not a string';
  if (name === '' || name === '.' || name === '..') return `"${name}" names no file`;
  if (name.includes('/')) return 'it holds a slash (a file\'s own name, not a path)';
  if (name.includes('\0')) return 'it holds a NUL character';
  if (new TextEncoder().encode(name).length > 255) return 'it is longer than 255 bytes';
  return null;
}

// where b, the file after the run, first and last differs from a, the file
// before it: [-1, -1] when nowhere. Four bytes at a time (both are arrays of
// their own, so aligned), since the largest object is half a megabyte.
function changes(a, b) {
  const words = b.length >> 2;
  const a4 = new Uint32Array(a.buffer, a.byteOffset, words), b4 = new Uint32Array(b.buffer, b.byteOffset, words);
  let i = 0;
  while (i < words && a4[i] === b4[i]) i++;
  let first = 4 * i;
  while (first < b.length && a[first] === b[first]) first++;
  if (first === b.length) return [-1, -1];
  let last = b.length - 1;
  while (last >= 4 * words && a[last] === b[last]) last--;
  if (last < 4 * words) {
    i = words - 1;
    while (a4[i] === b4[i]) i--;
    last = 4 * i + 3;
  }
  while (a[last] === b[last]) last--;
  return [first, last];
}

// calls take turns: the work is synchronous, so one program is enough
let queue = Promise.resolve();

// check(bytes, name): what the program does with a file of these bytes,
// named name (which its lines show); the input is copied at the call and
// never touched. kind is 'corrected', 'right' or 'notlibrary'; stored and
// truecrc are the CRCs as the program prints them; at, before and after
// the bytes changed (null when none); bytes the whole file after the run
// (the copy, with the changed bytes in it); lines what the program printed,
// standard error and output in the order written. A bad input or name
// throws a TypeError saying why; a failure of the program an Error with
// its reason, and its lines.
export async function check(input, name = 'file.lib') {
  const shared = typeof SharedArrayBuffer === 'function' && input instanceof SharedArrayBuffer;
  if (!ArrayBuffer.isView(input) && !(input instanceof ArrayBuffer) && !shared)
    throw new TypeError('check takes the bytes of a file: a Uint8Array, Buffer, ArrayBuffer or SharedArrayBuffer');
  const why = badname(name);
  if (why) throw new TypeError(`the program cannot take a file of that name: ${why}`);
  const given = ArrayBuffer.isView(input) ? new Uint8Array(input.buffer, input.byteOffset, input.byteLength)
                                          : new Uint8Array(input);
  const bytes = given.slice();
  const turn = queue.then(async () => {
    program = program || await start();
    return run(program, bytes.subarray(0, span), name);
  });
  queue = turn.catch(() => {});
  const { status, lines: said, after } = await turn;
  if (status !== 0) {
    const last = said[said.length - 1] || '';
    throw Object.assign(new Error(last.startsWith(name + ': ') ? last.slice(name.length + 2) : last), { lines: said });
  }
  const value = label => (said.map(line => line.split('\t')).find(f => f[1] === label) || [])[2] || null;
  const stored = value('Library CRC:'), truecrc = value('True CRC:');
  const [first, last] = changes(bytes, after);
  const kind = !truecrc ? 'notlibrary' : first < 0 ? 'right' : 'corrected';
  const before = first < 0 ? null : bytes.slice(first, last + 1), changed = first < 0 ? null : after.slice(first, last + 1);
  if (changed) bytes.set(changed, first);
  return { kind, stored, truecrc, bytes, lines: said, at: first < 0 ? null : first, before, after: changed };
}
