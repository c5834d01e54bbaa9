"""Headless chromium through WebDriver, as every script that drives the web
page starts it: software WebGL (swiftshader), a window of `size`, and
downloads, when a folder is given, saved there without asking."""
from selenium import webdriver
from selenium.webdriver.chrome.service import Service


def chromium(size="1100,800", downloads=None):
    options = webdriver.ChromeOptions()
    for flag in ("--headless=new", "--no-sandbox", "--use-gl=swiftshader",
                 "--enable-unsafe-swiftshader", "--window-size=" + size):
        options.add_argument(flag)
    if downloads:
        options.add_experimental_option("prefs", {"download.default_directory": downloads,
                                                  "download.prompt_for_download": False})
    options.binary_location = "/usr/bin/chromium"
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
