#!/usr/bin/env python3
"""The page in a real browser: headless Chromium, the page served on
127.0.0.1 with its Content-Security-Policy as a header, and opened from
disk; files given through its own file input. For each file the page must
say what happened in words (corrected, already right, not a library
object), show the bytes changed, offer a corrected file alone for download
with the console program's bytes, and keep the console's lines. A failing
file must not stop a batch; a 200 MB file must not freeze the page; every
state true: Clear only with something to clear, ending a batch mid-way; a
pick joining a running batch; downloads after Back; the page's own reasons
for a file changed or removed since it was chosen; a folder dropped anywhere
walked whole; one zip of every corrected file, streamed to disk through
the service worker when served and a blob from disk; a line with scripts
off; a phone's button centred; axe-core
must find nothing serious in either colour scheme at a desk's or a phone's
width. The npm package's module, vexsum.mjs, must run in the browser too.
Each check is named and reported on its own line, and runs whatever the
others did; WEBCHECKS=REGEX in the environment runs only the checks whose
names it matches.
usage: web.py WEB-BUILD NATIVE-VEXSUM NATIVE-MKLIB GOLDEN-TABLE AXE.JS|- [SCREENSHOT.png]"""
import base64
import hashlib
import io
import os
import random
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
import zipfile

from selenium.common.exceptions import TimeoutException
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

from served import chromium, serve

build, vexsum, mklib, golden, axe = sys.argv[1:6]
screenshot = sys.argv[6] if len(sys.argv) > 6 else None
work = tempfile.mkdtemp(prefix="vexsum-web-")


# The checks: a table of named functions, each run on its own with its own
# time limit, each reported on its own line in the harness's words ("ok
# NAME", "FAIL NAME: WHY", "web: skipped: NAME: WHY"); one that fails or
# runs out of time does not stop the rest. Within a check, expect() notes
# each thing wrong and the check goes on.
checks = []  # (name, function, seconds)
problems = []  # what the check that runs found wrong


def named(name, seconds=120):
    def add(function):
        checks.append((name, function, seconds))
        return function
    return add


def expect(ok, why):
    if not ok:
        problems.append(str(why))


class Skip(Exception):
    """A check that cannot run here, and why."""


class Timeout(BaseException):
    """A check out of time (past any library's except Exception)."""


def outoftime(*_):
    raise Timeout()


