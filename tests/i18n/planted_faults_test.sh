#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The catalog checks pass on a whole catalog (filled by msgen) and fail on each fault
# planted in it: a fuzzy text, a lost %1, a lost &, an untranslated text, a missing help
# anchor, a missing browser section, a glossary word not used.
# Usage: planted_faults_test.sh check_catalogs.py ENGLISH_HELP
set -euo pipefail
check=(python3 "$1") help=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
expect() { # expect pass|fail WHAT CHECK ARGS...
  local want=$1 what=$2 got=pass
  shift 2
  "${check[@]}" "$@" >"$work/out" 2>&1 || got=fail
  [ "$got" = "$want" ] || { echo "FAILED: $what: the check gave $got"; cat "$work/out"; failed=1; }
}
cat >"$work/t.pot" <<'POT'
msgid ""
msgstr ""
"Content-Type: text/plain; charset=UTF-8\n"

#, qt-format
msgid "Address %1 holds %2"
msgstr ""

msgid "&Open..."
msgstr ""

msgid "The program counter points at the next instruction"
msgstr ""

msgid "INPUT reads a byte"
msgstr ""
POT
msgen --output-file="$work/de.po" "$work/t.pot"
printf 'english\ttranslation\tnote\nprogram counter\tprogram counter / PC\t\ninput\tEingabe\t\n' \
  >"$work/glossary.tsv"
printf 'language\tterm\tenglish text\n' >"$work/none.tsv"
# Plants a fault with sed: a pattern that no longer matches fails the test.
plant() { # plant SED_SCRIPT ORIGINAL FAULTY
  sed "$1" "$2" >"$3"
  ! cmp -s "$2" "$3" || { echo "FAILED: nothing planted by $1"; failed=1; }
}
mkdir "$work/bad"

expect pass "a whole catalog" catalog "$work/de.po" "$work/t.pot"
bad=$work/bad/de.po
plant '/^msgid "&Open/i #, fuzzy' "$work/de.po" "$bad"
expect fail "a fuzzy text" catalog "$bad" "$work/t.pot"
plant 's/^msgstr "Address %1 holds %2"/msgstr "Address holds %2"/' "$work/de.po" "$bad"
expect fail "a lost %1" catalog "$bad" "$work/t.pot"
plant 's/^msgstr "&Open..."/msgstr "Open..."/' "$work/de.po" "$bad"
expect fail "a lost &" catalog "$bad" "$work/t.pot"
plant 's/^msgstr "The program.*"/msgstr ""/' "$work/de.po" "$bad"
expect fail "an untranslated text" catalog "$bad" "$work/t.pot"

expect pass "a glossary kept" glossary "$work/de.po" "$work/glossary.tsv" "$work/none.tsv"
plant 's/^msgstr "The program counter/msgstr "The instruction pointer/' "$work/de.po" "$bad"
expect fail "a glossary word not used" glossary "$bad" "$work/glossary.tsv" "$work/none.tsv"
printf 'de\tprogram counter\tThe program counter points at the next instruction\n' >>"$work/none.tsv"
expect pass "a reviewed exception" glossary "$bad" "$work/glossary.tsv" "$work/none.tsv"

expect pass "the English help itself" help "$help" "$help"
plant '0,/<a name="topic-3"><\/a>/s///' "$help" "$work/anchor.zev"
expect fail "a missing help anchor" help "$help" "$work/anchor.zev"
plant '0,/<!-- \/browser -->/{/<!-- \/browser -->/d}' "$help" "$work/browser.zev"
expect fail "a missing browser mark" help "$help" "$work/browser.zev"
exit $failed
