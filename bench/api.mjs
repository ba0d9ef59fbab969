// The JavaScript API's figures, for bench/api.sh: node api.mjs WHAT VEXSUM.MJS [FILE...]
//   warm FILE...   the median of a warm check() on each file, in ms
//   first FILE     the import, then the first check(), in ms
//   crowd FILE     5,000 calls at once: their time, and how far the peak
//                  resident memory rose above the process's before them
//   big MB         the peak resident memory of one check() on an input of
//                  MB megabytes (an object, then data)
import { readFileSync } from 'node:fs';
import { resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

const [what, module, ...rest] = process.argv.slice(2);
const url = pathToFileURL(resolve(module)).href;
// resident memory now and at its peak, in MB, as the system counts it
const memory = () => {
  const status = readFileSync('/proc/self/status', 'utf8');
  const kb = name => Number(new RegExp(`^${name}:\\s+(\\d+)`, 'm').exec(status)[1]);
  return { now: kb('VmRSS') / 1024, peak: kb('VmHWM') / 1024 };
};
const median = list => list.sort((a, b) => a - b)[list.length >> 1];

if (what === 'first') {
  const bytes = readFileSync(rest[0]);
  let t = performance.now();
  const { check } = await import(url);
  const imported = performance.now() - t;
  t = performance.now();
  await check(bytes);
  console.log(`import ${imported.toFixed(1)} ms, first check() ${(performance.now() - t).toFixed(1)} ms`);
} else if (what === 'warm') {
  const { check } = await import(url);
  for (const file of rest) {
    const bytes = readFileSync(file);
    for (let i = 0; i < 50; i++) await check(bytes); // warm up
    const times = [];
    // long enough to see whether a call slows down as calls go by
    for (let i = 0; i < 500; i++) {
      const t = performance.now();
      await check(bytes);
      times.push(performance.now() - t);
    }
    const first = median(times.slice(0, 100)), last = median(times.slice(-100));
    console.log(`${file.split('/').pop()} (${bytes.length} bytes): warm check() median ${median(times.slice()).toFixed(3)} ms` +
      ` (first 100 ${first.toFixed(3)} ms, last 100 ${last.toFixed(3)} ms)`);
  }
} else if (what === 'crowd') {
  const { check } = await import(url);
  const bytes = readFileSync(rest[0]);
  await check(bytes);
  const before = memory().now;
  const t = performance.now();
  const all = await Promise.all(Array.from({ length: 5000 }, () => check(bytes)));
  const took = performance.now() - t;
  console.log(`5,000 calls at once: ${(took / 1000).toFixed(2)} s, peak memory ${(memory().peak - before).toFixed(0)} MB` +
    ` above the ${before.toFixed(0)} MB before them (${all.length} results)`);
} else if (what === 'big') {
  const { check } = await import(url);
  const mb = Number(rest[0]);
  const sample = Uint8Array.from(Buffer.from('4B414C4D49522D58402BA00000000000', 'hex'));
  await check(sample);
  const before = memory().now;
  const bytes = new Uint8Array(mb * 1e6).fill(0x5A);
  bytes.set(sample);
  const r = await check(bytes);
  console.log(`a ${mb} MB input (${r.kind}): peak memory ${memory().peak.toFixed(0)} MB in all,` +
    ` ${(memory().peak - before).toFixed(0)} MB above the ${before.toFixed(0)} MB before it`);
}