def console(path):
    """What the console program does with a copy of the file: its lines,
    standard error and output in the order written, status, bytes after."""
    copy = os.path.join(work, "console", os.path.basename(path))
    os.makedirs(os.path.dirname(copy), exist_ok=True)
    shutil.copyfile(path, copy)
    run = subprocess.run([vexsum, os.path.basename(copy)], cwd=os.path.dirname(copy),
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
    with open(copy, "rb") as f:
        after = f.read()
    return run.stdout.decode().splitlines(), run.returncode, after


# what the page must say of each file, in its own words: the verdict and
# the bytes changed (None: none); written out, so that a page that misreads
# the program cannot agree with a test that misreads it the same way
CORRECTED = "CRC corrected: was 0000, now 737A", "CRC corrected: was 0000, now 5117"
RIGHT = "CRC already right (737A): the file needs no change", "CRC already right (5117): the file needs no change"
REFUSED = "Not a library object: left unchanged"
SAYS = {
    "odd.lib": (CORRECTED[0], "at byte 13: 00 00 00 → A0 37 07"),
    "odd-pad-set.lib": (CORRECTED[0], "at byte 13: 00 00 F0 → A0 37 07"),
    "odd-stored-1234.lib": ("CRC corrected: was 1234, now 737A", "at byte 13: 40 23 01 → A0 37 07"),
    "odd-already-right.lib": (RIGHT[0], None),
    "odd-right-pad-set.lib": ("CRC already right (737A); the unused half byte after it is now 0",
                              "at byte 15: F7 → 07"),
    "odd-eighth-byte-E.lib": (CORRECTED[0], "at byte 13: 00 00 00 → A0 37 07"),
    "odd-data-after.lib": (CORRECTED[0], "at byte 13: 00 00 F0 → A0 37 F7"),
    "even.lib": (CORRECTED[1], "at byte 14: 00 00 → 17 51"),
    "even-already-right.lib": (RIGHT[1], None),
    "even-日本.lib.lib": (CORRECTED[1], "at byte 14: 00 00 → 17 51"),
    "even-data-after.lib": (CORRECTED[1], "at byte 14: 00 00 → 17 51"),
    "data-after.lib": (CORRECTED[0], "at byte 13: 00 00 F0 → A0 37 F7"),
    "cut.lib": (REFUSED, None),
    "notes.txt": (REFUSED, None),
    "largest.lib": ("CRC corrected: was 0000, now F57A", "at byte 524296: 00 00 → 7A F5"),
    "largest-odd-data-after.lib": ("CRC corrected: was 0000, now 2AFC", "at byte 524295: 04 00 F0 → C4 AF F2"),
}


# the files: the golden table's library rows, in both alignments, data after
# an object, a cut object, a text file, the largest object
files = []


def make(name, data, listed=True):
    path = os.path.join(work, "in", name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    if listed:
        files.append(path)
    return path


with open(golden) as f:
    for line in f:
        cols = [c.strip() for c in line.split("|")]
        if len(cols) == 7 and cols[1] == "FILE" and "Library CRC" in cols[4]:
            make(cols[0] + ".lib", bytes.fromhex(cols[2]))
make("data-after.lib", bytes.fromhex("4B414C4D49522D58402BA000000000F0") + b"more data")
make("cut.lib", bytes.fromhex("4B414C4D49522D58402BA000000000"))
make("notes.txt", b"Not a library object at all.\n")
random.seed(1)
body = "".join(random.choice("0123456789ABCDEF") for _ in range(0xFFFFF - 9))
largest = subprocess.run([mklib, "-", "0000"], input=body.encode(), stdout=subprocess.PIPE, check=True).stdout
make("largest.lib", largest)
# the largest object with a set pad bit after it can't be: an odd one just
# below it, with data after it that the page's copy must see
odd = subprocess.run([mklib, "-", "0000"], input=body[:-1].encode(), stdout=subprocess.PIPE, check=True).stdout
make("largest-odd-data-after.lib", odd[:-1] + bytes([odd[-1] | 0xF0]) + b"after")


# a hundred small objects, for the batch's states and the zip
many = []
for i in range(100):
    hexbody = "".join(random.choice("0123456789ABCDEF") for _ in range(random.randrange(200, 2000)))
    many.append(make(f"many/{i:03d}.lib", subprocess.run([mklib, hexbody, "0000"], stdout=subprocess.PIPE,
                                                        check=True).stdout, listed=False))
with open(os.path.join(os.path.dirname(__file__), "..", "examples", "wrongcrc.lib"), "rb") as f:
    sample = f.read()


def infiles(*ends):
    """The files made above whose names end so, in the order given."""
    return [p for end in ends for p in files if p.endswith("/" + end)]


notes, = infiles("notes.txt")

server, folder = serve(build)
url = folder + "vexsum.html"
browser = None


def start():
    global browser
    browser = chromium("--enable-precise-memory-info", logs=True)
    browser.set_script_timeout(120)


def ready():
    WebDriverWait(browser, 30).until(lambda b: b.find_element(By.ID, "status").text == "Ready.")


def opened(address=None):
    """The page, loaded afresh and ready; how long that took, in ms."""
    begun = time.monotonic()
    browser.get(address or url)
    ready()
    return 1000 * (time.monotonic() - begun)


def tally(b):
    return re.fullmatch(r"\d+ corrected, \d+ already right, \d+ not (a library object|library objects), \d+ errors?",
                        b.find_element(By.ID, "status").text)


def cards():
    return len(browser.find_elements(By.CSS_SELECTOR, "#results li"))


def status():
    return browser.find_element(By.ID, "status").text


def said():
    """What the live region says now (it is unseen)."""
    return browser.execute_script("return document.getElementById('said').textContent")


# (a card's lines are made when they are unfolded: each is unfolded here)
CARDS = """
    const n = arguments[0], done = arguments[arguments.length - 1];
    const items = Array.from(document.querySelectorAll('#results li')).slice(0, n);
    const folded = items.map(li => !!li.querySelector('details:not([open])'));
    items.forEach(li => { const d = li.querySelector('details'); if (d) d.open = true; });
    const read = () => done(items.map((li, i) => {
      const a = li.querySelector('a.download'), text = s => { const e = li.querySelector(s); return e ? e.textContent : null; };
      return { name: text('h2'), lines: text('pre'), verdict: text('.verdict'), bytes_: text('.bytes'),
               download: a ? a.download : null, label: a ? a.textContent : null, folded: folded[i] };
    }));
    const wait = tries => items.every(li => !li.querySelector('details') || li.querySelector('details pre')) || !tries
      ? read() : setTimeout(() => wait(tries - 1), 10);
    wait(200);"""
downloads = os.path.join(work, "downloads")


def landing():
    """An empty folder for what the browser downloads next."""
    shutil.rmtree(downloads, ignore_errors=True)
    os.makedirs(downloads)
    browser.execute_cdp_cmd("Browser.setDownloadBehavior", {"behavior": "allow", "downloadPath": downloads})


def landed(path, seconds):
    """Waits until the download is whole at PATH."""
    WebDriverWait(browser, seconds).until(lambda b: os.path.exists(path) and not any(
        f.endswith(".crdownload") for f in os.listdir(downloads)))


def download(index):
    """Click the download of the card at index (0 the newest) and wait for
    the file; its bytes. A click, as a person would: the page's policy lets
    no script fetch it."""
    landing()
    name = browser.execute_script(
        "const a = document.querySelectorAll('#results li')[arguments[0]].querySelector('a.download');"
        " a.click(); return a.download;", index)
    path = os.path.join(downloads, name)
    landed(path, 60)
    with open(path, "rb") as f:
        return f.read()


def downloadall():
    """Click "Download all corrected" and wait for the zip; its path. Each
    blob the page makes meanwhile is in window.made, by its type."""
    landing()
    browser.execute_script("""window.made = []; const make = URL.createObjectURL;
        URL.createObjectURL = b => { window.made.push(b.type); return make(b); };""")
    browser.find_element(By.ID, "zipall").click()
    path = os.path.join(downloads, "vexsum-corrected.zip")
    landed(path, 120)
    return path


def give(paths, downloaded=True, timeout=60):
    """Give the page these files at once; what it shows for each, in order,
    with the bytes of each download."""
    before = cards()
    browser.find_element(By.ID, "files").send_keys("\n".join(paths))
    WebDriverWait(browser, timeout).until(lambda b: cards() == before + len(paths) and tally(b))
    shown = browser.execute_async_script(CARDS, len(paths))
    for i, card in enumerate(shown):
        card["bytes"] = download(i) if card["download"] and downloaded else None
    return shown


def givebytes(named_hex):
    """Give the page files made in it from [name, hex] pairs, through its input."""
    browser.execute_script("""
        const list = new DataTransfer();
        for (const [name, hex] of arguments[0])
          list.items.add(new File([Uint8Array.from(hex.match(/../g), h => parseInt(h, 16))], name));
        const input = document.getElementById('files');
        input.files = list.files;
        input.dispatchEvent(new Event('change'));""", named_hex)


def compare(path, shown):
    name = os.path.basename(path)
    lines, _, after = console(path)
    words, changed = SAYS[name]
    expect(shown["name"] == name, f"name {shown['name']!r}")
    expect(shown["lines"].split("\n") == lines, f"lines {shown['lines']!r}, console {lines!r}")
    expect(shown["folded"], f"{name}: the console's lines are not folded away")
    expect(shown["verdict"] == words, f"{name}: verdict {shown['verdict']!r}, want {words!r}")
    expect(shown["bytes_"] == changed, f"{name}: bytes {shown['bytes_']!r}, want {changed!r}")
    if changed:
        expect(shown["download"] == name and shown["label"] == "Download " + name and shown["bytes"] == after,
               f"{name}: the download differs from the console program's bytes")
    else:
        expect(shown["download"] is None, f"{name}: an unchanged file offers a download")


def violations():
    """Content Security Policy reports in the browser's log since the last call."""
    return [e["message"] for e in browser.get_log("browser") if "Content Security Policy" in e["message"]]


@named("largest object made")
def largestmade():
    expect(len(largest) == 524298, f"{len(largest)} bytes")


@named("served page")
def served():
    print(f"web: served, the page was ready {opened():.0f} ms after it was asked for")
    expect(browser.find_element(By.ID, "files").is_enabled(), "the input stays disabled")
    # nothing comes from anywhere but the page's own folder
    sources = browser.execute_script("return performance.getEntriesByType('resource').map(e => e.name)")
    expect(all(s.startswith(folder) or s.startswith("data:") for s in sources), sources)
    label = browser.execute_script("return document.querySelector('label[for=files]').textContent")
    expect("Choose library files" in label, label)


def alone(path):
    opened()
    compare(path, give([path])[0])


for each in files:
    named(f"alone {os.path.basename(each)}")(lambda path=each: alone(path))


@named("five at once")
def five():
    opened()
    some = files[:5]
    for path, shown in zip(some, give(some)):
        compare(path, shown)
    words = status()
    want = f"{sum(1 for p in some if SAYS[os.path.basename(p)][1])} corrected"
    expect(words.startswith(want), f"{words!r}, want it to start {want!r}")
    expect(browser.find_element(By.ID, "said").get_attribute("aria-live") == "polite" and said() == words,
           f"the tally is not said: {said()!r}")


@named("failing file mid-batch")
def failing():
    # a file that cannot be read, in the middle of a batch: said, and the batch goes on
    opened()
    shown = browser.execute_async_script("""
        const done = arguments[arguments.length - 1];
        const bytes = hex => Uint8Array.from(hex.match(/../g), h => parseInt(h, 16));
        const list = new DataTransfer();
        list.items.add(new File([bytes(arguments[0])], 'first.lib'));
        list.items.add(new File([bytes(arguments[0])], 'a/b.lib'));
        list.items.add(new File([bytes(arguments[1])], 'last.lib'));
        const input = document.getElementById('files');
        input.files = list.files;
        input.dispatchEvent(new Event('change'));
        const wait = () => /errors?$/.test(document.getElementById('status').textContent) &&
          !document.getElementById('status').textContent.startsWith('Working')
          ? done([document.getElementById('status').textContent,
                  ...Array.from(document.querySelectorAll('#results li')).slice(0, 3).map(li => li.textContent)])
          : setTimeout(wait, 50);
        setTimeout(wait, 50);""", "4B414C4D49522D58402BA00000000000", "4B414C4D49522D58402BB00000210000")
    expect(shown[0] == "2 corrected, 0 already right, 0 not library objects, 1 error", shown[0])
    expect("Could not read a/b.lib: the program cannot take a file of that name" in shown[2], shown[2])
    expect("CRC corrected: was 0000, now 5117" in shown[3], shown[3])


@named("200 MB file", 300)
def big():
    # the object and then data; only its head is read, and the page never
    # stops for long
    opened()
    path = make("big.lib", b"", listed=False)
    with open(path, "wb") as f:
        f.write(sample)
        f.write(random.randbytes(200 * 1024 * 1024 - len(sample)))
    try:
        browser.execute_script("""
            window.pauses = [];
            new PerformanceObserver(l => window.pauses.push(...l.getEntries().map(e => e.duration)))
              .observe({ type: 'longtask' });
            window.heapbefore = performance.memory.usedJSHeapSize;""")
        begun = time.monotonic()
        give([path], downloaded=False)
        took = 1000 * (time.monotonic() - begun)
        pause, heap = browser.execute_script(
            "return [Math.max(0, ...window.pauses), performance.memory.usedJSHeapSize - window.heapbefore]")
        print(f"web: a 200 MB file took {took:.0f} ms; its longest task of 50 ms or more took {pause:.0f} ms"
              f" (0: there was none); the heap grew {heap / 1e6:.1f} MB")
        expect(pause < 200, f"the page stopped for {pause:.0f} ms")
        expect(heap < 20e6, f"the heap grew by {heap / 1e6:.1f} MB")
        after = console(path)[2]
        expect(hashlib.sha256(download(0)).digest() == hashlib.sha256(after).digest(),
               "the download differs from the console's file")
    finally:
        os.remove(path)


@named("3 GB sparse file", 180)
def sparse():
    # no library object: its head alone is read
    opened()
    path = os.path.join(work, "in", "sparse.bin")
    with open(path, "wb") as f:
        f.truncate(3 * 1024 ** 3)
    try:
        begun = time.monotonic()
        shown = give([path], downloaded=False, timeout=120)[0]
        print(f"web: a 3 GB sparse file took {1000 * (time.monotonic() - begun):.0f} ms")
        expect(shown["verdict"] == "Not a library object: left unchanged", shown["verdict"])
    finally:
        os.remove(path)


@named("largest object's time")
def largesttime():
    # through the engine (the page's holds no globals: the package's module
    # is the same), timed in the page
    opened()
    took = browser.execute_async_script("""
        const done = arguments[arguments.length - 1];
        const bytes = Uint8Array.from(atob(arguments[0]), c => c.charCodeAt(0));
        import('./npm/vexsum.mjs').then(({ check }) => {
          const begun = performance.now();
          return check(bytes, 'largest.lib').then(() => done(performance.now() - begun));
        });""",
        base64.b64encode(largest).decode())
    print(f"web: the largest object took {took:.0f} ms in the page")
    expect(took < 1000, f"{took:.0f} ms")


@named("module in the browser, and the served page's policy")
def module():
    # the npm package's module, vexsum.mjs, imported by a served page: the
    # same engine; nothing the page did broke its policy
    violations()
    opened()
    give(infiles("odd.lib"))
    said = browser.execute_async_script("""
        const done = arguments[arguments.length - 1];
        const bytes = Uint8Array.from(arguments[0].match(/../g), h => parseInt(h, 16));
        import('./npm/vexsum.mjs').then(m => m.check(bytes))
          .then(r => done([r.kind, r.stored, r.truecrc, r.at]), e => done(String(e)));""",
        "4B414C4D49522D58402BA00000000000")
    expect(said == ["corrected", "0000", "737A", 13], said)
    reports = violations()
    expect(not reports, reports)


@named("Clear")
def clearing():
    # Clear only when there is something to clear, and mid-batch it ends the
    # batch, in the first and in a later one
    opened()
    clearer = browser.find_element(By.ID, "clear")
    expect(not clearer.is_displayed(), "Clear is shown with nothing to clear")
    for which in ("first", "second"):
        if which == "second":
            give(infiles("odd.lib"), downloaded=False)
            expect(clearer.is_displayed(), "no Clear beside a card")
        before = cards()
        browser.find_element(By.ID, "files").send_keys("\n".join(many))
        # read the count and click in one task, so that no card comes between
        shown = browser.execute_async_script("""
            const [k, done] = [arguments[0], arguments[arguments.length - 1]];
            const poll = () => { const n = document.querySelectorAll('#results li').length;
              if (n >= k) { document.getElementById('clear').click(); done(n); } else setTimeout(poll, 2); };
            poll();""", before + 5) - before
        time.sleep(1.5)  # what was under way when Clear came must not come back
        want = f"Cleared; {100 - shown} files were not processed"
        expect(status() == want and cards() == 0,
               f"{which} batch: {status()!r} with {cards()} cards, want {want!r} and none")
        expect(not clearer.is_displayed(), f"{which} batch: Clear is shown with nothing to clear")
        focused = browser.execute_script("return document.activeElement.id")
        expect(focused == "files", f"{which} batch: focus on {focused!r} after Clear")


@named("pick mid-batch")
def pickmid():
    # a pick during a batch joins it: counted, and the tally covers all
    opened()
    browser.execute_script("""window.said = [];
        new MutationObserver(() => window.said.push(document.getElementById('status').textContent))
          .observe(document.getElementById('status'), { childList: true, characterData: true, subtree: true });""")
    two = infiles("odd.lib") + [notes]
    # the program is quick: a slowed processor keeps the first batch going
    # while the second pick arrives
    browser.execute_cdp_cmd("Emulation.setCPUThrottlingRate", {"rate": 8})
    try:
        browser.find_element(By.ID, "files").send_keys("\n".join(many))
        WebDriverWait(browser, 30).until(lambda b: status().startswith("Working:"))
        browser.find_element(By.ID, "files").send_keys("\n".join(two))
    finally:
        browser.execute_cdp_cmd("Emulation.setCPUThrottlingRate", {"rate": 1})
    WebDriverWait(browser, 60).until(lambda b: cards() == 102 and tally(b))
    said = browser.execute_script("return window.said")
    expect(any(re.fullmatch(r"Working: \d+ of 102", w) for w in said), said[-3:])
    counted = sum(int(n) for n in re.findall(r"\d+", status()))
    expect(counted == 102, f"{status()!r} counts {counted} of 102")
    shown = browser.execute_async_script(CARDS, 102)
    expect([c["name"] for c in shown] == [os.path.basename(p) for p in many + two], [c["name"] for c in shown[-3:]])


@named("file removed or changed after it was chosen")
def removed():
    opened()
    gone, changed = make("removed.lib", sample, listed=False), make("changed.lib", sample, listed=False)
    browser.find_element(By.ID, "files").send_keys("\n".join(many + [gone, changed]))
    os.remove(gone)
    with open(changed, "ab") as f:
        f.write(b"more")
    WebDriverWait(browser, 60).until(lambda b: cards() == 102 and tally(b))
    shown = browser.execute_async_script(CARDS, 102)[-2:]
    for path, card in zip((gone, changed), shown):
        want = f"{os.path.basename(path)} changed or was removed after it was chosen: choose it again"
        expect(card["verdict"] == want, f"{card['verdict']!r}, want {want!r}")


@named("folder dropped")
def dropped():
    # a drop anywhere in the window, not only on the box: a nested folder is
    # walked, each file under its path in it, beside a file dropped with it
    tree = os.path.join(work, "tree")
    inside = {"a.lib": many[0], "sub/b.txt": notes, "sub/deeper/c.lib": many[0]}
    for name, source in inside.items():
        os.makedirs(os.path.dirname(os.path.join(tree, name)), exist_ok=True)
        shutil.copyfile(source, os.path.join(tree, name))
    opened()
    below = browser.execute_script("window.scrollTo(0, 0); return innerHeight - 20")  # under the box
    for kind in ("dragEnter", "dragOver", "drop"):
        if kind == "drop":
            cue = browser.execute_script("return getComputedStyle(document.body, '::after').content")
            expect("Drop" in cue, f"no cue while a drag is over the window: {cue!r}")
        browser.execute_cdp_cmd("Input.dispatchDragEvent", {"type": kind, "x": 640, "y": below, "data": {
            "items": [], "files": [tree, many[1]], "dragOperationsMask": 65535}})
    WebDriverWait(browser, 30).until(lambda b: cards() == 4 and tally(b))
    shown = browser.execute_async_script(CARDS, 4)
    expect([c["name"] for c in shown] == ["tree/" + n for n in inside] + ["001.lib"], [c["name"] for c in shown])
    # (the generated objects store 0000; the console program gives the true CRC)
    fixed = lambda p: "CRC corrected: was 0000, now " + console(p)[0][-1].split("\t")[2]
    words = [fixed(many[0]), REFUSED, fixed(many[0]), fixed(many[1])]
    expect([c["verdict"] for c in shown] == words, [c["verdict"] for c in shown])
    expect(download(0) == console(many[0])[2], "the download differs from the console's file")


@named("Back and Forward")
def backforward():
    # the page comes back from the browser's cache, and its downloads still work
    opened()
    give([many[0], notes], downloaded=False)
    browser.execute_script("window.kept = true")
    browser.get(folder + "vexsum.css")
    browser.back()
    if not browser.execute_script("return window.kept === true"):
        raise Skip("the browser did not keep the page")
    expect(cards() == 2, f"{cards()} cards after Back")
    expect(download(0) == console(many[0])[2], "the download after Back differs from the console's file")


@named("a list that reads at a glance")
def glance():
    # each kind of verdict its own mark and tint; the files that need
    # attention named under the tally, each a link to its card; a filter;
    # each verdict said politely, the tally once
    opened()
    browser.execute_script("""window.heard = [];
        new MutationObserver(() => window.heard.push(document.getElementById('said').textContent))
          .observe(document.getElementById('said'), { childList: true, characterData: true, subtree: true });""")
    kinds = {"odd.lib": "odd.lib", "even-already-right.lib": "even-already-right.lib", "notes.txt": "notes.txt",
             "a/b.lib": "odd.lib"}  # each name, and the file whose bytes it gets
    with_bytes = []
    for name, source in kinds.items():
        with open(infiles(source)[0], "rb") as f:
            with_bytes.append([name, f.read().hex()])
    givebytes(with_bytes)
    WebDriverWait(browser, 30).until(lambda b: cards() == 4 and tally(b))
    looks = browser.execute_script("""
        return Array.from(document.querySelectorAll('#results li')).map(li => {
          const v = li.querySelector('.verdict');
          return [li.querySelector('h2').textContent, getComputedStyle(v, '::before').content,
                  getComputedStyle(li).backgroundColor, getComputedStyle(li).borderLeftColor, v.textContent]; });""")
    for field, what in ((1, "mark"), (2, "tint"), (3, "edge")):
        seen = [look[field] for look in looks]
        expect(len(set(seen)) == 4 and not {"none", "rgba(0, 0, 0, 0)"} & set(seen), f"each kind its own {what}: {seen}")
    expect([look[4] for look in looks] == [
        CORRECTED[0], RIGHT[1], REFUSED, "Could not read a/b.lib: the program cannot take a file of that name: it holds a slash (a file's own name, not a path)"],
        [look[4] for look in looks])
    named_ = browser.execute_script("""
        const p = document.getElementById('attention');
        return [p.hidden, p.textContent, Array.from(p.querySelectorAll('a')).map(a =>
          [a.textContent, document.querySelector(a.getAttribute('href') + ' h2').textContent])];""")
    expect(not named_[0] and named_[1] == "Not a library object: notes.txt. Error: a/b.lib."
           and named_[2] == [["notes.txt", "notes.txt"], ["a/b.lib", "a/b.lib"]], f"attention: {named_}")
    browser.find_element(By.ID, "only").click()
    visible = [e.text for e in browser.find_elements(By.CSS_SELECTOR, "#results li h2") if e.is_displayed()]
    expect(visible == ["odd.lib", "notes.txt", "a/b.lib"], f"filter: {visible}")
    browser.find_element(By.ID, "only").click()
    visible = [e.text for e in browser.find_elements(By.CSS_SELECTOR, "#results li h2") if e.is_displayed()]
    expect(len(visible) == 4, f"filter off: {visible}")
    # a screen reader hears the batch start and its tally; each verdict is
    # read on its card, under the file's name
    heard = browser.execute_script("return window.heard")
    expect(heard == ["Checking 4 files", "1 corrected, 1 already right, 1 not a library object, 1 error"],
           f"said: {heard}")
    oncard = browser.execute_script("""return Array.from(document.querySelectorAll('#results li'),
        li => [li.querySelector('h2').textContent, li.querySelector('.verdict').textContent,
               li.querySelector('.verdict').checkVisibility()]);""")
    expect(all(c[2] and c[1] for c in oncard) and [c[1] for c in oncard] == [look[4] for look in looks],
           f"verdicts on the cards: {oncard}")


def collection(name, n):
    """A folder of N files, every other one an object with a wrong CRC and
    the rest text files; its path."""
    where = os.path.join(work, name)
    os.makedirs(where, exist_ok=True)
    for i in range(n):
        shutil.copyfile(many[i % len(many)] if i % 2 == 0 else notes, os.path.join(where, f"{i:03d}" + (".lib", ".txt")[i % 2]))
    return where


INVIEW = """
    const r = document.getElementById(arguments[0]).getBoundingClientRect();
    return [r.top, r.bottom, innerHeight, r.width > 0];"""


@named("actions in reach", 300)
def reach():
    # after a long batch at a phone's size, with the list scrolled to its
    # end: the tally, the batch's actions and the filter still in view; a
    # progress bar while it ran; the files that need attention folded after
    # a few, the rest a click away through the filter; Clear apart from
    # Download all, and undone until the next pick
    browser.set_window_size(375, 800)
    try:
        opened()
        browser.execute_script("""window.meter = [];
            const m = document.getElementById('meter');
            new MutationObserver(() => window.meter.push([m.hidden, m.max, m.value]))
              .observe(m, { attributes: true });""")
        browser.find_element(By.ID, "folder").send_keys(collection("reach", 60))
        WebDriverWait(browser, 120).until(lambda b: cards() == 60 and tally(b))
        meter = browser.execute_script("return window.meter")
        expect(any(not h and m == 60 and 0 < v < 60 for h, m, v in meter) and meter[-1][0],
               f"no progress bar for the batch: {meter[-3:]}")
        browser.execute_script("window.scrollTo(0, document.documentElement.scrollHeight)")
        for what in ("status", "zipall", "filter", "clear"):
            top, bottom, height, shown = browser.execute_script(INVIEW, what)
            expect(shown and 0 <= top and bottom <= height, f"{what} out of view at the list's end: {top:.0f}-{bottom:.0f}")
        named_ = browser.execute_script("""const p = document.getElementById('attention');
            return [p.querySelectorAll('a').length, p.textContent];""")
        expect(named_[0] == 5 and named_[1].endswith(", and 25 more."), f"attention: {named_}")
        browser.execute_script("document.querySelector('#attention button.more').click()")
        hidden = browser.execute_script("""return [document.getElementById('only').checked,
            Array.from(document.querySelectorAll('#results li.refused')).filter(li => !li.checkVisibility()).length]""")
        expect(hidden == [True, 0], f"the filter does not reach the rest: {hidden}")
        apart = browser.execute_script("""const z = document.getElementById('zipall'), c = document.getElementById('clear');
            const a = z.getBoundingClientRect(), b = c.getBoundingClientRect();
            return [Math.max(b.left - a.right, b.top - a.bottom, a.left - b.right),
                    getComputedStyle(z).backgroundColor, getComputedStyle(c).backgroundColor];""")
        expect(apart[0] >= 24 and apart[1] != apart[2], f"Clear beside Download all, alike: {apart}")
        browser.find_element(By.ID, "clear").click()
        undo = browser.find_element(By.ID, "undo")
        expect(cards() == 0 and undo.is_displayed(), f"{cards()} cards after Clear, Undo shown: {undo.is_displayed()}")
        undo.click()
        button = browser.find_element(By.ID, "zipall")
        expect(cards() == 60 and button.text == "Download all corrected (30 files)" and not undo.is_displayed()
               and browser.find_element(By.ID, "attention").is_displayed(),
               f"after Undo: {cards()} cards, {button.text!r}")
        browser.find_element(By.ID, "clear").click()
        give(infiles("odd.lib"), downloaded=False)
        expect(cards() == 1 and not undo.is_displayed(), f"Undo after the next pick: {cards()} cards")
    finally:
        browser.set_window_size(1280, 800)


@named("announcements", 300)
def announced():
    # a batch of 100: its start, its progress no more than every few
    # seconds, and its tally; nothing else
    opened()
    browser.execute_script("""window.heard = [];
        new MutationObserver(() => window.heard.push([performance.now(), document.getElementById('said').textContent]))
          .observe(document.getElementById('said'), { childList: true, characterData: true, subtree: true });""")
    browser.find_element(By.ID, "folder").send_keys(collection("spoken", 100))
    WebDriverWait(browser, 120).until(lambda b: cards() == 100 and tally(b))
    heard = browser.execute_script("return window.heard")
    words = [w for _, w in heard]
    middle = heard[1:-1]
    expect(words[0] == "Checking 100 files" and words[-1] == status()
           and all(re.fullmatch(r"Working: \d+ of 100", w) for _, w in middle)
           and all(b[0] - a[0] >= 4900 for a, b in zip(heard, heard[1:-1])), f"said: {heard}")


def changefiles():
    """Four files given, then on disk one rewritten, one grown, one removed
    and one left; their paths in that order."""
    paths = [make(f"later-{k}.lib", open(many[i], "rb").read(), listed=False) for i, k in enumerate("abcd")]
    give(paths, downloaded=False)
    with open(paths[0], "r+b") as f:
        f.write(b"X")
    with open(paths[1], "ab") as f:
        f.write(b"more")
    os.remove(paths[2])
    return paths


RAW = ("NotReadableError", "NotFoundError", "network error", "operation was aborted", "could not be read")


@named("changed after its verdict", 180)
def changedafter():
    # a file that changed or went after its verdict: no download of it, but
    # the page's words on its card; the zip leaves it out, and names it
    opened()
    paths = changefiles()
    for index in range(3):
        browser.execute_script("document.querySelectorAll('#results li')[arguments[0]].querySelector('a.download').click()",
                               index)
    WebDriverWait(browser, 30).until(lambda b: len(b.find_elements(By.CSS_SELECTOR, "#results .verdict.changed")) == 3)
    shown = browser.execute_script("""return Array.from(document.querySelectorAll('#results li'),
        li => [li.querySelector('h2').textContent, li.textContent, !!li.querySelector('a.download')]);""")
    for path, (name, text, link) in zip(paths, shown[:3]):
        want = f"{name} changed after it was checked: choose it again"
        expect(want in text and not link, f"{name}: {text!r}")
    expect(not any(r in status() or r in c[1] for r in RAW for c in shown), "a raw browser text")
    # a fresh list, the files changed before Download all
    opened()
    paths = changefiles()
    with zipfile.ZipFile(downloadall()) as z:
        expect(z.namelist() == ["later-d.lib"] and z.read("later-d.lib") == console(paths[3])[2], z.namelist())
    want = "Left out of vexsum-corrected.zip: " + "; ".join(
        f"later-{k}.lib changed after it was checked: choose it again" for k in "abc") + "."
    WebDriverWait(browser, 10).until(lambda b: status() == want)
    expect(status() == want, f"{status()!r}, want {want!r}")


@named("paste and launch")
def pasteandlaunch():
    # files pasted anywhere on the page, and those the system hands an
    # installed page (its launch queue, stood in for here), join the list;
    # the manifest as the browser reads it has no errors
    stand = browser.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """
        Object.defineProperty(window, 'launchQueue', { configurable: true,
          value: { setConsumer: f => { window.launched = f; } } });"""})
    try:
        opened()
    finally:
        browser.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", {"identifier": stand["identifier"]})
    with open(infiles("odd.lib")[0], "rb") as f:
        hexed = f.read().hex()
    browser.execute_script("""
        const file = name => new File([Uint8Array.from(arguments[0].match(/../g), h => parseInt(h, 16))], name);
        const list = new DataTransfer();
        list.items.add(file('pasted.lib'));
        document.querySelector('h1').dispatchEvent(new ClipboardEvent('paste', { clipboardData: list, bubbles: true }));
        window.launched({ files: [{ getFile: async () => file('launched.lib') }] });""", hexed)
    WebDriverWait(browser, 30).until(lambda b: cards() == 2 and tally(b))
    shown = browser.execute_async_script(CARDS, 2)
    expect(sorted((c["name"], c["verdict"]) for c in shown) == [("launched.lib", CORRECTED[0]), ("pasted.lib", CORRECTED[0])],
           shown)
    manifest = browser.execute_cdp_cmd("Page.getAppManifest", {})
    expect(manifest.get("url", "").endswith("/vexsum.webmanifest") and not manifest.get("errors"), manifest.get("errors"))


