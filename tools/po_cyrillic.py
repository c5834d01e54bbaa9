#!/usr/bin/env python3
"""Writes the Cyrillic catalogue (sr) from the Latin one (sr@latin).

    po_cyrillic.py IN.po OUT.po

Serbian has one spelling in two alphabets, letter for letter, so the
Cyrillic catalogue is made, never written by hand. Only the translations
change: lj, nj and dz-caron are one letter each (except where a prefix meets
a root, as in "konjugovan"). What a reader types or the program reads stays
in Latin: {1}-style places for values, options (--show and their values
after them), format and key names, paths and files' extensions, and
all-capital words or single letters that the English text has too (FILE,
the key s). A translation that
means the preposition "s" writes "sa", which stays a word.
"""
import re
import sys

LETTERS = {
    "a": "а", "b": "б", "c": "ц", "č": "ч", "ć": "ћ", "d": "д", "đ": "ђ", "e": "е",
    "f": "ф", "g": "г", "h": "х", "i": "и", "j": "ј", "k": "к", "l": "л", "m": "м",
    "n": "н", "o": "о", "p": "п", "r": "р", "s": "с", "š": "ш", "t": "т", "u": "у",
    "v": "в", "z": "з", "ž": "ж",
}
PAIRS = {"lj": "љ", "nj": "њ", "dž": "џ"}
# Where the two letters belong to a prefix and a root, they stay two.
SPLIT = ("konjug", "konjunk", "injek", "nadž", "podž", "odžal")
# Names that are the same in every language.
KEPT = {"PNG", "SVG", "OFF", "STL", "PDF", "3MF", "glTF", "GLB", "Tab", "Shift", "Shift-Tab", "Esc",
        "Ctrl", "Alt", "Enter", "Space", "Home", "End", "PgUp", "PgDn", "UTF-8", "OpenGL", "WebGL",
        "none"}
EXTENSIONS = {"off", "stl", "png", "svg", "pdf", "3mf", "glb"}
# One-letter Serbian words; never taken for a key of the same letter.
WORDS = {"a", "i", "o", "u"}

TOKEN = re.compile(r"[^\s,;:()\[\]\"'«»„“”!?]+")


def split_at(low, i, pair):
    """Whether the `pair` at `i` of `low` joins a prefix to a root."""
    return any(s.find(pair) <= i and low.startswith(s, i - s.find(pair)) for s in SPLIT if pair in s)


def letters(word):
    """`word` in Cyrillic letters, its case kept."""
    out, i, low = [], 0, word.lower()
    while i < len(word):
        pair = low[i:i + 2]
        if pair in PAIRS and not split_at(low, i, pair):
            out.append(PAIRS[pair].upper() if word[i].isupper() else PAIRS[pair])
            i += 2
            continue
        t = LETTERS.get(low[i])
        out.append(word[i] if t is None else t.upper() if word[i].isupper() else t)
        i += 1
    return "".join(out)


def option(token):
    return len(token) > 1 and token[0] == "-" and token.lstrip("-")[:1].isalnum()


def standalone(token, english):
    return re.search(r"(?<![\w-])" + re.escape(token) + r"(?![\w-])", english) is not None


def kept(token, before, english):
    """Whether `token`, after `before`, stays as written: what is read, not a word."""
    # w, q, x and y are no letters of Serbian: a word with one was typed (white).
    if token in KEPT or re.fullmatch(r"\{\d+\}", token) or option(token) or re.search(r"[wqxyWQXY]", token):
        return True
    # A placeholder's digit makes no name of the word it is joined to: {1}-ugao.
    bare = re.sub(r"\{\d+\}", "", token)
    if re.search(r"\w[/@#_.|=]\w|^#\w", token) or re.search(r"\d", bare) and re.search(r"[A-Za-z]", bare):
        return True
    if re.search(r"[a-z][A-Z]", token):  # glTF, WxH
        return True
    if option(before) and standalone(before + " " + token, english):  # --show dual
        return True
    name = re.fullmatch(r"[A-Z]{2,}|[A-Za-z]", token) and token not in WORDS
    return bool(name) and standalone(token, english)


def transliterate(text, english=""):
    """`text`, a Latin translation of `english`, in Cyrillic."""
    out, last, before = [], 0, ""
    for m in TOKEN.finditer(text):
        # A full stop ends the sentence, not the name before it.
        token = m.group(0).rstrip(".") or m.group(0)
        out.append(text[last:m.start()])
        # A file's name is read, its extension never: DATOTEKA.off.
        stem, dot, extension = token.rpartition(".")
        if dot and extension.lower() in EXTENSIONS and re.fullmatch(r"[^\W_]+", stem):
            out.append((stem if kept(stem, before, english) else letters(stem)) + dot + extension)
        else:
            out.append(token if kept(token, before, english) else letters(token))
        last, before = m.start() + len(token), token
    return "".join(out) + text[last:]


def unquote(line):
    return line[line.index('"') + 1:line.rindex('"')]


def convert(lines):
    """The lines of a Latin .po file as the Cyrillic one's."""
    out, english, into = [], "", False
    for line in lines:
        if line.startswith("msgid"):
            english, into = unquote(line), False
        elif line.startswith('"') and not into:
            english += unquote(line)
        elif line.startswith("msgstr"):
            into = True
        elif not line.startswith('"'):
            into = False
        if into and english == "" and line.startswith('"Language:'):
            line = '"Language: sr\\n"\n'
        elif into and english != "" and '"' in line:
            start, end = line.index('"') + 1, line.rindex('"')
            # Escapes (\n, \", \\) are the file's syntax, never letters.
            parts = re.split(r"(\\.)", line[start:end])
            line = line[:start] + "".join(p if p.startswith("\\") else transliterate(p, english)
                                          for p in parts) + line[end:]
        out.append(line)
    return out


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: po_cyrillic.py IN.po OUT.po")
    with open(sys.argv[1], encoding="utf-8") as f:
        result = convert(f.readlines())
    with open(sys.argv[2], "w", encoding="utf-8") as f:
        f.writelines(result)
