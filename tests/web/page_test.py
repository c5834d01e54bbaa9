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
import time
import zlib
from urllib.parse import unquote

import numpy

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.print_page_options import PrintOptions
from selenium.webdriver.support.select import Select
from selenium.webdriver.support.ui import WebDriverWait

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tests", "support"))
from browser import chromium  # noqa: E402
sys.path.insert(0, os.path.join(ROOT, "tests", "po"))
from pseudo import left_english, write_catalogue  # noqa: E402
SIZE = "1024x700"
BLUE, RED, BACKGROUND = (0, 0, 255), (255, 0, 0), (230, 230, 204)
TEXT, DUAL_TEXT = (0, 0, 0), (153, 0, 0)
EDGES = (BLUE, RED, TEXT, DUAL_TEXT)
# The first frames: the query, the title it opens with and how far (in
# pixels) each colour may be from the program's: dashes are to be in phase
# within one.
FRAMES = [
    ("solid=1", "tetraedar x 30 y 45", 2),
    ("solid=2", "heksaedar x 30 y 45", 2),
    ("solid=3", "oktaedar x 30 y 45", 2),
    ("solid=4", "dodekaedar x 30 y 45", 2),
    ("solid=5", "ikosaedar x 30 y 45", 2),
    ("solid=2&dual=reciprocal&faces=shaded&back=hidden", "heksaedar x 30 y 45", 2),
    ("solid=4&back=dashed", "dodekaedar x 30 y 45", 1),
    # Lines wider than a pixel are quads, not WebGL's lines.
    ("solid=3&line-width=2&back=dashed", "oktaedar x 30 y 45", 1),
]
# A refused parameter, even one notation among good ones, leaves the page as
# without it; the command line's line for it, or its note on a model, is told.
REFUSED = [
    ("conway=xyz", "heksaedar x 30 y 45"),
    ("conway=tI&conway=zz", "tI x 30 y 45"),
    ("conway=Y10000", "Y10000 x 30 y 45"),
    ("catalogue=archimedean&model=truncated%20icosahedron&highlight=face:999", "truncated icosahedron x 30 y 45"),
    ("conway=D&highlight=edge:x&angles=20,-30", "D x 20 y -30"),
    ("lang=de&solid=3", "oktaedar x 30 y 45"),
]
# axe-core, as scripts/setup.sh installs it for the checks (never into the page).
AXE = os.path.join(os.environ.get("XDG_CACHE_HOME") or os.path.expanduser("~/.cache"),
                   "platonic-duals/axe/node_modules/axe-core/axe.min.js")
# The states axe-core looks at (the phone's is phone()'s): what is done on
# the opening page, and when it is done.
AXE_STATES = [
    ("first load", lambda d: None, lambda d: True),
    ("an Archimedean solid picked", lambda d: Select(d.find_element("id", "model-picker")).select_by_visible_text(
        "truncated cuboctahedron"), lambda d: title(d).startswith("truncated cuboctahedron")),
    ("the key list open", lambda d: ActionChains(d).send_keys("?").perform(),
     lambda d: js(d, "return document.getElementById('keys').open;")),
]
failures, checks = [], 0


def check(ok, what):
    global checks
    checks += 1
    if not ok:
        failures.append(what)
        print("FAILED:", what)


