#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Extracts every text marked for translation, and the texts of the desktop entry and the
# metainfo, into po/volpar.pot and merges it into each language's catalog, as translators
# expect: run it after changing a text, then translate what msgfmt --statistics reports as
# untranslated or fuzzy.
#   tools/i18n/update-po.sh [pot]   writes the template only (to the file given), for checks
set -euo pipefail
cd "$(dirname "$0")/../.."
pot="${1:-po/volpar.pot}"
common=(--from-code=UTF-8 --add-location=file --sort-by-file --package-name=VOLPAR
  --copyright-holder='the VOLPAR developers'
  --msgid-bugs-address=https://volpar.org/ --add-comments=TRANSLATORS: --keyword= --keyword=tr
  --keyword=trc:1c,2 --keyword=trn:1,2 --keyword=mark --flag=tr:1:qt-format
  --flag=trc:2:qt-format --flag=trn:1:qt-format --flag=trn:2:qt-format)
git ls-files 'src/*.cpp' 'src/*.h' >/tmp/volpar-sources.$$
xgettext "${common[@]}" --language=C++ --files-from=/tmp/volpar-sources.$$ --output="$pot.new"
rm -f /tmp/volpar-sources.$$
sed -i 's/charset=CHARSET/charset=UTF-8/' "$pot.new"
xgettext "${common[@]}" --language=JavaScript --join-existing --output="$pot.new" \
  $(git ls-files 'src/web/page/*.js')
# The desktop entry's Name, GenericName, Comment and Keywords, and the metainfo's name,
# summary, description and captions: xgettext knows both formats by their file names.
xgettext --from-code=UTF-8 --add-location=file --sort-by-file --join-existing \
  --output="$pot.new" desktop/org.volpar.volpar.desktop desktop/org.volpar.volpar.metainfo.xml
sed -i -e '/^"POT-Creation-Date:/d' -e "1s/.*/# VOLPAR's texts, for translators./" \
  -e '2s/YEAR //' -e '4s/.*/#/' "$pot.new"
mv "$pot.new" "$pot"
[ $# -gt 0 ] && exit 0
for po in po/*.po; do
  msgmerge --quiet --update --backup=none "$po" "$pot"
  msgfmt --check --statistics --output-file=/dev/null "$po" 2>&1 | sed "s|^|$po: |"
done
