// The JavaScript API, vexsum.mjs's check, under node:test: each kind, the
// bytes changed, the file's name, the errors thrown, and the input untouched.
// usage: node api.mjs PATH/TO/vexsum.mjs
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
  // a run that fails says why, and its lines name the file (a name in
  // the program's own /dev, which the program cannot seek)
  await assert.rejects(check(odd, '/dev/null'), e => {
    assert.equal(e.message, 'Invalid seek');
    assert.deepEqual(e.lines, [banner, '/dev/null: Invalid seek']);
    return true;
  });
});

test('errors are thrown as Error objects', async () => {
  await assert.rejects(check(hex('4B414C4D49522D58402BA00000000000'), 'a/b.lib'),
                       { name: 'Error', message: 'the program cannot take a file of that name' });
  await assert.rejects(check('4B414C4D'), TypeError);
  await assert.rejects(check(16), TypeError);
});