def png_pixels(data):
    """8-bit RGB or RGBA, not interlaced: an array of height x width x 3."""
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
    raw = numpy.frombuffer(zlib.decompress(idat), numpy.uint8).reshape(height, width * n + 1)
    out = numpy.zeros((height, width * n), numpy.int32)
    prev = numpy.zeros(width * n, numpy.int32)
    for y in range(height):
        kind, row = raw[y, 0], raw[y, 1:].astype(numpy.int32)
        if kind == 2:
            row = (row + prev) & 255
        elif kind in (1, 3, 4):  # left-dependent filters, a byte at a time
            row = list(row)
            for i in range(width * n):
                a = row[i - n] if i >= n else 0
                b, c = prev[i], prev[i - n] if i >= n else 0
                if kind == 1: row[i] = (row[i] + a) & 255
                elif kind == 3: row[i] = (row[i] + (a + b) // 2) & 255
                else:
                    p = a + b - c
                    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                    row[i] = (row[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
            row = numpy.array(row, numpy.int32)
        out[y], prev = row, row
    return out.reshape(height, width, n)[:, :, :3]


def near(mask, reach):
    """The pixels within `reach` pixels (across and along) of one in `mask`."""
    h, w = mask.shape
    grown = numpy.zeros_like(mask)
    for dy in range(-reach, reach + 1):
        for dx in range(-reach, reach + 1):
            grown[max(0, dy):h + min(0, dy), max(0, dx):w + min(0, dx)] |= \
                mask[max(0, -dy):h + min(0, -dy), max(0, -dx):w + min(0, -dx)]
    return grown


def ink(page, unders, colour):
    """How much of `colour` each page pixel holds over what may be under it
    (each of `unders`, the best kept): the share of a blend, and what the
    blend leaves unexplained."""
    c = numpy.array(colour, numpy.float64)
    best_share, best_rest = None, None
    for under in unders:
        span = c - under
        length = numpy.maximum((span * span).sum(axis=2), 1.0)
        share = ((page - under) * span).sum(axis=2) / length
        rest = page - under - share[:, :, None] * span
        rest = numpy.sqrt((rest * rest).sum(axis=2))
        if best_rest is None:
            best_share, best_rest = share, rest
        else:
            better = rest < best_rest
            best_share, best_rest = numpy.where(better, share, best_share), numpy.minimum(rest, best_rest)
    return best_share, best_rest


def blended_near(page, unders, y, x, reach, colour):
    """Whether a page pixel within `reach` of (y, x) holds a fifth or more
    of `colour` blended with one other line's colour over what is under."""
    h, w = page.shape[:2]
    c = numpy.array(colour, numpy.float64)
    for j in range(max(0, y - reach), min(h, y + reach + 1)):
        for i in range(max(0, x - reach), min(w, x + reach + 1)):
            for under in unders:
                base = under[j, i]
                for other in EDGES:
                    basis = numpy.stack([c - base, numpy.array(other, numpy.float64) - base], axis=1)
                    (a, b), *_ = numpy.linalg.lstsq(basis, page[j, i] - base, rcond=None)
                    if a >= 0.2 and b >= 0 and numpy.linalg.norm(basis @ (a, b) - (page[j, i] - base)) < 48:
                        return True
    return False


def blobs(mask):
    """The centres of the 4-connected pixel groups of `mask`."""
    seen, centres = set(), []
    for start in zip(*numpy.nonzero(mask)):
        if start in seen:
            continue
        group, todo = [], [start]
        seen.add(start)
        while todo:
            y, x = todo.pop()
            group.append((y, x))
            for q in ((y + 1, x), (y - 1, x), (y, x + 1), (y, x - 1)):
                if 0 <= q[0] < mask.shape[0] and 0 <= q[1] < mask.shape[1] and mask[q] and q not in seen:
                    seen.add(q)
                    todo.append(q)
        centres.append(numpy.mean(group, axis=0))
    return centres


def compare(name, page_png, native_png, reach):
    """The page draws anti-aliased, the program not: a page pixel holds a
    line's colour where it is more than half that colour over what the
    program has under its lines. Each colour's pixels of one picture lie
    within `reach` pixels of that colour's in the other; the end marks'
    centres within 1 pixel; away from lines, the pictures agree to a few
    steps of colour."""
    page, native = png_pixels(page_png).astype(numpy.float64), png_pixels(native_png)
    check(page.shape == native.shape, "%s: the page's picture is %s, the program's %s" % (name, page.shape, native.shape))
    if page.shape != native.shape:
        return
    lines = numpy.zeros(native.shape[:2], bool)
    for colour in EDGES:
        lines |= (native == colour).all(axis=2)
    # What is under the lines: each line pixel takes a neighbour's colour.
    under, filled = native.astype(numpy.float64), ~lines
    for dy, dx in [(0, 1), (0, -1), (1, 0), (-1, 0), (1, 1), (-1, -1), (1, -1), (-1, 1)] * 3:
        shifted, known = numpy.roll(under, (dy, dx), (0, 1)), numpy.roll(filled, (dy, dx), (0, 1))
        take = ~filled & known
        under[take], filled = shifted[take], filled | take
    # A page pixel is a colour's when that colour, blended over what is
    # under, explains it best and well (a crossing of two lines is neither's).
    # A line on the page may lie over either side of where two faces meet.
    unders = [numpy.roll(under, (dy, dx), (0, 1)) for dy in (-1, 0, 1) for dx in (-1, 0, 1)]
    inks = [ink(page, unders, colour) for colour in EDGES]
    best = numpy.argmin([rest for _, rest in inks], axis=0)
    far, marks_off = 0, 0
    for k, colour in enumerate(EDGES):
        theirs = (native == colour).all(axis=2)
        share, rest = inks[k]
        clear = (best == k) & (rest < 24)
        ours, some = clear & (share >= 0.5), (share >= 0.2) & (rest < 48)
        missing = [(y, x) for y, x in zip(*numpy.nonzero(theirs & ~near(some, reach)))
                   if not blended_near(page, unders, y, x, reach, colour)]
        far += int((ours & ~near(theirs, reach)).sum()) + len(missing)
        # End marks: near what stays of the program's pixels of the colour
        # after a 3 x 3 erosion, where the most of the colour is in 3 x 3
        # pixels, in either picture.
        def most(weight, y, x):
            box = sum(numpy.roll(weight, (dy, dx), (0, 1)) for dy in (-1, 0, 1) for dx in (-1, 0, 1))
            window = box[max(0, y - 3):y + 4, max(0, x - 3):x + 4]
            return numpy.argwhere(window >= window.max() - 1e-6).mean(axis=0) + (max(0, y - 3), max(0, x - 3))
        weight = numpy.clip(share, 0, 1) * (rest < 48)
        for centre in blobs(~near(~theirs, 1)):
            y, x = int(round(centre[0])), int(round(centre[1]))
            marks_off += int(numpy.abs(most(weight, y, x) - most(theirs.astype(float), y, x)).max() > 1.0)
    # Away from lines and from where faces meet (drawn smooth in the page).
    meets = numpy.zeros_like(lines)
    meets[:, 1:] |= (native[:, 1:] != native[:, :-1]).any(axis=2)
    meets[1:, :] |= (native[1:, :] != native[:-1, :]).any(axis=2)
    away = ~near(lines, 2) & ~near(meets, 1)
    steps = int((numpy.abs(page - native).max(axis=2)[away] > 8).sum())
    print("%s: %d pixels far from their colour, %d end marks apart, %d pixels off away from lines" %
          (name, far, marks_off, steps))
    check(far == 0, "%s: %d pixels without their colour within %d pixels" % (name, far, reach))
    check(marks_off == 0, "%s: %d end marks more than a pixel apart" % (name, marks_off))
    check(steps == 0, "%s: %d pixels away from lines differ" % (name, steps))


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


def tap(driver, x, y, held=0.0):
    """A finger down at (x, y) of the canvas, in CSS pixels, and up `held` seconds later."""
    left, top = driver.execute_script("var r = document.getElementById('canvas').getBoundingClientRect();"
                                      "return [r.left, r.top];")
    for kind, points in (("touchStart", [{"x": left + x, "y": top + y}]), ("touchEnd", [])):
        driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": kind, "touchPoints": points})
        time.sleep(held)


def js(driver, script, *args):
    return driver.execute_script(script, *args)


def checked(driver, control):
    return js(driver, "var r = document.querySelector('input[name=' + arguments[0] + ']:checked');"
                      "return r ? r.value : null;", control)


def interface(driver, page, build):
    """The controls in words: the picker, the notation field, the controls
    following keys both ways, the key list, sliders and the address."""
    said = subprocess.run([os.path.join(build, "duals-explorer"), "--conway", "xyz", "--info"], capture_output=True,
                          text=True).stderr.splitlines()[0].replace("duals-explorer: ", "", 1)
    # A refused notation leaves the cube with working controls.
    open_page(driver, page, "conway=xyz")
    wait_for(driver, lambda: title(driver) == "heksaedar x 30 y 45" and message(driver) == said, "conway=xyz told")
    before = canvas_png(driver)
    driver.find_element("id", "faces-shaded").click()
    wait_for(driver, lambda: canvas_png(driver) != before, "a control works after conway=xyz")
    # A key moves its control; the key list is a dialog Esc closes.
    for key, control, value in (("f", "faces", "translucent"), ("d", "show", "solid"), ("n", "numbers", "solid")):
        ActionChains(driver).send_keys(key).perform()
        wait_for(driver, lambda: checked(driver, control) == value, "the key %s sets %s to %s" % (key, control, value))
    ActionChains(driver).send_keys("?").perform()
    wait_for(driver, lambda: js(driver, "return document.getElementById('keys').open;"), "? opens the key list")
    ActionChains(driver).send_keys("\ue00c").perform()
    wait_for(driver, lambda: not js(driver, "return document.getElementById('keys').open;"), "Esc closes it")
    # The notation field says the command line's message as it is typed.
    field = driver.find_element("id", "notation")
    field.send_keys("xyz")
    wait_for(driver, lambda: driver.find_element("id", "notation-said").text == said, "the field says %r" % said)
    # A solid by its name, in the title and the text.
    Select(driver.find_element("id", "model-picker")).select_by_visible_text("truncated icosahedron")
    wait_for(driver, lambda: title(driver).startswith("truncated icosahedron x ") and
             "truncated icosahedron" in driver.find_element("id", "names").text, "truncated icosahedron chosen")
    # A model by notation shows its notation in the field.
    open_page(driver, page, "conway=tI")
    wait_for(driver, lambda: js(driver, "return document.getElementById('notation').value;") == "tI", "tI in the field")
    # The morph slider at 0.5 draws what ?morph=0.5 draws.
    open_page(driver, page, "solid=4&morph=0.5")
    wait_for(driver, lambda: title(driver).startswith("dodekaedar"), "?morph=0.5")
    wanted = canvas_png(driver)
    open_page(driver, page, "solid=4")
    wait_for(driver, lambda: title(driver) == "dodekaedar x 30 y 45", "dodekaedar")
    js(driver, "var m = document.getElementById('morph'); m.value = '0.5'; m.dispatchEvent(new Event('input'));")
    wait_for(driver, lambda: canvas_png(driver) == wanted, "the slider at 0.5 draws ?morph=0.5")
    # The address follows the view: three controls and a drag, reloaded.
    for radio in ("back-dashed", "numbers-both", "palette-colourblind"):
        driver.find_element("id", radio).click()
    canvas = driver.find_element("id", "canvas")
    ActionChains(driver).move_to_element(canvas).click_and_hold().move_by_offset(-30, 0).release().perform()
    wait_for(driver, lambda: "palette=colourblind" in driver.current_url and "angles=" in driver.current_url,
             "the address follows the view")
    time.sleep(0.3)
    shown, address = canvas_png(driver), driver.current_url
    driver.get(address)
    wait_for(driver, lambda: canvas_png(driver) == shown, "the address %s draws the same again" % address)


def languages(driver, page):
    """The address's language, then the control's: the page's language,
    the control and the address follow."""
    def spoken():
        return js(driver, "return [document.documentElement.lang, document.getElementById('language').value];")
    open_page(driver, page, "lang=sr")
    wait_for(driver, lambda: spoken() == ["sr-Cyrl", "sr"], "?lang=sr speaks Serbian in Cyrillic")
    Select(driver.find_element("id", "language")).select_by_value("sr@latin")
    wait_for(driver, lambda: spoken() == ["sr-Latn", "sr@latin"] and "lang=sr%40latin" in driver.current_url,
             "the control speaks Latin letters, kept in the address")
    driver.get(driver.current_url)
    wait_for(driver, lambda: spoken() == ["sr-Latn", "sr@latin"], "the address reloads in Latin letters")
    # Counted faces by Serbian plural rules, from the page's own catalogues.
    for query, counted in (("lang=sr@latin&solid=2", ["6 kvadrata", "8 trouglova"]),
                           ("lang=sr&conway=tI", ["12 петоуглова", "20 шестоуглова", "60 троуглова"])):
        open_page(driver, page, query)
        wait_for(driver, lambda: all(c in js(driver, "return document.getElementById('info').innerText;")
                                     for c in counted), "%s counts %s" % (query, ", ".join(counted)))


def pseudo_language(driver, page, temp):
    """The page in a pseudo-language (every catalogue text marked, put in
    place of the Latin Serbian before the page first reads it): no text a
    person reads, the key list and the labels read aloud included, is left
    unmarked. The language control names each language in itself."""
    mo = os.path.join(temp, "pseudo.mo")
    write_catalogue(os.path.join(ROOT, "po", "duals-explorer.pot"), mo)
    with open(mo, "rb") as f:
        catalogue = base64.b64encode(f.read()).decode()
    open_page(driver, page, "lang=en&conway=tI&dual=reciprocal&numbers=both&highlight=face:1")
    wait_for(driver, lambda: title(driver).startswith("tI"), "the page before the pseudo-language")
    js(driver, "Module.FS.writeFile('/locale/sr@latin/LC_MESSAGES/duals-explorer.mo',"
               "Uint8Array.from(atob(arguments[0]), function (c) { return c.charCodeAt(0); }));", catalogue)
    Select(driver.find_element("id", "language")).select_by_value("sr@latin")
    wait_for(driver, lambda: "\u27e6" in title(driver), "the pseudo-language in the title")
    js(driver, "document.activeElement.blur();")
    ActionChains(driver).send_keys("?").perform()
    wait_for(driver, lambda: js(driver, "return document.getElementById('keys').open;"), "its key list")
    text = js(driver, """
        var language = document.getElementById('language'), parts = [document.title];
        document.querySelectorAll('body *').forEach(function (e) {
          if (e === language || language.contains(e) || e.id == 'message' || e.closest('script, style')) return;
          e.childNodes.forEach(function (n) { if (n.nodeType == 3) parts.push(n.textContent); });
          ['aria-label', 'title', 'placeholder', 'label'].forEach(function (a) {
            if (e.hasAttribute(a)) parts.push(e.getAttribute(a));
          });
        });
        return parts.join('\\n');""")
    left = left_english(text)
    check(not left, "the page leaves %s unmarked in the pseudo-language" % sorted(set(left)))


def accessible(driver, state):
    """Whether axe-core finds nothing on the page as it is (the least it
    must not find: anything serious or critical)."""
    with open(AXE) as f:
        driver.execute_script(f.read())
    found = driver.execute_async_script(
        "var done = arguments[arguments.length - 1]; axe.run(document).then(r => done(r.violations"
        ".map(v => v.impact + ': ' + v.id + ' at ' + v.nodes.map(n => n.target.join(' ')).join(', '))));")
    print("axe-core, %s: %d found, %d serious or critical" %
          (state, len(found), len([f for f in found if re.match("serious|critical", f)])))
    check(not found, "axe-core, %s: %s" % (state, found))


def keyboard(driver, page):
    """The page by keyboard: Tab moves the focus, a choice's and a slider's
    arrows move them; axe-core in each of AXE_STATES."""
    for state, action, ready in AXE_STATES:
        open_page(driver, page, "")
        wait_for(driver, lambda: title(driver) == "heksaedar x 30 y 45", "the page for " + state)
        action(driver)
        wait_for(driver, lambda: ready(driver), state)
        accessible(driver, state)
    open_page(driver, page, "")
    wait_for(driver, lambda: title(driver) == "heksaedar x 30 y 45", "the page for the keyboard")
    ActionChains(driver).send_keys("\ue004").perform()
    check(js(driver, "return document.activeElement.id;") == "model-picker" and title(driver) == "heksaedar x 30 y 45",
          "Tab moves to the picker, not to the next model")
    driver.find_element("id", "faces-off").click()
    js(driver, "document.getElementById('morph').focus();")
    ActionChains(driver).send_keys("\ue014").perform()
    js(driver, "document.getElementById('faces-off').focus();")
    ActionChains(driver).send_keys("\ue014").perform()
    wait_for(driver, lambda: checked(driver, "faces") == "translucent" and title(driver) == "heksaedar x 30 y 45 t 0.01",
             "the arrows move a choice and a slider, not the model")


def presentation(driver, page):
    """The presentation: the numbers and the text twice their size (the
    digits' ink four times, less what the heavier lines cover), lines
    twice as heavy (on a model drawn a tenth smaller, to keep the numbers
    inside), the controls hidden until the pointer moves."""
    def measured():
        pixels = png_pixels(canvas_png(driver))
        font = js(driver, "return parseFloat(getComputedStyle(document.querySelector('#info p')).fontSize);")
        return (pixels == TEXT).all(axis=2).sum(), (pixels == BLUE).all(axis=2).sum(), font
    hidden = "return getComputedStyle(document.getElementById('controls')).display == 'none';"
    open_page(driver, page, "solid=2&show=solid&numbers=solid&aliased")
    wait_for(driver, lambda: title(driver) == "heksaedar x 30 y 45", "the cube to present")
    digits, lines, font = measured()
    ActionChains(driver).send_keys("p").perform()
    wait_for(driver, lambda: measured()[0] > digits, "p presents")
    wait_for(driver, lambda: js(driver, hidden), "the controls hide")
    big_digits, big_lines, big_font = measured()
    check(big_digits >= 3 * digits and big_lines >= 1.5 * lines and big_font >= 2 * font,
          "presenting: digits' ink %d to %d, lines' %d to %d, text %.0f to %.0f px" %
          (digits, big_digits, lines, big_lines, font, big_font))
    ActionChains(driver).move_to_element_with_offset(driver.find_element("id", "canvas"), 5, 5).perform()
    wait_for(driver, lambda: not js(driver, hidden), "the pointer moved shows the controls")
    ActionChains(driver).send_keys("p").perform()
    wait_for(driver, lambda: measured() == (digits, lines, font), "p again ends the presentation")


def phone(page):
    """At 390 x 844 on a touch screen: the drawing has 60 % of the height,
    the controls fold into a panel of 44-pixel targets."""
    driver = chromium(size="390,844")
    try:
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                               {"width": 390, "height": 844, "deviceScaleFactor": 2, "mobile": True})
        driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 2})
        driver.get("file://%s?solid=4" % page)
        wait_for(driver, lambda: title(driver) == "dodekaedar x 30 y 45", "the phone's page")
        time.sleep(0.3)
        height, wide, panel = js(driver, "return [document.getElementById('canvas').getBoundingClientRect().height"
                                         " / innerHeight, document.documentElement.scrollWidth,"
                                         " document.getElementById('panel').hidden];")
        check(height >= 0.6 and wide <= 390 and panel, "phone: drawing %.2f of the height, page %d px wide, "
              "panel hidden %s" % (height, wide, panel))
        driver.find_element("id", "panel-toggle").click()
        small = js(driver, "return Array.from(document.querySelectorAll('#panel button, #panel select, "
                           "#panel input:not([type=radio]), #panel .choice, #choose button')).filter(e => e.getClientRects().length)"
                           ".map(e => e.getBoundingClientRect()).filter(r => r.height < 44 || r.width < 44).length;")
        check(not js(driver, "return document.getElementById('panel').hidden;") and small == 0,
              "phone: the panel opens, %d targets under 44 px" % small)
        accessible(driver, "phone, the panel open")
    finally:
        driver.quit()


