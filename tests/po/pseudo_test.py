#!/usr/bin/env python3
"""pseudo_test.py BUILD SOURCE: the explorer run in a pseudo-language (every
catalogue text marked ⟦...⟧, see pseudo.py) leaves no English unmarked in
what a person reads: --help, --info, --list, messages and errors, a net's
footer, and (with a display) the window's title. The explorer is copied
into a folder laid out as installed, beside the pseudo catalogue as its
sr@latin, and run with --lang sr@latin."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from pseudo import left_english, write_catalogue

build, source = sys.argv[1], sys.argv[2]
with tempfile.TemporaryDirectory() as temp:
    os.makedirs(os.path.join(temp, "bin"))
    program = os.path.join(temp, "bin", "duals-explorer")
    shutil.copy(os.path.join(build, "duals-explorer"), program)
    catalogue = os.path.join(temp, "share", "locale", "sr@latin", "LC_MESSAGES")
    os.makedirs(catalogue)
    write_catalogue(os.path.join(source, "po", "duals-explorer.pot"), os.path.join(catalogue, "duals-explorer.mo"))
    work = os.path.join(temp, "work")
    shutil.copytree(os.path.join(source, "data"), work)

    def run(*args):
        r = subprocess.run([program, "--lang", "sr@latin", *args], cwd=work, capture_output=True, text=True,
                           timeout=60)
        return r.stdout + r.stderr

    texts = {
        "--help": run("--help"),
        "--info": run("--solid", "2", "--info") + run("--conway", "tI", "--dual", "reciprocal", "--info"),
        "--list": run("--catalogue", "all", "--list"),
        "errors": run("--solid", "9") + run("--conway", "xyz", "--info") + run("missing.off", "--info") +
                  run("--solid", "2", "--highlight", "face:99", "--info") +
                  run("--solid", "2", "--print-as", "frame", "--stl", "f.stl", "--size-mm", "4"),
        "warnings": run("--solid", "2", "--dual", "program", "--print-as", "frame", "--stl", "g.stl"),
    }
    texts["net footer"] = run("--solid", "4", "--net", "n.svg")
    for page in sorted(p for p in os.listdir(work) if p.startswith("n") and p.endswith(".svg")):
        with open(os.path.join(work, page), encoding="utf-8") as f:
            texts["net footer"] += " ".join(re.findall(r"<text[^>]*>([^<]*)</text>", f.read()))
    if os.environ.get("DISPLAY"):
        window = subprocess.Popen([program, "--lang", "sr@latin", "--solid", "2"], cwd=work)
        try:
            title = ""
            for _ in range(50):
                time.sleep(0.2)
                ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "x 30  y 45"],
                                     capture_output=True, text=True).stdout.split()
                if ids:
                    title = subprocess.run(["xprop", "-id", ids[0], "_NET_WM_NAME"], capture_output=True,
                                           text=True).stdout
                    break
            texts["window title"] = title.partition("=")[2] or "(no window) nothing"
        finally:
            window.kill()

failed = 0
for name, text in texts.items():
    left = left_english(text)
    if left:
        failed += 1
        print("%s: unmarked %s in:\n%s" % (name, sorted(set(left)), text))
print("pseudo-language: %d of %d outputs have English left unmarked" % (failed, len(texts)))
sys.exit(1 if failed else 0)
