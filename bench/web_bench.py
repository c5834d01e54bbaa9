#!/usr/bin/python3
"""Times the web page in headless chromium: from the start of loading to
the first frame drawn, for each of the five solids, and the frame time of
a spin for each OFF file given (opened through the page's file picker).

    bench/web_bench.py PAGE.html RUNS [FILE.off...]

The first frame is when the page sets its title, which it does right after
drawing its first frame; the time is the page's own clock (milliseconds
since the navigation began), medians of RUNS loads, each in a fresh tab.
The spin is timed over 4 seconds of the browser's animation frames after
one second to settle; the browser shows at most 60 frames a second.
"""
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "tests", "support"))
from browser import chromium  # noqa: E402

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.support.ui import WebDriverWait

# Notes the page's clock when the title is first set to something other
# than the shell's own.
WATCH_TITLE = """
new MutationObserver(function (changes, observer) {
  if (document.title && document.title != "duals-explorer" && window.pdFirstFrame === undefined) {
    window.pdFirstFrame = performance.now();
    observer.disconnect();
  }
}).observe(document, {subtree: true, childList: true, characterData: true});
"""

# Counts animation frames for `seconds` and gives the mean time between them.
FRAME_TIME = """
var done = arguments[arguments.length - 1], seconds = arguments[0], times = [];
function step(t) {
  times.push(t);
  if (t - times[0] < seconds * 1000) requestAnimationFrame(step);
  else done((times[times.length - 1] - times[0]) / (times.length - 1));
}
requestAnimationFrame(step);
"""


def browser():
    driver = chromium()
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": WATCH_TITLE})
    driver.set_script_timeout(60)
    return driver


def first_frames(driver, page, runs):
    print("| solid | load to first frame (median of %d) |" % runs)
    print("|---|---:|")
    for solid in range(1, 6):
        times = []
        for _ in range(runs):
            driver.get("about:blank")
            driver.get("file://%s?size=1024x700&solid=%d" % (page, solid))
            WebDriverWait(driver, 30).until(lambda d: d.execute_script("return window.pdFirstFrame !== undefined"))
            times.append(driver.execute_script("return window.pdFirstFrame"))
        print("| %d | %.0f ms |" % (solid, statistics.median(times)))


def spins(driver, page, files):
    print("| model | spin frame time | frames per second |")
    print("|---|---:|---:|")
    for path in files:
        driver.get("about:blank")
        driver.get("file://%s?size=1024x700" % page)
        picker = WebDriverWait(driver, 30).until(
            lambda d: d.execute_script("return document.title.startsWith('heksaedar') && document.getElementById('open')"))
        stem = path.rsplit("/", 1)[-1].rsplit(".", 1)[0]
        picker.send_keys(path)
        WebDriverWait(driver, 120).until(lambda d: d.title.startswith(stem))
        ActionChains(driver).send_keys(" ").perform()
        time.sleep(1)
        ms = driver.execute_async_script(FRAME_TIME, 4)
        print("| %s | %.1f ms | %.1f |" % (stem, ms, 1000.0 / ms))


def main():
    page, runs, files = os.path.abspath(sys.argv[1]), int(sys.argv[2]), [os.path.abspath(f) for f in sys.argv[3:]]
    driver = browser()
    try:
        first_frames(driver, page, runs)
        if files:
            spins(driver, page, files)
    finally:
        driver.quit()


if __name__ == "__main__":
    main()
