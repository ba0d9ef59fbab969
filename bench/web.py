#!/usr/bin/env python3
"""How soon the page can be used: served from 127.0.0.1 with its policy as
a header, opened RUNS times in headless Chromium with a warm cache, the
time from the navigation's start (Navigation Timing's origin) to the
page's mark "vexsum ready", set when its first input is enabled. Prints
the median, the 90th percentile and the slowest; fails when the median is
over 300 ms.
usage: bench/web.py WEB-BUILD [RUNS]   (after: emcmake cmake -S . -B build-web && cmake --build build-web)"""
import functools
import http.server
import re
import statistics
import sys
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait

build = sys.argv[1]
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 50
bound = 300
with open(f"{build}/vexsum.html") as f:
    policy = re.search(r'Content-Security-Policy"\s+content="([^"]*)"', f.read()).group(1)


class Served(http.server.SimpleHTTPRequestHandler):
    def end_headers(self):
        self.send_header("Content-Security-Policy", policy)
        super().end_headers()

    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Served, directory=build))
threading.Thread(target=server.serve_forever, daemon=True).start()
url = f"http://127.0.0.1:{server.server_address[1]}/vexsum.html"
options = webdriver.ChromeOptions()
options.binary_location = "/usr/bin/chromium"
for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage", "--window-size=1280,800"):
    options.add_argument(arg)
browser = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
ready = "const m = performance.getEntriesByName('vexsum ready'); return m.length ? m[0].startTime : null"
times = []
try:
    for i in range(runs + 1):
        browser.get(url)
        took = WebDriverWait(browser, 30).until(lambda b: b.execute_script(ready))
        if i:  # the first fills the cache
            times.append(took)
finally:
    browser.quit()
    server.shutdown()
times.sort()
median = statistics.median(times)
print(f"web start-up over {runs} loads: median {median:.0f} ms, 90th percentile "
      f"{times[int(0.9 * (len(times) - 1))]:.0f} ms, slowest {times[-1]:.0f} ms (bound: a median of {bound} ms)")
sys.exit(0 if median <= bound else 1)
