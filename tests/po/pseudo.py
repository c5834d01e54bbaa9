"""A pseudo-language made from the message template: every translation is its
English marked ⟦like this⟧, so text a person reads that is not marked came
from no catalogue. Used by the explorer's and the page's checks."""
import re
import subprocess

OPEN, CLOSE = "\u27e6", "\u27e7"


def entries(pot_text):
    """The template's messages: (context, id, plural id), the header left out."""
    found = []
    for block in pot_text.split("\n\n"):
        fields, key = {}, None
        for line in block.splitlines():
            m = re.match(r'(msgctxt|msgid_plural|msgid|msgstr(?:\[\d\])?) "(.*)"$', line)
            if m:
                key = m.group(1)
                fields[key] = m.group(2)
            elif line.startswith('"') and key:
                fields[key] += line[1:-1]
        if fields.get("msgid"):
            found.append((fields.get("msgctxt"), fields["msgid"], fields.get("msgid_plural")))
    return found


def mark(english):
    """`english` marked, a line break at its ends kept outside the mark."""
    head = "\\n" if english.startswith("\\n") else ""
    tail = "\\n" if english.endswith("\\n") and len(english) > len(head) + 1 else ""
    return head + OPEN + english[len(head):len(english) - len(tail)] + CLOSE + tail


def pseudo_po(pot_text):
    """The pseudo-language's .po text (English plural rules)."""
    out = ['msgid ""', 'msgstr ""', '"Content-Type: text/plain; charset=UTF-8\\n"',
           '"Plural-Forms: nplurals=2; plural=(n != 1);\\n"', ""]
    for context, english, plural in entries(pot_text):
        if context is not None:
            out.append('msgctxt "%s"' % context)
        out.append('msgid "%s"' % english)
        if plural is None:
            out.append('msgstr "%s"' % mark(english))
        else:
            out += ['msgid_plural "%s"' % plural, 'msgstr[0] "%s"' % mark(english), 'msgstr[1] "%s"' % mark(plural)]
        out.append("")
    return "\n".join(out) + "\n"


def write_catalogue(pot_path, mo_path):
    """Compiles the pseudo-language from the template at `pot_path` into `mo_path`."""
    with open(pot_path, encoding="utf-8") as f:
        po = pseudo_po(f.read())
    subprocess.run(["msgfmt", "--check-format", "-o", mo_path, "-"], input=po.encode(), check=True)


# What is read but no word of ours: option names and their typed values,
# file names, the program's name, format names, the notation's letters, the
# environment's names and CLI11's type names in --help, which stay as typed
# in every language.
TYPED = re.compile(r"--?[A-Za-z0-9][\w@-]*|\binputs\b|[\w.-]+\.(off|svg|OFF|dat|DAT|txt|stl|png|pdf|3mf|glb)\b|"
                   r"duals-explorer|\b(TEXT|FLOAT|INT|UINT|BOOLEAN)\b(:\{[^}]*\}|:[A-Z]+( in \[[^\]]*\])?)?( x \d+)?|"
                   r"\{[\w@,]+\}|\[[^\]]*\|[^\]]*\]|\b\w+(\|\w+)+\b|PREFIX/\S+|#rrggbb|sr@latin|\bPNG\b|\bSVG\b|"
                   r"\bOFF\b|\bSTL\b|\bPDF\b|\b3MF\b|\bglTF\b|\bxyz\b|\btI\b|\bLANGUAGE\b|\bLC_ALL\b|"
                   r"\bLC_MESSAGES\b|\bLANG\b|\bWxH\b|face:\d+")


def left_english(text):
    """The words of `text` a person reads that no catalogue marked."""
    return unmarked(TYPED.sub(" ", text))


def unmarked(text):
    """The words of `text` outside every marked span (spans may nest: a
    translated name put into a translated sentence)."""
    previous = None
    while previous != text:
        previous, text = text, re.sub(OPEN + "[^" + OPEN + CLOSE + "]*" + CLOSE, " ", text)
    return re.findall(r"[A-Za-z][A-Za-z']+", text)