# showSaveFilePicker stood in for: refusing with the error named, or giving
# a file that keeps what is written in window.saved (or, full, fails)
SAVED = """
    const [refused, full] = arguments;
    window.saved = [];
    window.showSaveFilePicker = async options => {
      if (refused) throw new DOMException('stood in', refused);
      window.asked = options.suggestedName;
      return { createWritable: async () => new WritableStream({
        write: chunk => { if (full) throw new Error('the disk is full'); window.saved.push(...chunk); } }) };
    };"""


@named("zip to a chosen file", 180)
def chosenfile():
    # from disk, where the browser lets the page write a file that the
    # person chooses (stood in for here), the zip streams to it; refused,
    # the zip comes as before; cancelled, or failed, the page says so
    opened("file://" + os.path.abspath(os.path.join(build, "vexsum.html")))
    two = infiles("odd.lib", "even.lib")
    give(two, downloaded=False)
    browser.execute_script(SAVED, None, False)
    browser.execute_script("""window.made = []; const make = URL.createObjectURL;
        URL.createObjectURL = b => { window.made.push(b.type); return make(b); };""")
    browser.find_element(By.ID, "zipall").click()
    WebDriverWait(browser, 30).until(lambda b: b.find_element(By.ID, "zipall").is_enabled())
    saved, asked, made = browser.execute_script("return [window.saved, window.asked, window.made]")
    try:
        with zipfile.ZipFile(io.BytesIO(bytes(saved))) as z:
            expect(z.namelist() == [os.path.basename(p) for p in two], z.namelist())
            expect([z.read(os.path.basename(p)) for p in two] == [console(p)[2] for p in two], "the saved zip differs")
    except zipfile.BadZipFile:
        expect(False, f"no zip saved ({len(saved)} bytes)")
    expect(asked == "vexsum-corrected.zip" and made == [], f"asked {asked!r}, blobs {made}")
    browser.execute_script(SAVED, "AbortError", False)
    browser.find_element(By.ID, "zipall").click()
    WebDriverWait(browser, 10).until(lambda b: "not saved" in status())
    expect(status() == "vexsum-corrected.zip was not saved: no file was chosen.", status())
    browser.execute_script(SAVED, None, True)
    browser.find_element(By.ID, "zipall").click()
    WebDriverWait(browser, 10).until(lambda b: "Could not" in status())
    expect(status() == "Could not make vexsum-corrected.zip: the disk is full", status())


