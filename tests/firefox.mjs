// The page in Firefox ESR (Debian's firefox-esr), driven by puppeteer-core
// over WebDriver BiDi with no browser of its own: served on 127.0.0.1 with
// its policy as a header, and opened from disk. A file goes in through the
// page's own input; its verdict must be the page's words, and its download
// and the zip of every corrected file the console program's bytes; a long
// batch with its actions in view and a quiet live region; a file changed
// after its verdict named, never downloaded or zipped; paste. Around
// the page: the manual (a language, the way back, headings as headings),
// no request for /favicon.ico, index.html the page at a folder's root, the
// manifest's home on the system, and no error in the console.
// usage: node firefox.mjs WEB-BUILD NATIVE-VEXSUM   (77: firefox-esr or npm missing)
import { spawnSync } from 'node:child_process';
import { copyFileSync, existsSync, mkdirSync, mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { basename, extname, join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

const [build, vexsum] = process.argv.slice(2).map(p => resolve(p));
const firefox = '/usr/bin/firefox-esr';
const puppeteerversion = '25.19.0';
const skip = why => { console.log(`skip firefox: ${why}`); process.exit(77); };
if (!existsSync(firefox)) skip(`${firefox} is not installed (apt-get install firefox-esr)`);

// puppeteer-core from the npm registry, pinned, into the build's folder;
// it downloads no browser of its own
const prefix = join(build, 'firefox');
const require = createRequire(join(prefix, 'here.js'));
try {
  require.resolve('puppeteer-core');
} catch {
  const npm = spawnSync('npm', ['install', '--prefix', prefix, '--no-audit', '--no-fund', '--silent',
    '--fetch-retries=1', '--fetch-timeout=30000', `puppeteer-core@${puppeteerversion}`],
  { stdio: ['ignore', 'inherit', 'inherit'], timeout: 120000 });
  if (npm.error) skip(`npm could not run (${npm.error.code})`);
  if (npm.status !== 0) skip(`npm could not install puppeteer-core@${puppeteerversion}`);
}
const puppeteer = (await import(pathToFileURL(require.resolve('puppeteer-core')))).default;

let passed = 0, failed = 0;
function check(name, ok, why) {
  if (ok) passed++;
  else {
    failed++;
    console.log(`FAIL ${name}: ${typeof why === 'string' ? why : JSON.stringify(why)}`);
  }
}

const work = mkdtempSync(join(tmpdir(), 'vexsum-firefox-'));
const downloads = join(work, 'downloads');

// what the console program makes of a copy of the file: its bytes after
function console_(path) {
  const dir = join(work, 'console');
  mkdirSync(dir, { recursive: true });
  const copy = join(dir, basename(path));
  copyFileSync(path, copy);
  spawnSync(vexsum, [basename(copy)], { cwd: dir, stdio: 'ignore' });
  return readFileSync(copy);
}

function make(name, bytes) {
  const path = join(work, 'in', name);
  mkdirSync(join(path, '..'), { recursive: true });
  writeFileSync(path, bytes);
  return path;
}
const hex = h => Buffer.from(h, 'hex');
// an object with a wrong CRC in each alignment, one already right, a text file
const odd = make('odd.lib', hex('4B414C4D49522D58402BA00000000000'));
const even = make('even.lib', hex('4B414C4D49522D58402BB00000210000'));
const right = make('right.lib', console_(odd));
const notes = make('notes.txt', Buffer.from('Not a library object at all.\n'));
const SAYS = {
  'odd.lib': 'CRC corrected: was 0000, now 737A',
  'even.lib': 'CRC corrected: was 0000, now 5117',
  'right.lib': 'CRC already right (737A): the file needs no change',
  'notes.txt': 'Not a library object: left unchanged',
};

// the build's folder over HTTP with the page's policy as a header; every
// path asked for is kept, and the server can go away to try offline
const policy = readFileSync(join(build, 'vexsum.html'), 'utf8').match(/Content-Security-Policy"\s+content="([^"]*)"/)[1];
const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript',
  '.css': 'text/css', '.svg': 'image/svg+xml', '.png': 'image/png', '.webmanifest': 'application/manifest+json' };
const asked = [];
const server = createServer((req, res) => {
  const path = decodeURIComponent(new URL(req.url, 'http://here').pathname);
  asked.push(path);
  let file = join(build, path);
  if (path.endsWith('/')) file = join(file, 'index.html');
  if (!file.startsWith(build) || !existsSync(file) || !extname(file)) {
    res.writeHead(404).end();
    return;
  }
  res.writeHead(200, { 'Content-Type': types[extname(file)] || 'application/octet-stream',
    'Content-Security-Policy': policy });
  res.end(readFileSync(file));
});
await new Promise(done => server.listen(0, '127.0.0.1', done));
const served = `http://127.0.0.1:${server.address().port}/`;

const browser = await puppeteer.launch({
  browser: 'firefox', executablePath: firefox, headless: true,
  extraPrefsFirefox: {
    'browser.download.dir': downloads, 'browser.download.folderList': 2, 'browser.download.useDownloadDir': true,
    'browser.download.always_ask_before_handling_new_types': false,
    'browser.helperApps.neverAsk.saveToDisk': 'application/octet-stream,application/zip',
  },
});
const page = await browser.newPage();
const errors = [];
page.on('console', m => { if (m.type() === 'error') errors.push(m.text()); });
page.on('pageerror', e => errors.push(String(e)));

const status = () => page.$eval('#status', e => e.textContent);
const ready = () => page.waitForFunction(() => document.getElementById('status').textContent === 'Ready.',
  { timeout: 30000 });
const tally = /^\d+ corrected, \d+ already right, \d+ not (a library object|library objects), \d+ errors?$/;

// give the page these files through its input; the first n cards, newest first
async function give(paths) {
  const before = await page.$$eval('#results li', l => l.length);
  await (await page.$('#files')).uploadFile(...paths);
  await page.waitForFunction((n, t) => document.querySelectorAll('#results li').length === n &&
    new RegExp(t).test(document.getElementById('status').textContent), { timeout: 60000 },
  before + paths.length, tally.source);
  return page.$$eval('#results li', (l, n) => l.slice(0, n).map(li => ({
    name: li.querySelector('h2').textContent, verdict: li.querySelector('.verdict').textContent,
    download: li.querySelector('a.download') ? li.querySelector('a.download').download : null })), paths.length);
}

// run the script (a click) and wait for the file NAME in the downloads
async function download(click, name) {
  rmSync(downloads, { recursive: true, force: true });
  mkdirSync(downloads);
  await page.evaluate(click);
  const path = join(downloads, name);
  for (let i = 0; i < 600; i++) {
    const there = readdirSync(downloads);
    if (there.includes(name) && !there.some(f => f.endsWith('.part'))) return readFileSync(path);
    await new Promise(done => setTimeout(done, 100));
  }
  return null;
}

// the members of a zip with nothing compressed (the page stores them), by name
function members(zip) {
  const out = {};
  for (let at = 0; zip.readUInt32LE(at) === 0x04034b50;) {
    const flags = zip.readUInt16LE(at + 6), size = zip.readUInt32LE(at + 18);
    const namelength = zip.readUInt16LE(at + 26), extra = zip.readUInt16LE(at + 28);
    const name = zip.toString('utf8', at + 30, at + 30 + namelength);
    const start = at + 30 + namelength + extra;
    // a streamed member says its size after its data
    let end = start + size;
    if (flags & 8) end = zip.indexOf(Buffer.from([0x50, 0x4b, 0x07, 0x08]), start);
    out[name] = zip.subarray(start, end);
    at = flags & 8 ? end + 16 : end;
  }
  return out;
}

// the main path, served and from disk: each file's verdict, a corrected
// file's download and the zip of both, byte for byte the console's
async function mainpath(where, url) {
  errors.length = 0;
  await page.goto(url);
  await ready();
  const cards = await give([odd, even, right, notes]);
  // (a batch keeps its own order, above the batches before it)
  const names = cards.map(c => c.name);
  check(`${where}: cards`, names.join() === 'odd.lib,even.lib,right.lib,notes.txt', names);
  for (const c of cards) {
    check(`${where}: ${c.name} verdict`, c.verdict === SAYS[c.name], `${c.verdict}, want ${SAYS[c.name]}`);
    check(`${where}: ${c.name} download`, (c.download !== null) === c.verdict.startsWith('CRC corrected'), c);
  }
  check(`${where}: tally`, await status() === '2 corrected, 1 already right, 1 not a library object, 0 errors',
    await status());
  for (const [index, path] of [[0, odd], [1, even]]) {
    const got = await download(`document.querySelectorAll('#results li')[${index}].querySelector('a.download').click()`,
      basename(path));
    check(`${where}: ${basename(path)} downloaded byte for byte`, got && got.equals(console_(path)),
      got ? `${got.length} bytes differ from the console's` : 'no download');
  }
  const zip = await download("document.getElementById('zipall').click()", 'vexsum-corrected.zip');
  const held = zip ? members(zip) : {};
  check(`${where}: zip`, zip && Object.keys(held).join() === 'odd.lib,even.lib' &&
    held['odd.lib'].equals(console_(odd)) && held['even.lib'].equals(console_(even)),
  zip ? Object.keys(held) : 'no zip');
  check(`${where}: no console errors`, errors.length === 0, errors);
}

// a long batch at a phone's width, with the list scrolled to its end: the
// tally and the batch's actions in view; the files that need attention
// folded after a few; a screen reader told of the start and the tally alone
async function longbatch() {
  await page.setViewport({ width: 375, height: 800 });
  await page.goto(served + 'vexsum.html');
  await ready();
  await page.evaluate(() => {
    window.heard = [];
    const said = document.getElementById('said');
    new MutationObserver(() => window.heard.push(said.textContent))
      .observe(said, { childList: true, characterData: true, subtree: true });
  });
  const paths = Array.from({ length: 60 }, (_, i) => make(`long/${String(i).padStart(3, '0')}${i % 2 ? '.txt' : '.lib'}`,
    readFileSync(i % 2 ? notes : odd)));
  await give(paths);
  await page.evaluate(() => window.scrollTo(0, document.documentElement.scrollHeight));
  for (const id of ['status', 'zipall', 'filter', 'clear']) {
    const [top, bottom, height] = await page.$eval(`#${id}`, e => {
      const r = e.getBoundingClientRect();
      return [r.top, r.bottom, innerHeight];
    });
    check(`long batch: ${id} in view`, top >= 0 && bottom <= height, `${top}-${bottom} of ${height}`);
  }
  const attention = await page.$eval('#attention', p => [p.querySelectorAll('a').length, p.textContent]);
  check('long batch: attention folded', attention[0] === 5 && attention[1].endsWith(', and 25 more.'), attention);
  const heard = await page.evaluate(() => window.heard);
  check('long batch: said', heard.length >= 2 && heard[0] === 'Checking 60 files' &&
    heard.at(-1) === await status() && heard.slice(1, -1).every(w => /^Working: \d+ of 60$/.test(w)), heard);
  await page.setViewport({ width: 1280, height: 800 });
}

// a file that changed or went after its verdict: its card says so in the
// page's words, it has no download, and the zip leaves it out and names it.
// Firefox reads a file as it is now (Chromium refuses the read of a file
// changed since it was chosen), so the page reads the head again and
// compares; a removed file fails either way.
async function changedafter() {
  const words = path => `${basename(path)} changed after it was checked: choose it again`;
  for (const how of ['download', 'zip']) {
    await page.goto(served + 'vexsum.html');
    await ready();
    const [a, b, c] = ['a', 'b', 'c'].map(k => make(`later-${how}-${k}.lib`, readFileSync(odd)));
    await give([a, b, c]);
    writeFileSync(a, hex('4B414C4D49522D58402BA000000000F0'));
    rmSync(b);
    if (how === 'download') {
      await page.evaluate(() => document.querySelectorAll('#results li').forEach((li, i) => {
        if (i < 2) li.querySelector('a.download').click();
      }));
      await page.waitForFunction(() => document.querySelectorAll('#results .verdict.changed').length === 2,
        { timeout: 10000 }).catch(() => {});
      const shown = await page.$$eval('#results li', l => l.map(li => [li.textContent, !!li.querySelector('a.download')]));
      check('changed: download', shown[0][0].includes(words(a)) && shown[1][0].includes(words(b)) &&
        !shown[0][1] && !shown[1][1] && shown[2][1], shown);
    } else {
      const zip = await download("document.getElementById('zipall').click()", 'vexsum-corrected.zip');
      const held = zip ? members(zip) : {};
      check('changed: zip', Object.keys(held).join() === basename(c) && held[basename(c)].equals(console_(c)),
        Object.keys(held));
      const want = `Left out of vexsum-corrected.zip: ${words(a)}; ${words(b)}.`;
      check('changed: zip named', await status() === want, `${await status()}, want ${want}`);
    }
    const text = await page.$eval('body', e => e.textContent);
    check(`changed: no raw browser text (${how})`, !/operation was aborted|NotReadableError|NotFoundError/.test(text), text);
  }
}

// files pasted anywhere on the page join the list
async function pasted() {
  await page.goto(served + 'vexsum.html');
  await ready();
  await page.evaluate(hexed => {
    const list = new DataTransfer();
    list.items.add(new File([Uint8Array.from(hexed.match(/../g), h => parseInt(h, 16))], 'pasted.lib'));
    // (Firefox gives a script's paste event a copy of its data without the
    // files: the event is given the list itself)
    const paste = new ClipboardEvent('paste', { bubbles: true });
    Object.defineProperty(paste, 'clipboardData', { value: list });
    document.querySelector('h1').dispatchEvent(paste);
  }, readFileSync(odd).toString('hex'));
  await page.waitForFunction(t => new RegExp(t).test(document.getElementById('status').textContent),
    { timeout: 30000 }, tally.source).catch(() => {});
  const shown = await page.$$eval('#results li', l => l.map(li => [li.querySelector('h2').textContent,
    li.querySelector('.verdict').textContent]));
  check('paste', JSON.stringify(shown) === JSON.stringify([['pasted.lib', SAYS['odd.lib']]]), shown);
}

try {
  await mainpath('served', served + 'vexsum.html');
  await mainpath('from disk', pathToFileURL(join(build, 'vexsum.html')).href);
  await longbatch();
  await changedafter();
  await pasted();

  // the page's description, and its manifest: an id, .lib files handed to
  // it by the system, one window for them, a splash that is no white flash
  await page.goto(served + 'vexsum.html');
  await ready();
  const description = await page.$eval('meta[name=description]', m => m.content).catch(() => '');
  check('description', description.length > 50, description);
  const manifest = JSON.parse(readFileSync(join(build, 'vexsum.webmanifest'), 'utf8'));
  check('manifest id', manifest.id === 'vexsum.html', manifest.id);
  const handles = (manifest.file_handlers || []).flatMap(h => Object.values(h.accept).flat());
  check('manifest file handlers', handles.includes('.lib') && manifest.file_handlers.every(h => h.action === 'vexsum.html'),
    manifest.file_handlers);
  check('manifest launch handler', manifest.launch_handler && manifest.launch_handler.client_mode === 'focus-existing',
    manifest.launch_handler);
  check('manifest background', manifest.background_color !== '#ffffff', manifest.background_color);

  // the manual: English, its way back to the page, the page's icon, and
  // headings that look like headings rather than large links
  await page.click('footer a[href="manual.html"]');
  await page.waitForFunction(() => location.pathname.endsWith('/manual.html') && document.readyState === 'complete');
  const manual = await page.evaluate(() => {
    const h = document.querySelector('h1.Sh'), a = h.querySelector('a'), body = getComputedStyle(document.body);
    return { lang: document.documentElement.lang, icon: document.querySelector('link[rel=icon]')?.getAttribute('href'),
      back: document.querySelector('nav.back a')?.getAttribute('href'), size: parseFloat(getComputedStyle(h).fontSize),
      body: parseFloat(body.fontSize), line: getComputedStyle(a).textDecorationLine, colour: getComputedStyle(a).color,
      text: body.color };
  });
  check('manual lang', manual.lang === 'en', manual.lang);
  check('manual icon', manual.icon === 'icon.svg', manual.icon);
  check('manual heading', manual.line === 'none' && manual.colour === manual.text && manual.size <= 1.3 * manual.body,
    manual);
  await page.click('nav.back a');
  await page.waitForFunction(() => location.pathname.endsWith('/vexsum.html'));
  await ready();
  check('manual back', true);
  check('no favicon.ico', !asked.includes('/favicon.ico'), asked.filter(p => p.includes('favicon')));

  // the folder's root is the page, kept for offline with the page's own
  // files by a visit to the page alone, and opened offline
  const kept = await page.evaluate(() => Promise.race([
    navigator.serviceWorker.ready.then(() => caches.keys())
      .then(names => caches.open(names.find(name => name.startsWith('vexsum-')))).then(c => c.keys())
      .then(k => k.map(r => new URL(r.url).pathname)),
    new Promise(done => setTimeout(() => done('no service worker'), 10000))]));
  check('index.html kept', Array.isArray(kept) && kept.includes('/index.html'), kept);
  await page.goto(served);
  await ready();
  check('index.html', await page.title() === 'vexsum: fill in the CRC of calculator library objects', await page.title());
  server.closeAllConnections();
  await new Promise(done => server.close(done));
  try {
    await page.reload();
    await ready();
    const [card] = await give([odd]);
    check('index.html offline', card.verdict === SAYS['odd.lib'], card.verdict);
  } catch (e) {
    check('index.html offline', false, `the page did not come back with its server gone: ${e.message}`);
  }
} catch (e) {
  check('firefox', false, e.stack || String(e));
} finally {
  await browser.close();
  server.closeAllConnections();
  server.close();
  rmSync(work, { recursive: true, force: true });
}
console.log(`firefox: ${passed} passed, ${failed} failed`);
process.exit(failed || !passed ? 1 : 0);
