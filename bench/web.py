#!/usr/bin/env python3
"""How soon the page can be used: served from 127.0.0.1 with its policy as
a header, opened RUNS times in headless Chromium with a warm cache, the
time from the navigation's start (Navigation Timing's origin) to the
page's mark "vexsum ready", set when its first input is enabled. Prints
the median, the 90th percentile and the slowest; fails when the median is
over 300 ms.
usage: bench/web.py WEB-BUILD [RUNS]   (after: emcmake cmake -S . -B build-web && cmake --build build-web)"""
import os
import statistics
import sys

from selenium.webdriver.support.ui import WebDriverWait

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))
from served import chromium, serve  # noqa: E402

build = sys.argv[1]
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 50
bound = 300
server, folder = serve(build)
url = folder + "vexsum.html"
browser = chromium()
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