@named("folder chosen and zipped", 300)
def zipped():
    # a folder chosen whole, and one zip of every corrected file in it, each
    # under its path with the console program's bytes
    opened()
    browser.find_element(By.ID, "folder").send_keys(os.path.dirname(many[0]))
    WebDriverWait(browser, 60).until(lambda b: cards() == 100 and tally(b))
    button = browser.find_element(By.ID, "zipall")
    expect(button.is_displayed() and button.text == "Download all corrected (100 files)", button.text)
    begun = time.monotonic()
    with zipfile.ZipFile(downloadall()) as z:
        print(f"web: the zip of 100 corrected files took {1000 * (time.monotonic() - begun):.0f} ms")
        members = z.namelist()
        expect(members == [f"many/{os.path.basename(p)}" for p in many], members[:3])
        for path in many:
            name = f"many/{os.path.basename(path)}"
            if name in members:
                expect(z.read(name) == console(path)[2], f"{name} differs from the console program's bytes")
    # served, it went to disk through the service worker, never whole in a blob
    made = browser.execute_script("return window.made")
    expect(made == [], f"the served page made the zip in a blob: {made}")


@named("scripts off")
def noscript():
    # the page says that it needs them, and nothing waits
    browser.execute_cdp_cmd("Emulation.setScriptExecutionDisabled", {"value": True})
    try:
        browser.get(url)
        text = browser.find_element(By.TAG_NAME, "body").text
        expect("JavaScript" in text and "Loading" not in text, text)
    finally:
        browser.execute_cdp_cmd("Emulation.setScriptExecutionDisabled", {"value": False})