def face_sides(pdf):
    """The sides in mm of the coloured four-cornered faces on a PDF's first
    page, as poppler draws them (grey flaps and white paper left out)."""
    svg = subprocess.run(["pdftocairo", "-svg", pdf, "-"], capture_output=True, text=True).stdout
    sides = []
    for fill, d, matrix in re.findall(r'<path style="[^"]*fill:rgb\(([^)]*)\)[^"]*" d="(M [^LZ]+(?: L [^LZ]+){3} Z)[^"]*"'
                                      r'(?: transform="matrix\(([^)]*)\)")?', svg):
        if len(set(fill.split(","))) == 1:
            continue
        a, b, c, e, f, g = map(float, matrix.split(",")) if matrix else (1, 0, 0, 1, 0, 0)
        xy = list(map(float, re.findall(r"[-0-9.]+", d)))
        corners = [(a * x + c * y + f, b * x + e * y + g) for x, y in zip(xy[0::2], xy[1::2])]
        sides += [numpy.hypot(p[0] - q[0], p[1] - q[1]) * 25.4 / 72 for p, q in zip(corners, corners[1:] + corners[:1])]
    return sides


def number_heights(pdf):
    words = subprocess.run(["pdftotext", "-bbox", pdf, "-"], capture_output=True, text=True).stdout
    return sorted((t, float(y1) - float(y0)) for y0, y1, t in
                  re.findall(r'yMin="([0-9.]+)" xMax="[0-9.]+" yMax="([0-9.]+)">([0-9]+)</word>', words))


