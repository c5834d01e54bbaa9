#!/usr/bin/python3
"""Drives the web page in headless chromium and checks it against the native
program: first frames, a key and a drag, opening OFF files and the SVG and
OFF downloads. Exits non-zero on any failure.

    tests/web/page_test.py PAGE.html NATIVE-BUILD-DIR
"""
import base64
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.support.ui import WebDriverWait

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SIZE = "1024x700"
BLUE, RED, BACKGROUND = (0, 0, 255), (255, 0, 0), (230, 230, 204)
TEXT, DUAL_TEXT = (0, 0, 0), (153, 0, 0)
EDGES = (BLUE, RED, TEXT, DUAL_TEXT)
# The first frames: the query, the title it opens with and the colours
# compared (shaded faces may differ by a step between swiftshader and Mesa).
FRAMES = [
    ("solid=1", "tetraedar x 30 y 45", EDGES + (BACKGROUND,)),
    ("solid=2", "heksaedar x 30 y 45", EDGES + (BACKGROUND,)),
    ("solid=3", "oktaedar x 30 y 45", EDGES + (BACKGROUND,)),
    ("solid=4", "dodekaedar x 30 y 45", EDGES + (BACKGROUND,)),
    ("solid=5", "ikosaedar x 30 y 45", EDGES + (BACKGROUND,)),
    ("solid=2&dual=reciprocal&faces=shaded&back=hidden", "heksaedar x 30 y 45", EDGES),
]
failures, checks = [], 0


def check(ok, what):
    global checks
    checks += 1
    if not ok:
        failures.append(what)
        print("FAILED:", what)


