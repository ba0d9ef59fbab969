// The JavaScript API, vexsum.mjs's check, under node:test: each kind, the
// bytes changed, the file's name, the errors thrown, and the input untouched;
// with the sample maker, the largest object.
// usage: node api.mjs PATH/TO/vexsum.mjs [MKLIB]
import { execFileSync } from 'node:child_process';
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

const { check } = await import(pathToFileURL(resolve(process.argv[2])).href);
const hex = s => Uint8Array.from(s.match(/../g), h => parseInt(h, 16));
const banner = 'vexsum v' + process.env.VERSION + ' by Zarvik';

// check on a copy of the bytes, which must come back as they went in
async function checked(bytes, ...rest) {
  const kept = Uint8Array.from(new Uint8Array(bytes.buffer || bytes, bytes.byteOffset, bytes.byteLength));
  const r = await check(bytes, ...rest);
  assert.deepEqual(new Uint8Array(bytes.buffer || bytes, bytes.byteOffset, bytes.byteLength), kept, 'the input changed');
  return r;
}

const rows = [
  // name, bytes before, kind, stored, true CRC, at, before, after, bytes after
  ['odd', '4B414C4D49522D58402BA00000000000', 'corrected', '0000', '737A', 13, '000000', 'A03707',
    '4B414C4D49522D58402BA00000A03707'],
  ['odd, stored 1234', '4B414C4D49522D58402BA00000402301', 'corrected', '1234', '737A', 13, '402301', 'A03707',
    '4B414C4D49522D58402BA00000A03707'],
  ['pad bit set', '4B414C4D49522D58402BA00000A037F7', 'corrected', '737A', '737A', 15, 'F7', '07',
    '4B414C4D49522D58402BA00000A03707'],
  ['data after', '4B414C4D49522D58402BB00000210000FF99', 'corrected', '0000', '5117', 14, '0000', '1751',
    '4B414C4D49522D58402BB00000211751FF99'],
  ['already right', '4B414C4D49522D58402BB00000211751', 'right', '5117', '5117', null, null, null,
    '4B414C4D49522D58402BB00000211751'],
  ['no header', '5B414C4D49522D58402BA00000000000', 'notlibrary', null, null, null, null, null,
    '5B414C4D49522D58402BA00000000000'],
];
for (const [name, before, kind, stored, truecrc, at, was, now, after] of rows) {
  test(name, async () => {
    const r = await checked(hex(before));
    assert.deepEqual({ kind: r.kind, stored: r.stored, truecrc: r.truecrc, at: r.at },
                     { kind, stored, truecrc, at });
    assert.deepEqual(r.before, was && hex(was));
    assert.deepEqual(r.after, now && hex(now));
    assert.deepEqual(r.bytes, hex(after));
    assert.equal(r.lines[0], banner);
    assert.deepEqual(r.lines.slice(1), kind === 'notlibrary' ? ['Not a library object, ignoring CRC fill.']
                                                             : [`\tLibrary CRC:\t${stored}`, `\tTrue CRC:\t${truecrc}`]);
  });
}

test('an empty file is no library object', async () => {
  assert.equal((await checked(new Uint8Array(0))).kind, 'notlibrary');
});

test('a Buffer, an ArrayBuffer and a view into a larger buffer', async () => {
  const odd = '4B414C4D49522D58402BA00000000000';
  assert.equal((await checked(Buffer.from(odd, 'hex'))).truecrc, '737A');
  assert.equal((await checked(hex(odd).buffer)).truecrc, '737A');
  const around = hex('FFFF' + odd + 'EEEE');
  const r = await checked(around.subarray(2, 2 + 16));
  assert.deepEqual(r.bytes, hex('4B414C4D49522D58402BA00000A03707'));
});

test('the program runs on the file given, under its name', async () => {
  // any name, an option's too, is the file's, and the run the same
  const odd = hex('4B414C4D49522D58402BA00000000000'), plain = await checked(odd);
  for (const name of ['mine.lib', '-v', 'even-日本.lib'])
    assert.deepEqual(await checked(odd, name), plain, name);
});