def printed_net(driver, page, build, temp):
    """The cube's net chosen at 100 mm on Letter, printed as the browser
    prints it: its pages, its edge and its numbers as the command line's PDF."""
    driver.get("file://%s?solid=2&show=solid&page=letter" % page)
    wait_for(driver, lambda: title(driver) == "heksaedar x 30 y 45", "the cube to print")
    driver.find_element("id", "edge-mm").send_keys("100\t")
    wait_for(driver, lambda: "page=letter&edge-mm=100" in driver.current_url, "the net's settings in the address")
    js(driver, "window.print = function () { window.printed = true; };")
    driver.find_element("id", "print-net").click()
    wait_for(driver, lambda: js(driver, "return window.printed && document.querySelectorAll('.sheet svg').length;"),
             "Print net opens the print view and the print dialog")
    options = PrintOptions()
    options.page_width, options.page_height = 21.59, 27.94
    options.margin_top = options.margin_bottom = options.margin_left = options.margin_right = 0
    printed, ref = os.path.join(temp, "printed.pdf"), os.path.join(temp, "ref-net.pdf")
    with open(printed, "wb") as f:
        f.write(base64.b64decode(driver.print_page(options)))
    native(build, "--solid", "2", "--show", "solid", "--page", "letter", "--edge-mm", "100", "--net", ref)
    pages = [re.search(r"Pages: +([0-9]+)", subprocess.run(["pdfinfo", pdf], capture_output=True, text=True).stdout)[1]
             for pdf in (printed, ref)]
    sides = face_sides(printed)
    print("printed net: %s pages (the command line's %s), face sides %.2f to %.2f mm" % (*pages, min(sides), max(sides)))
    check(pages[0] == pages[1], "the printed net has %s pages, the command line's %s" % tuple(pages))
    check(sides and all(abs(side - 100) <= 0.5 for side in sides), "the printed edges are %s mm" % sides)
    ours, theirs = number_heights(printed), number_heights(ref)
    check([t for t, _ in ours] == [t for t, _ in theirs] and all(h >= r - 0.01 for (_, h), (_, r) in zip(ours, theirs)),
          "the printed numbers %s against the command line's %s" % (ours, theirs))
    ActionChains(driver).send_keys("\ue00c").perform()
    wait_for(driver, lambda: js(driver, "return document.getElementById('print-view').hidden;"), "Esc closes the print view")


