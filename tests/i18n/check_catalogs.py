#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks that keep the translations whole; each prints what is wrong and exits 1.
  pot SOURCE_DIR                   po/volpar.pot holds exactly the texts marked in the sources
  catalog PO POT                   every text translated, none fuzzy, the placeholders kept
  help ENGLISH TRANSLATED          the same anchors and browser-only sections as the English help
  glossary PO GLOSSARY EXCEPTIONS  a text holding a glossary term holds the term's translation
"""
import gettext
import io
import re
import subprocess
import sys
import tempfile
from pathlib import Path


def run(*command):
    done = subprocess.run(command, capture_output=True, text=True)
    return done.returncode == 0, done.stdout + done.stderr


def check_pot(source):
    with tempfile.TemporaryDirectory() as work:
        fresh = str(Path(work) / "volpar.pot")
        ok, out = run("bash", f"{source}/tools/i18n/update-po.sh", fresh)
        # Every text of each file is in the other; translations are not looked at.
        for a, b in ((f"{source}/po/volpar.pot", fresh), (fresh, f"{source}/po/volpar.pot")):
            ok, more = run("msgcmp", "--use-untranslated", "--use-fuzzy", a, b) if ok else (ok, "")
            out += more
    return ok, out + ("" if ok else "po/volpar.pot is stale: run tools/i18n/update-po.sh\n")


def translations(po):
    """Each text translated and its translation (a plural's first forms), lines joined."""
    done = subprocess.run(["msgfmt", "--output-file=-", po], capture_output=True)
    if done.returncode:
        sys.exit(done.stderr.decode())
    catalog = gettext.GNUTranslations(io.BytesIO(done.stdout))._catalog
    return [(key.split("\x04")[-1] if isinstance(key, str) else key[0], " ".join(value.split()))
            for key, value in catalog.items()
            if key and value and (isinstance(key, str) or key[1] == 0)]


def check_catalog(po, pot):
    # Without --use-untranslated and --use-fuzzy, msgcmp counts such texts as missing. The
    # build's msgfmt checks the & marks; the texts carry no format flag for it to check the
    # placeholders by, so they are compared here.
    ok, out = run("msgcmp", po, pot)
    marks = lambda text: sorted(set(re.findall(r"%\d", text)))
    lost = [f'{po}: "{e}" has {marks(e)}, its translation {marks(t)}\n'
            for e, t in translations(po) if marks(e) != marks(t)]
    return ok and not lost, out + "".join(lost)


def check_help(english, translated):
    def outline(path):
        text = Path(path).read_text(encoding="utf-8")
        anchors = sorted(re.findall(r'<a name="([^"]+)"', text))
        marks = [line.strip() for line in text.splitlines()
                 if line.strip() in ("<!-- browser -->", "<!-- /browser -->")]
        return anchors, marks

    (anchors, marks), (got_anchors, got_marks) = outline(english), outline(translated)
    problems = [f"anchor {a} missing" for a in anchors if a not in got_anchors]
    problems += [f"anchor {a} not in the English help" for a in got_anchors if a not in anchors]
    if marks != got_marks:
        problems.append(f"browser sections: {got_marks} where the English help has {marks}")
    return not problems, "".join(f"{translated}: {p}\n" for p in problems)


def words(text):
    """A term or a translation without its accelerator mark and its (explanations)."""
    return re.sub(r"\s*\([^)]*\)", "", text.replace("&", "")).strip()


def read_tsv(path):
    lines = Path(path).read_text(encoding="utf-8").splitlines()[1:]
    return [line.split("\t") for line in lines if line.strip()]


def check_glossary(po, glossary, exceptions):
    language = Path(po).stem
    allowed = {(row[1], row[2]) for row in read_tsv(exceptions) if row[0] == language}
    texts = translations(po)
    problems = []
    for term, translation, *_ in read_tsv(glossary):
        # A single word has too many senses (input a digit, the Input box) to be held to one
        # translation, and a caption or a sentence in the glossary is a model, not a rule: a
        # term of two words or more in lower case names one thing of the machine.
        if len(words(term).split()) < 2 or words(term) != words(term).lower():
            continue
        pattern = re.compile(r"(?<!\w)" + re.escape(words(term)) + r"(?!\w)", re.IGNORECASE)
        choices = [words(choice).casefold() for choice in translation.split(" / ")]

        for english, shown in texts:
            # A word in capitals is an op code or a panel's title, not the plain term.
            held = any(not found.group().isupper()
                       for found in pattern.finditer(english.replace("&", "")))
            if (held and (term, english) not in allowed
                    and not any(c in shown.replace("&", "").casefold() for c in choices)):
                problems.append(f'{po}: "{english}" holds "{term}" but not "{translation}"\n')
    return not problems, "".join(problems)


if __name__ == "__main__":
    passed, report = globals()["check_" + sys.argv[1]](*sys.argv[2:])
    sys.stdout.write(report)
    sys.exit(0 if passed else 1)
