#!/usr/bin/python3
"""Times the web page in headless chromium: from the start of loading to
the first frame drawn, for each of the five solids; how many animation
frames a control's change takes to reach the canvas; and the frame time of
a spin for each OFF file given (opened through the page's file picker).

    bench/web_bench.py PAGE.html RUNS [FILE.off...]

The first frame is when the page sets its title, which it does right after
drawing its first frame; the time is the page's own clock (milliseconds
since the navigation began), medians of RUNS loads, each in a fresh tab.
A control's change is counted from the browser's frame it is made in:
the page hands its state to its script (Module.pdShow) right after drawing,
so the frames counted when the canvas first differs are the frames the
change took; medians of RUNS changes each.
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


# Makes control `arguments[0]`'s change ("faces-shaded": a radio; "morph":
# the slider, to 0.5) at the start of an animation frame and gives the
# frames counted (1: the next frame drew it) and the milliseconds from
# that frame's start to the drawing that changed the canvas.
CONTROL_FRAMES = """
var done = arguments[arguments.length - 1], id = arguments[0];
var canvas = document.getElementById('canvas'), before = canvas.toDataURL(), frames = 0, start = 0;
var shown = Module.pdShow, finished = false;
Module.pdShow = function (json) {
  var drawn = performance.now();  // the page draws, then hands its state
  shown(json);
  if (!finished && canvas.toDataURL() != before) {
    finished = true;
    Module.pdShow = shown;
    done([frames, drawn - start]);
  }
};
function tick() { frames++; if (!finished) requestAnimationFrame(tick); }
requestAnimationFrame(function (t) {
  start = performance.now();
  requestAnimationFrame(tick);
  var e = document.getElementById(id);
  if (e.type == 'range') { e.value = '0.5'; e.dispatchEvent(new Event('input')); } else e.click();
});
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


def control_frames(driver, page, runs):
    print("| control | frames to the canvas (median of %d) | ms |" % runs)
    print("|---|---:|---:|")
    for control in ("faces-shaded", "back-dashed", "numbers-both", "morph"):
        counts, times = [], []
        for _ in range(runs):
            driver.get("about:blank")
            driver.get("file://%s?size=1024x700&solid=4" % page)
            WebDriverWait(driver, 30).until(lambda d: d.execute_script("return window.pdFirstFrame !== undefined"))
            time.sleep(0.2)
            frames, ms = driver.execute_async_script(CONTROL_FRAMES, control)
            counts.append(frames)
            times.append(ms)
        print("| %s | %d | %.0f |" % (control, statistics.median(counts), statistics.median(times)))


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
        control_frames(driver, page, runs)
        print("page: %d bytes" % os.path.getsize(page))
        if files:
            spins(driver, page, files)
    finally:
        driver.quit()


if __name__ == "__main__":
    main()
