#!/usr/bin/env python3
"""The page in a real browser: headless Chromium, the page served on
127.0.0.1, files given through its own file input. For each file the page
must show the lines the console program prints, its outcome in words, and
for a filled file alone a download with the console program's bytes.
usage: web.py WEB-BUILD NATIVE-VEXSUM NATIVE-MKLIB GOLDEN-TABLE [SCREENSHOT.png]"""
import base64
import functools
import http.server
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

build, vexsum, mklib, golden = sys.argv[1:5]
screenshot = sys.argv[5] if len(sys.argv) > 5 else None
work = tempfile.mkdtemp(prefix="vexsum-web-")
passed = failed = 0


def check(name, ok, why=""):
    global passed, failed
    if ok:
        passed += 1
    else:
        failed += 1
        print(f"FAIL {name}: {why}")


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


def words(name, lines, status):
    crc = [l.split("\t")[-1] for l in lines if l.startswith("\tTrue CRC:\t")]
    if status != 0:
        last = lines[-1] if lines else ""
        return "failed: " + (last[len(name) + 2:] if last.startswith(name + ": ") else last)
    return f"filled, CRC {crc[0]}" if crc else "not a library object"


# the files: the golden table's library rows, in both alignments, data after
# an object, a cut object, a text file, the largest object
files = []


def make(name, data):
    path = os.path.join(work, "in", name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    files.append(path)


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
check("largest object", len(largest) == 524298, f"{len(largest)} bytes")


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=build))
threading.Thread(target=server.serve_forever, daemon=True).start()
url = f"http://127.0.0.1:{server.server_address[1]}/vexsum.html"

options = webdriver.ChromeOptions()
options.binary_location = "/usr/bin/chromium"
for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage", "--window-size=900,1100"):
    options.add_argument(arg)
browser = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
try:
    browser.set_script_timeout(30)
    browser.get(url)
    WebDriverWait(browser, 30).until(lambda b: b.find_element(By.ID, "status").text == "Ready.")
    # nothing comes from anywhere but the page's own folder
    sources = browser.execute_script("return performance.getEntriesByType('resource').map(e => e.name)")
    check("own folder only", all(s.startswith(url.rsplit("/", 1)[0] + "/") for s in sources), sources)
    label = browser.execute_script("return document.querySelector('label[for=files]').textContent")
    check("labelled input", bool(label.strip()), "the file input has no label")

    def give(paths):
        """Give the page these files at once; what it shows for each, in order."""
        before = len(browser.find_elements(By.CSS_SELECTOR, "#results li"))
        browser.find_element(By.ID, "files").send_keys("\n".join(paths))
        WebDriverWait(browser, 60).until(
            lambda b: len(b.find_elements(By.CSS_SELECTOR, "#results li")) == before + len(paths)
            and b.find_element(By.ID, "status").text.startswith("Done"))
        return browser.execute_async_script("""
            const done = arguments[arguments.length - 1], n = arguments[0];
            const items = Array.from(document.querySelectorAll('#results li')).slice(0, n);
            Promise.all(items.map(async li => {
              const a = li.querySelector('a');
              let bytes = null;
              if (a) {
                const buf = new Uint8Array(await (await fetch(a.href)).arrayBuffer());
                let s = ''; for (const b of buf) s += String.fromCharCode(b);
                bytes = btoa(s);
              }
              return { name: li.querySelector('h2').textContent, lines: li.querySelector('pre').textContent,
                       outcome: li.querySelector('.outcome').textContent, download: a ? a.download : null, bytes };
            })).then(done);""", len(paths))

    def compare(path, shown):
        name = os.path.basename(path)
        lines, status, after = console(path)
        check(f"{name} name", shown["name"] == name, shown["name"])
        check(f"{name} lines", shown["lines"].split("\n") == lines, f"{shown['lines']!r}, console {lines!r}")
        check(f"{name} outcome", shown["outcome"] == words(name, lines, status), shown["outcome"])
        filled = status == 0 and any(l.startswith("\tTrue CRC:") for l in lines)
        if filled:
            check(f"{name} download", shown["download"] == name and base64.b64decode(shown["bytes"]) == after,
                  "the downloaded bytes differ from the console program's")
        else:
            check(f"{name} no download", shown["download"] is None, "a refused file offers a download")

    # one at a time, then five at once
    for path in files:
        compare(path, give([path])[0])
    # the largest object through the page's own run, timed in the page
    took = browser.execute_async_script("""
        const done = arguments[arguments.length - 1];
        const bytes = Uint8Array.from(atob(arguments[0]), c => c.charCodeAt(0));
        const start = performance.now();
        run('largest.lib', bytes).then(() => done(performance.now() - start));""",
        base64.b64encode(largest).decode())
    print(f"web: the largest object took {took:.0f} ms in the page")
    check("largest object's time", took < 1000, f"{took:.0f} ms")
    five = files[:5]
    for path, shown in zip(five, give(five)):
        compare(path, shown)

    # once loaded, the page needs no network: a file given offline is filled all the same
    browser.set_network_conditions(offline=True, latency=0, download_throughput=0, upload_throughput=0)
    odd = [f for f in files if f.endswith("/odd.lib")][0]
    compare(odd, give([odd])[0])
    browser.delete_network_conditions()

    if screenshot:
        browser.get(url)
        WebDriverWait(browser, 30).until(lambda b: b.find_element(By.ID, "status").text == "Ready.")
        give([f for f in files if f.endswith("/odd.lib")] + [f for f in files if f.endswith("notes.txt")])
        browser.set_window_size(900, 900)
        browser.save_screenshot(screenshot)
    # readable at a phone's width: nothing wider than the screen
    browser.set_window_size(375, 800)
    wide = browser.execute_script("return document.documentElement.scrollWidth > window.innerWidth")
    check("phone width", not wide, "the page is wider than a phone's screen")
finally:
    browser.quit()
    server.shutdown()
    shutil.rmtree(work, ignore_errors=True)

print(f"web: {passed} passed, {failed} failed")
sys.exit(1 if failed or not passed else 0)