@named("phone button")
def phonebutton():
    # its words in the middle of it
    browser.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 1})
    browser.set_window_size(375, 740)
    try:
        opened()
        off = browser.execute_script("""
            const pick = document.querySelector('.pick'), words = document.createRange();
            words.selectNodeContents(pick);
            const a = pick.getBoundingClientRect(), b = words.getBoundingClientRect();
            return [a.height, (b.top - a.top) - (a.bottom - b.bottom)];""")
        expect(abs(off[1]) <= 2, f"words {off[1]:.0f} px off the middle of a {off[0]:.0f} px button")
    finally:
        browser.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": False})
        browser.set_window_size(1280, 800)


@named("axe")
def accessible():
    # axe-core on the page after a batch, in both colour schemes at a desk's and a phone's width
    if axe == "-":
        raise Skip("axe-core could not be installed")
    opened()
    give(infiles("odd.lib", "even-already-right.lib", "notes.txt"))
    with open(axe) as f:
        browser.execute_script(f.read())
    try:
        for scheme in ("light", "dark"):
            browser.execute_cdp_cmd("Emulation.setEmulatedMedia",
                                    {"features": [{"name": "prefers-color-scheme", "value": scheme}]})
            for width, height in ((1280, 800), (375, 740)):
                browser.set_window_size(width, height)
                found = browser.execute_async_script("""
                    const done = arguments[arguments.length - 1];
                    axe.run(document).then(r => done(r.violations.filter(v => ['serious', 'critical'].includes(v.impact))
                      .map(v => v.id + ': ' + v.nodes.map(n => n.target.join(' ')).join(', '))));""")
                expect(not found, f"{scheme} {width}px: {found}")
    finally:
        browser.execute_cdp_cmd("Emulation.setEmulatedMedia", {"features": []})
        browser.set_window_size(1280, 800)