def main():
    page, build = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    temp = tempfile.mkdtemp(prefix="page-test-")
    downloads = os.path.join(temp, "downloads")
    os.mkdir(downloads)
    driver = chromium(downloads=downloads)
    try:
        for query, wanted, reach in FRAMES:
            open_page(driver, page, query)
            wait_for(driver, lambda: title(driver) == wanted, "%s: the title %r" % (query, wanted))
            ref = os.path.join(temp, "ref.png")
            native(build, "--png", ref, "--aliased", *["--" + o for o in query.split("&")])
            with open(ref, "rb") as f:
                compare(query, canvas_png(driver), f.read(), reach)
        for query, wanted in REFUSED:
            args = [unquote(part) for option in query.split("&")
                    for name, _, value in [option.partition("=")] for part in ["--" + name] + value.split(",") if part]
            said = subprocess.run([os.path.join(build, "duals-explorer"), *args, "--info"], capture_output=True,
                                  text=True).stderr.splitlines()[0].replace("duals-explorer: ", "", 1)
            open_page(driver, page, query)
            wait_for(driver, lambda: title(driver) == wanted and message(driver) == said,
                     "%s: the title %r and the message %r" % (query, wanted, said))

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
        # `a`: aliased, so only the palette's own colours are left.
        smooth = canvas_png(driver)
        ActionChains(driver).send_keys("a").perform()
        wait_for(driver, lambda: canvas_png(driver) != smooth, "the key a")
        colours = {tuple(p) for p in png_pixels(canvas_png(driver)).reshape(-1, 3)}
        check(colours <= set(EDGES) | {BACKGROUND}, "aliased, the page shows %d colours" % len(colours))

        # A model from the address, and a click lighting what the command
        # line's --pick names at the same pixel.
        open_page(driver, page, "conway=tI&faces=shaded")
        wait_for(driver, lambda: title(driver) == "tI x 30 y 45", "tI from the address")
        canvas = driver.find_element("id", "canvas")
        driver.execute_script("arguments[0].addEventListener('mousedown', "
                              "e => { window.pressed = e.offsetX + ',' + e.offsetY; });", canvas)
        ActionChains(driver).move_to_element(canvas).move_by_offset(40, -30).click().perform()
        pressed = driver.execute_script("return window.pressed;")
        picked = subprocess.run([os.path.join(build, "duals-explorer"), "--conway", "tI", "--faces", "shaded",
                                 "--size", SIZE, "--info", "--pick", pressed],
                                check=True, capture_output=True, text=True).stdout.splitlines()[-1]
        wait_for(driver, lambda: title(driver) == "tI x 30 y 45 " + picked, "the click at %s lights %s" % (pressed, picked))
        open_page(driver, page, "conway=tI&faces=shaded")
        wait_for(driver, lambda: title(driver) == "tI x 30 y 45", "tI again")
        tap(driver, *map(int, pressed.split(",")))
        wait_for(driver, lambda: title(driver) == "tI x 30 y 45 " + picked, "the tap at %s lights %s" % (pressed, picked))
        # Held, even on another part, it lights nothing and puts the light out.
        x, y = map(int, pressed.split(","))
        tap(driver, x - 120, y + 80, held=0.8)
        wait_for(driver, lambda: title(driver) == "tI x 30 y 45", "a long press puts the light out")

        # A good OFF file (its name no option), then a damaged one and one too
        # big for the page's memory, which leave the model shown.
        picker = driver.find_element("id", "open")
        cube = os.path.join(temp, "-cube.off")
        shutil.copy(os.path.join(ROOT, "tests/data/model/cube.off"), cube)
        picker.send_keys(cube)
        wait_for(driver, lambda: title(driver) == "-cube x 30 y 45", "-cube.off opened")
        labels = js(driver, "return Array.from(document.querySelectorAll('#model-picker option'), o => o.text);")
        check("-cube.off" in labels and "truncated icosahedron" in labels and "cube" in labels,
              "the opened file joins the picker's entries: %s" % labels[-3:])
        damaged = os.path.join(temp, "t.off")
        with open(damaged, "w") as f:
            f.write("OFF\nx 1 0\n")
        picker.send_keys(damaged)
        wanted = "t.off:2: bad counts: 'x' is not a count"
        wait_for(driver, lambda: wanted in message(driver), "t.off refused")
        check(title(driver) == "-cube x 30 y 45", "the title after t.off is %r" % title(driver))
        huge, n = os.path.join(temp, "huge.off"), 3000000  # a strip of triangles, about 110 MB
        with open(huge, "w") as f:
            f.write("OFF\n%d %d 0\n" % (n, n - 2) + "".join("%d %d 0\n" % (i // 2, i % 2) for i in range(n)))
            f.write("".join("3 %d %d %d\n" % (k + k % 2, k + 1 - k % 2, k + 2) for k in range(n - 2)))
        picker.send_keys(huge)
        wait_for(driver, lambda: message(driver) == "duals-explorer: out of memory", "huge.off: out of memory")
        check(title(driver) == "-cube x 30 y 45", "the title after huge.off is %r" % title(driver))
        os.remove(huge)

        interface(driver, page, build)
        languages(driver, page)
        pseudo_language(driver, page, temp)
        printed_net(driver, page, build, temp)
        keyboard(driver, page)
        presentation(driver, page)
        phone(page)

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
        # The solid to print, as the command line's --stl and --glb write it.
        open_page(driver, page, "show=solid")
        wait_for(driver, lambda: title(driver) == "heksaedar x 30 y 45", "the cube alone")
        for kind in ("stl", "glb"):
            driver.find_element("id", "save-" + kind).click()
            name, ref = os.path.join(downloads, "heksaedar-x30-y45." + kind), os.path.join(temp, "ref." + kind)
            wait_for(driver, lambda: os.path.exists(name), "the %s download" % kind)
            native(build, "--show", "solid", "--" + kind, ref)
            with open(ref, "rb") as f, open(name, "rb") as g:
                check(f.read() == g.read(), "the page's %s differs from the program's" % kind)
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