test('a bad input or name is a TypeError that says why', async () => {
  const odd = hex('4B414C4D49522D58402BA00000000000');
  for (const [name, why] of [['a/b.lib', 'it holds a slash'], ['', 'names no file'], ['..', 'names no file'],
                             ['a\0b', 'NUL'], ['é'.repeat(128), 'longer than 255 bytes'], [7, 'not a string']])
    await assert.rejects(check(odd, name), e => e instanceof TypeError && !e.lines &&
      e.message.startsWith('the program cannot take a file of that name: ') && e.message.includes(why), String(name));
  assert.equal((await checked(odd, 'é'.repeat(127) + 'a')).kind, 'corrected');
  await assert.rejects(check('4B414C4D'), TypeError);
  await assert.rejects(check(16), TypeError);
});

test('a SharedArrayBuffer, and a view into one', async () => {
  const shared = new SharedArrayBuffer(16);
  new Uint8Array(shared).set(hex('4B414C4D49522D58402BA00000000000'));
  assert.equal((await checked(shared)).truecrc, '737A');
  const r = await checked(new Uint8Array(shared, 10, 6));
  assert.equal(r.kind, 'notlibrary');
});

test('the input is read at the call: a change after it is not seen', async () => {
  const bytes = hex('4B414C4D49522D58402BA00000000000');
  const pending = check(bytes);
  bytes.fill(0);
  assert.deepEqual((await pending).bytes, hex('4B414C4D49522D58402BA00000A03707'));
});

// each call starts from the program's first state, however the last ended
// and however many wait: every row at once, three times over, in one queue
test('calls at once, each as if alone', async () => {
  const all = await Promise.all([...rows, ...rows, ...rows].map(([, before]) => checked(hex(before))));
  all.forEach((r, i) => {
    const [name, , kind, stored, truecrc, , , , after] = rows[i % rows.length];
    assert.deepEqual([r.kind, r.stored, r.truecrc, r.bytes, r.lines.length], [kind, stored, truecrc, hex(after),
      kind === 'notlibrary' ? 2 : 3], name);
  });
});

// the program reads the object's span and one byte more: the rest of a
// longer file comes back as it was, after the corrected object
test('a file longer than an object can span', async () => {
  const bytes = new Uint8Array(600000).fill(0x5A);
  bytes.set(hex('4B414C4D49522D58402BA00000000000'));
  const r = await checked(bytes);
  assert.deepEqual([r.kind, r.at, r.bytes.length], ['corrected', 13, 600000]);
  assert.deepEqual(r.bytes.subarray(0, 16), hex('4B414C4D49522D58402BA00000A03707'));
  assert.ok(r.bytes.subarray(16).every(b => b === 0x5A), 'the rest of the file changed');
});

// a run that exits leaves its frames on the program's stack, and each
// takes the name there: 20,000 runs with the longest name would fill its
// 5 MB many times over unless each starts with the stack as it was
test('20,000 runs in a row, the last as the first', async () => {
  const odd = hex('4B414C4D49522D58402BA00000000000'), name = 'x'.repeat(251) + '.lib';
  const first = await checked(odd, name);
  let last;
  for (let i = 0; i < 20000; i++) last = await check(odd, name);
  assert.deepEqual([last.kind, last.truecrc, last.bytes, last.lines], [first.kind, first.truecrc, first.bytes, first.lines]);
});

// the largest object whose field ends mid-byte, its pad half-byte set and
// one byte of data after it: the program must be handed that byte too, or
// it takes the object for the file's end and clears the pad
test('the largest object, with data after it', { skip: !process.argv[3] && 'no sample maker given' }, async () => {
  const made = execFileSync(process.argv[3], ['-', '0000'], { input: '0'.repeat(1048565), maxBuffer: 1 << 21 });
  assert.equal(made.length, 524298);
  const bytes = new Uint8Array(made.length + 1);
  bytes.set(made);
  bytes[made.length - 1] |= 0xF0;
  bytes[made.length] = 0x99;
  const r = await checked(bytes);
  assert.deepEqual([r.kind, r.stored, r.bytes.length], ['corrected', '0000', 524299]);
  assert.deepEqual([r.bytes[524297] >> 4, r.bytes[524298]], [0xF, 0x99], 'the pad or the data after it changed');
});