@named("phone width and control size")
def sizes():
    # readable at a phone's width: nothing wider than the screen; controls
    # large enough to hit
    opened()
    give(infiles("odd.lib", "even-already-right.lib", "notes.txt"), downloaded=False)
    browser.set_window_size(375, 740)
    try:
        wide = browser.execute_script("return document.documentElement.scrollWidth > window.innerWidth")
        expect(not wide, "the page is wider than a phone's screen")
    finally:
        browser.set_window_size(1280, 800)
    height = browser.execute_script(
        "return [document.querySelector('.pick').getBoundingClientRect().height,"
        " document.querySelector('a.download').getBoundingClientRect().height]")
    expect(min(height) >= 24, f"controls {height} px tall")


@named("installable")
def installable():
    opened()
    errors = browser.execute_cdp_cmd("Page.getInstallabilityErrors", {}).get("installabilityErrors")
    expect(errors == [], errors)


CONTROLLED = """const done = arguments[arguments.length - 1];
    setTimeout(() => done('no service worker'), 10000);
    const kept = () => caches.keys().then(names => Promise.all(names.map(n => caches.open(n).then(c => c.keys())
      .then(k => [n, k.map(r => r.url.replace(/.*\\//, '')).sort()])))).then(done, e => done(String(e)));
    if (navigator.serviceWorker.controller) kept();
    else navigator.serviceWorker.addEventListener('controllerchange', kept);"""


