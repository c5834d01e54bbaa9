#!/usr/bin/env python3
"""The Cyrillic catalogue's letters: a table of Latin translations, the
English each translates, and the Cyrillic they must become."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools"))
from po_cyrillic import convert, transliterate  # noqa: E402

CASES = [
    ("Ljubičasta NJIVA džep, Đak ćuti: Šta Žuto", "", "Љубичаста ЊИВА џеп, Ђак ћути: Шта Жуто"),
    ("konjugovan, injekcija, nadživeti", "", "конјугован, инјекција, надживети"),
    ("{1} trougla, {2} petouglova", "{1} triangles, {2} pentagons", "{1} троугла, {2} петоуглова"),
    ("{1}-strana piramida, {1}-ugao", "{1}-gonal pyramid, {1}-gon", "{1}-страна пирамида, {1}-угао"),
    ("--show dual prikazuje dual.", "--show dual shows the dual.", "--show dual приказује дуал."),
    ("--show both|solid|dual", "--show both|solid|dual", "--show both|solid|dual"),
    ("Sačuvaj PNG, SVG, OFF, STL, PDF, 3MF i glTF.", "Save", "Сачувај PNG, SVG, OFF, STL, PDF, 3MF и glTF."),
    ("s čuva sliku, a q izlazi", "s saves a picture, q quits", "s чува слику, а q излази"),
    ("Tab sledeći, Shift-Tab prethodni", "Tab next, Shift-Tab previous", "Tab следећи, Shift-Tab претходни"),
    ("DATOTEKA.off u PREFIX/share, boja #rrggbb, sr@latin", "FILE.off in PREFIX/share",
     "ДАТОТЕКА.off у PREFIX/share, боја #rrggbb, sr@latin"),
    ("Veličina WxH, kocka s dualom", "Size WxH", "Величина WxH, коцка с дуалом"),
    ("white, none (providno)", "white, none (transparent)", "white, none (провидно)"),
]

failed = [(latin, transliterate(latin, english), cyrillic) for latin, english, cyrillic in CASES
          if transliterate(latin, english) != cyrillic]
# Only the translations change: the English and the header's other lines stay.
po = ['msgid ""\n', 'msgstr ""\n', '"Language: sr@latin\\n"\n', '\n', 'msgctxt "shell"\n', 'msgid "dual"\n',
      'msgstr "dual"\n', 'msgid "{1} triangle"\n', 'msgid_plural "{1} triangles"\n', 'msgstr[0] "{1} trougao"\n',
      'msgstr[1] ""\n', '"{1} trougla"\n', 'msgid "q quits.\\n"\n', 'msgstr "q izlazi.\\n\\"da\\""\n']
want = po[:2] + ['"Language: sr\\n"\n'] + po[3:6] + ['msgstr "дуал"\n'] + po[7:9] + \
       ['msgstr[0] "{1} троугао"\n', 'msgstr[1] ""\n', '"{1} троугла"\n', po[12], 'msgstr "q излази.\\n\\"да\\""\n']
if convert(po) != want:
    failed.append(("the .po lines", convert(po), want))
for latin, got, cyrillic in failed:
    print(f"{latin!r}: {got!r}, not {cyrillic!r}")
sys.exit(1 if failed else 0)
