#!/usr/bin/env python3
"""Opens each page given, in turns, in one headless Chromium, and prints the
median time in milliseconds from the start of navigation to the menu's
prompt drawn in the terminal's rows, one line per page. Needs Debian's
python3-selenium (run it with /usr/bin/python3)."""
import os
import statistics
import sys
import tempfile
import time
from pathlib import Path

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

# Runs before the page's own scripts: notes when the prompt first shows.
WATCH = """new MutationObserver((changes, observer) => {
    const rows = document.querySelector('.xterm-rows');
    if (rows && rows.textContent.includes('Masukkan Pilihan :')) {
        window.menuDrawnAt = performance.now();
        observer.disconnect();
    }
}).observe(document, {subtree: true, childList: true, characterData: true});"""


def main():
    runs, pages = int(sys.argv[1]), [Path(page).resolve().as_uri() for page in sys.argv[2:]]
    with tempfile.TemporaryDirectory() as folder:
        # Chromium's profile and caches stay out of the home.
        os.environ.update(HOME=folder, XDG_CACHE_HOME=f"{folder}/cache")
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", f"--user-data-dir={folder}/profile"]:
            options.add_argument(flag)
        driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        try:
            driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": WATCH})
            times = [[] for _ in pages]
            for _ in range(runs):
                for index, url in enumerate(pages):
                    driver.get("about:blank")
                    driver.get(url)
                    deadline = time.monotonic() + 10
                    drawn = None
                    while drawn is None and time.monotonic() < deadline:
                        drawn = driver.execute_script("return window.menuDrawnAt")
                    if drawn is None:
                        sys.exit(f"page_time: {url} drew no menu within 10 s")
                    times[index].append(drawn)
        finally:
            driver.quit()
    for page_times in times:
        print(f"{statistics.median(page_times):.1f}")


if __name__ == "__main__":
    main()
