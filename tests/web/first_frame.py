#!/usr/bin/python3
"""Opens the web page in headless chromium and checks its first frame: the
title the native window opens with, and the canvas saved as a PNG.

    tests/web/first_frame.py PAGE.html OUT.png [QUERY]
"""
import base64
import re
import sys
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service


def main():
    page, out = sys.argv[1], sys.argv[2]
    query = sys.argv[3] if len(sys.argv) > 3 else "size=1024x700"
    options = webdriver.ChromeOptions()
    for flag in ("--headless=new", "--no-sandbox", "--use-gl=swiftshader",
                 "--enable-unsafe-swiftshader", "--window-size=1100,800"):
        options.add_argument(flag)
    options.binary_location = "/usr/bin/chromium"
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        driver.get("file://" + page + "?" + query)
        title = ""
        for _ in range(100):
            title = driver.title
            if title.startswith("heksaedar"):
                break
            time.sleep(0.1)
        message = driver.find_element("id", "message").text
        shot = driver.execute_script("return document.getElementById('canvas').toDataURL('image/png');")
        with open(out, "wb") as f:
            f.write(base64.b64decode(shot.split(",", 1)[1]))
        logs = driver.get_log("browser")
    finally:
        driver.quit()
    wanted = "heksaedar x 30 y 45"
    got = re.sub(r" +", " ", title)
    for entry in logs:
        print("browser:", entry.get("message"))
    print("title:", repr(title), "message:", repr(message))
    if got != wanted:
        print("the title is %r, not %r" % (got, wanted))
        return 1
    print("first frame: title right, canvas in", out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
