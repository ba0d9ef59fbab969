"""What the page's test (tests/web.py) and its benchmark (bench/web.py)
share: the web build served on 127.0.0.1 with the page's own policy as a
header, and headless Chromium to open it."""
import functools
import http.server
import os
import re
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service


def serve(build, port=0, maxage=0):
    """Starts a server of the build's folder (on PORT, or any; with MAXAGE,
    its files kept by the browser that long); returns it and its address."""
    with open(os.path.join(build, "vexsum.html")) as f:
        policy = re.search(r'Content-Security-Policy"\s+content="([^"]*)"', f.read()).group(1)

    class Served(http.server.SimpleHTTPRequestHandler):
        def end_headers(self):
            self.send_header("Content-Security-Policy", policy)
            if maxage:
                self.send_header("Cache-Control", f"max-age={maxage}")
            super().end_headers()

        def log_message(self, *args):
            pass

    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), functools.partial(Served, directory=build))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, f"http://127.0.0.1:{server.server_address[1]}/"


def chromium(*args, logs=False):
    """Headless Chromium at a desk's width, with ARGS beside; LOGS keeps the console's lines."""
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                "--window-size=1280,800") + args:
        options.add_argument(arg)
    if logs:
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