def png_pixels(data):
    """8-bit RGB or RGBA, not interlaced: (width, height, rows of RGB tuples)."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    at, idat = 8, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert depth == 8 and colour in (2, 6) and interlace == 0, "PNG kind"
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    n = 4 if colour == 6 else 3
    raw, stride = zlib.decompress(idat), width * n
    prev, rows = bytearray(stride), []
    for y in range(height):
        kind, row = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = row[i - n] if i >= n else 0
            b, c = prev[i], prev[i - n] if i >= n else 0
            if kind == 1: row[i] = (row[i] + a) & 255
            elif kind == 2: row[i] = (row[i] + b) & 255
            elif kind == 3: row[i] = (row[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                row[i] = (row[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(row[x:x + 3]) for x in range(0, stride, n)])
        prev = row
    return width, height, rows


def compare(name, page_png, native_png, colours):
    """Every pixel of each colour in one picture has one of that colour
    within 2 pixels in the other; prints the count of differing pixels."""
    (w1, h1, a), (w2, h2, b) = png_pixels(page_png), png_pixels(native_png)
    check((w1, h1) == (w2, h2), "%s: the page's picture is %dx%d, the program's %dx%d" % (name, w1, h1, w2, h2))
    if (w1, h1) != (w2, h2):
        return
    differing = sum(p != q for ra, rb in zip(a, b) for p, q in zip(ra, rb))
    far = 0
    for one, other in ((a, b), (b, a)):
        for y in range(h1):
            for x in range(w1):
                c = one[y][x]
                if c in colours and other[y][x] != c and not any(
                        other[j][i] == c for j in range(max(0, y - 2), min(h1, y + 3))
                        for i in range(max(0, x - 2), min(w1, x + 3))):
                    far += 1
    print("%s: %d pixels differ, %d without their colour within 2 pixels" % (name, differing, far))
    check(far == 0, "%s: %d pixels without their colour within 2 pixels" % (name, far))


def title(driver):
    return re.sub(r" +", " ", driver.title)


def wait_for(driver, condition, what):
    try:
        WebDriverWait(driver, 20).until(lambda d: condition())
        check(True, what)
    except Exception:
        check(False, "%s (title %r, message %r)" % (what, title(driver), message(driver)))


def message(driver):
    return driver.find_element("id", "message").text


def canvas_png(driver):
    url = driver.execute_script("return document.getElementById('canvas').toDataURL('image/png');")
    return base64.b64decode(url.split(",", 1)[1])


def native(build, *args):
    subprocess.run([os.path.join(build, "duals-explorer"), os.path.join(ROOT, "data"), "--size", SIZE, *args],
                   check=True, stdout=subprocess.DEVNULL)


def open_page(driver, page, query):
    driver.get("file://%s?size=%s&%s" % (page, SIZE, query))


def main():
    page, build = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    temp = tempfile.mkdtemp(prefix="page-test-")
    downloads = os.path.join(temp, "downloads")
    os.mkdir(downloads)
    options = webdriver.ChromeOptions()
    for flag in ("--headless=new", "--no-sandbox", "--use-gl=swiftshader",
                 "--enable-unsafe-swiftshader", "--window-size=1100,800"):
        options.add_argument(flag)
    options.add_experimental_option("prefs", {"download.default_directory": downloads,
                                              "download.prompt_for_download": False})
    options.binary_location = "/usr/bin/chromium"
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        for query, wanted, colours in FRAMES:
            open_page(driver, page, query)
            wait_for(driver, lambda: title(driver) == wanted, "%s: the title %r" % (query, wanted))
            ref = os.path.join(temp, "ref.png")
            native(build, "--png", ref, *["--" + o for o in query.split("&")])
            with open(ref, "rb") as f:
                compare(query, canvas_png(driver), f.read(), colours)

        # A key, then a drag of 40 pixels to the right: half a degree each.
        open_page(driver, page, "")
        wait_for(driver, lambda: title(driver) == "heksaedar x 30 y 45", "the opening title")
        ActionChains(driver).send_keys("3").perform()
        wait_for(driver, lambda: title(driver) == "oktaedar x 30 y 45", "the key 3")
        before = canvas_png(driver)
        canvas = driver.find_element("id", "canvas")
        ActionChains(driver).move_to_element(canvas).click_and_hold().move_by_offset(40, 0).release().perform()
        wait_for(driver, lambda: title(driver) == "oktaedar x 30 y 65", "the drag")
        check(canvas_png(driver) != before, "the drag changes the picture")

        # A good OFF file, then a damaged one that leaves the model shown.
        picker = driver.find_element("id", "open")
        picker.send_keys(os.path.join(ROOT, "tests/data/model/cube.off"))
        wait_for(driver, lambda: title(driver) == "cube x 30 y 45", "cube.off opened")
        damaged = os.path.join(temp, "t.off")
        with open(damaged, "w") as f:
            f.write("OFF\nx 1 0\n")
        picker.send_keys(damaged)
        wanted = "t.off:2: bad counts: 'x' is not a count"
        wait_for(driver, lambda: wanted in message(driver), "t.off refused")
        check(title(driver) == "cube x 30 y 45", "the title after t.off is %r" % title(driver))

        # The downloads of the opening view against the program's files.
        open_page(driver, page, "")
        wait_for(driver, lambda: title(driver) == "heksaedar x 30 y 45", "the opening title again")
        for kind in ("svg", "off"):
            driver.find_element("id", "save-" + kind).click()
            name = os.path.join(downloads, "heksaedar-x30-y45." + kind)
            wait_for(driver, lambda: os.path.exists(name), "the download " + os.path.basename(name))
            ref = os.path.join(temp, "ref." + kind)
            native(build, "--" + kind, ref)
            got = open(name, "rb").read() if os.path.exists(name) else b""
            with open(ref, "rb") as f:
                check(f.read() == got, "%s: the page's bytes differ from the program's" % name)
        check(sorted(os.listdir(downloads)) == ["heksaedar-x30-y45.off", "heksaedar-x30-y45.svg"],
              "the downloads are %s" % sorted(os.listdir(downloads)))
    finally:
        driver.quit()
        shutil.rmtree(temp)
    if failures:
        print("web: %d of %d checks failed" % (len(failures), checks))
        return 1
    print("web: %d checks passed" % checks)
    return 0


if __name__ == "__main__":
    sys.exit(main())