def visitedonce(maxage=0):
    """A copy of the served page (the files that its worker keeps, as its
    list names them, and the worker) in a folder of its own, visited once
    from a server of its own until the worker is in charge; then the server
    ends. The folder, the list, the page's address and port, and the
    worker's caches: [[name, [file...]]...]."""
    with open(os.path.join(build, "sw.js")) as f:
        own = re.search(r"const own = '([^']*)'", f.read()).group(1).split()
    copy = tempfile.mkdtemp(prefix="site-", dir=work)
    for name in own + ["sw.js"]:
        shutil.copyfile(os.path.join(build, name), os.path.join(copy, name))
    apart, there = serve(copy, maxage=maxage)
    try:
        opened(there + "vexsum.html")
        return copy, own, there + "vexsum.html", apart.server_address[1], browser.execute_async_script(CONTROLLED)
    finally:
        apart.shutdown()
        apart.server_close()


def pagecache(caches_, own):
    """What is wrong with the page's caches: one, named for the version and a hash, holding its files."""
    version = re.match(r"vexsum v(\S+)", console(files[0])[0][0]).group(1)
    if not isinstance(caches_, list) or len(caches_) != 1:
        return f"caches {caches_}, want one"
    name, held = caches_[0]
    if not re.fullmatch(rf"vexsum-{re.escape(version)}-[0-9a-f]{{16}}", name):
        return f"cache {name!r}, want vexsum-{version}-HASH"
    if held != sorted(own):
        return f"cache holds {held}, want {sorted(own)}"
    return None


@named("offline")
def offline():
    # once visited, working with its server gone, the manual too
    _, own, page, _, caches_ = visitedonce()
    wrong = pagecache(caches_, own)
    expect(not wrong, wrong)
    browser.set_page_load_timeout(20)
    try:
        took = opened(page)
        print(f"web: offline, the page was ready {took:.0f} ms after it was asked for")
        shown = give(infiles("odd.lib"))[0]
        expect(shown["verdict"] == SAYS["odd.lib"][0], shown["verdict"])
        browser.get(page.replace("vexsum.html", "manual.html"))
        text = browser.find_element(By.TAG_NAME, "body").text
        expect("EXIT STATUS" in text, f"the manual offline: {text[:100]!r}")
    finally:
        browser.set_page_load_timeout(300)


def liefi(port):
    """A server on 127.0.0.1:PORT that takes each connection and answers
    nothing, as a captive portal or a dying network does; a function that
    ends it."""
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", port))
    listener.listen(64)
    held = []

    def hold():
        while True:
            try:
                held.append(listener.accept()[0])
            except OSError:
                return
    threading.Thread(target=hold, daemon=True).start()

    def end():
        listener.close()
        for each in held:
            each.close()
    return end


@named("lie-fi")
def liefied():
    # visited once, the page opens from its cache within 3 s while its
    # server takes the connection and answers nothing
    _, _, page, port, _ = visitedonce()
    end = liefi(port)
    browser.set_page_load_timeout(10)
    try:
        took = opened(page)
        print(f"web: lie-fi, the page was ready {took:.0f} ms after it was asked for")
        expect(took < 3000, f"ready after {took:.0f} ms")
    finally:
        browser.set_page_load_timeout(300)
        end()


@named("update")
def update():
    # a new version on the server: shown or offered within two reloads, and
    # once reloaded, the old cache gone; from a server that lets the browser
    # keep its files for an hour, as many do
    copy, _, page, port, before = visitedonce(maxage=3600)
    # the new version: another footer, and so another hash in the worker
    with open(os.path.join(copy, "vexsum.html")) as f:
        html = f.read()
    with open(os.path.join(copy, "vexsum.html"), "w") as f:
        f.write(html.replace("</footer>", "<p>the new version</p></footer>"))
    with open(os.path.join(copy, "sw.js")) as f:
        worker = f.read()
    with open(os.path.join(copy, "sw.js"), "w") as f:
        f.write(re.sub(r"(const kept = 'vexsum-[^-]*-)[0-9a-f]+", r"\g<1>0123456789abcdef", worker))
    apart, _ = serve(copy, port, maxage=3600)
    try:
        newer = lambda b: b.execute_script(
            "return document.querySelector('footer').textContent.includes('the new version') ? 'shown' :"
            " document.getElementById('update') ? 'offered' : null")
        seen = None
        for reload in (1, 2):
            begun = time.monotonic()
            opened(page)
            try:
                # (the new worker fetches every file before it takes over: slow on a busy machine)
                seen = WebDriverWait(browser, 30).until(newer)
            except TimeoutException:
                continue
            print(f"web: update, the new version was {seen} on reload {reload},"
                  f" {1000 * (time.monotonic() - begun):.0f} ms after it was asked for")
            break
        # (the worker tells the page as soon as it is in charge: an offer, first)
        expect(seen == "offered", f"the new version was {seen or 'neither shown nor offered'} after two reloads")
        if seen == "offered":
            line = browser.find_element(By.ID, "update")
            words = line.get_attribute("textContent")
            expect(words == "A new version of vexsum is ready. Reload", words)
            line.find_element(By.TAG_NAME, "button").click()
            WebDriverWait(browser, 10).until(lambda b: newer(b) == "shown")
            ready()
        after = browser.execute_async_script(CONTROLLED)
        expect(len(after) == 1 and after[0][0] != before[0][0] and after[0][0].endswith("-0123456789abcdef"),
               f"caches {[c[0] for c in before]} before, {[c[0] for c in after]} after")
    finally:
        apart.shutdown()
        apart.server_close()


@named("says who it is")
def who():
    # the version in the footer beside the manual, the promise in its own
    # line; its scripts wait for the page
    opened()
    version = re.match(r"vexsum (v\S+)", console(files[0])[0][0]).group(1)
    footer = browser.find_element(By.TAG_NAME, "footer")
    expect(f"vexsum {version}" in footer.text, f"{footer.text!r}, want {version}")
    promise = browser.execute_script("return Array.from(document.querySelectorAll('p'), p => p.textContent)")
    expect("Nothing is uploaded and nothing is kept: the program runs in this page." in promise, promise[:3])
    scripts = browser.execute_script(
        "return Array.from(document.scripts, s => [s.parentNode.tagName, s.defer, s.getAttribute('src')])")
    expect(all(s[0] == "HEAD" and s[1] for s in scripts), f"scripts not deferred: {scripts}")


@named("manual")
def manual():
    opened()
    violations()
    browser.find_element(By.TAG_NAME, "footer").find_element(By.LINK_TEXT, "the manual").click()
    WebDriverWait(browser, 30).until(lambda b: b.current_url.endswith("/manual.html"))
    text = browser.find_element(By.TAG_NAME, "body").text
    expect("vexsum" in text and "EXIT STATUS" in text, text[:200])
    reports = violations()
    expect(not reports, f"the manual's policy: {reports}")


@named("from disk")
def fromdisk():
    # opened from disk, as someone who unzipped the web zip would: nothing
    # in the console; the zip a blob, where the browser refuses the page a
    # file of the person's choosing (stood in for) or has none
    browser.get_log("browser")
    opened("file://" + os.path.abspath(os.path.join(build, "vexsum.html")))
    logged = [e["message"] for e in browser.get_log("browser") if e["level"] == "SEVERE"]
    expect(not logged, f"the console: {logged}")
    browser.execute_script(SAVED, "NotAllowedError", False)
    two = infiles("odd.lib", "even.lib")
    for path in two:
        compare(path, give([path])[0])
    # from disk there is no service worker: the zip is a blob
    with zipfile.ZipFile(downloadall()) as z:
        expect([z.read(os.path.basename(p)) for p in two] == [console(p)[2] for p in two],
               "the zip differs from the console program's bytes")
    made = browser.execute_script("return window.made")
    expect(made == ["application/zip"], made)


if screenshot:
    @named("screenshot")
    def picture():
        opened()
        give(infiles("odd.lib", "notes.txt"))
        browser.execute_script("document.querySelector('#results li details').open = true")
        browser.set_window_size(900, 900)
        browser.save_screenshot(screenshot)
        browser.set_window_size(1280, 800)


def restart():
    """A fresh browser, after one that ran out of time (and may be stuck)."""
    signal.alarm(30)
    try:
        browser.quit()
    except Exception:
        pass
    finally:
        signal.alarm(0)
    start()


def run(name, function, seconds):
    """Runs one check and says how it went; 'pass', 'fail' or 'skip'."""
    problems.clear()
    begun = time.monotonic()
    signal.alarm(seconds)
    try:
        function()
    except Skip as why:
        signal.alarm(0)
        print(f"web: skipped: {name}: {why}")
        return "skip"
    except Timeout:
        problems.append(f"no end after {seconds} s")
        restart()
    except Exception as e:
        signal.alarm(0)
        problems.append(f"{type(e).__name__}: {(str(e).strip() or repr(e)).splitlines()[0]}")
    finally:
        signal.alarm(0)
    if problems:
        print(f"FAIL {name}: " + "; ".join(problems))
        return "fail"
    print(f"ok {name} ({1000 * (time.monotonic() - begun):.0f} ms)")
    return "pass"


signal.signal(signal.SIGALRM, outoftime)
outcomes = []
try:
    start()
    chosen = re.compile(os.environ.get("WEBCHECKS", ""))
    outcomes = [run(*each) for each in checks if chosen.search(each[0])]
finally:
    if browser:
        browser.quit()
    server.shutdown()
    shutil.rmtree(work, ignore_errors=True)

passed, failed, skipped = (outcomes.count(k) for k in ("pass", "fail", "skip"))
print(f"web: {passed} passed, {failed} failed" + (f", {skipped} skipped" if skipped else ""))
sys.exit(1 if failed or not passed else 0)
