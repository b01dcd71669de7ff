#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs VOLPAR as a technician would and checks what lands:
#   prefix   cmake --install into a temporary DESTDIR: every file is there (the help in
#            every language too), the validators accept the desktop entry, the metainfo and
#            the man pages, both programs give the same version, and the installed program
#            runs (the smoke test, F1 included)
#   package  make package: the .deb unpacks, its volpar-run runs a program, it depends on
#            the Qt 6 widgets library and recommends a font with Chinese characters, it holds
#            the help in each language, its changelog names its version, and lintian and
#            appstreamcli find nothing to say about it
# Usage: install_test.sh prefix|package BUILD_DIR SOURCE_DIR   (exit 77: tools missing)
set -euo pipefail

mode=$1 build=$(realpath "$2") source=$(realpath "$3")
id=org.volpar.volpar
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; exit 1; }
need() { for tool; do command -v "$tool" >/dev/null || { echo "skipped: no $tool"; exit 77; }; done; }
# Valid, and not even a pedantic note.
validate_metainfo() {
  local out
  out=$(appstreamcli validate --pedantic --no-net --no-color "$1" 2>&1) || fail "metainfo: $out"
  ! grep -Eq '^[EWIP]: ' <<<"$out" || fail "metainfo: $out"
}

if [ "$mode" = prefix ]; then
  need desktop-file-validate appstreamcli man
  DESTDIR="$work" cmake --install "$build" --prefix /usr >/dev/null
  root=$work/usr
  for file in bin/volpar bin/volpar-run share/volpar/Vuvuva.zev \
      share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
      share/icons/hicolor/scalable/apps/$id.svg share/man/man1/volpar.1.gz \
      share/man/man1/volpar-run.1.gz share/man/man5/volpar.5.gz share/man/man5/volpar-text.5.gz \
      share/doc/volpar/copyright \
      share/doc/volpar/changelog.gz share/doc/volpar/README.md \
      share/doc/volpar/examples/countdown.txt share/doc/volpar/examples/add.txt; do
    [ -f "$root/$file" ] || fail "$file is not installed"
  done
  for help in "$source"/help/*/Vuvuva.zev; do
    lang=$(basename "$(dirname "$help")")
    cmp -s "$help" "$root/share/volpar/$lang/Vuvuva.zev" || fail "the $lang help is not installed"
  done
  desktop-file-validate "$root/share/applications/$id.desktop" || fail "desktop entry"
  validate_metainfo "$root/share/metainfo/$id.metainfo.xml"
  for page in man1/volpar.1 man1/volpar-run.1 man5/volpar.5 man5/volpar-text.5 man5/volpar-exercise.5; do
    warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$root/share/man/$page.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man page $page: $warnings"
  done
  # The examples run as their README says.
  examples=$root/share/doc/volpar/examples
  for example in add.txt add.vpt; do
    out=$("$root/bin/volpar-run" "$examples/$example" --input 7,5)
    [ "$out" = $'OUTPUT 12\nEND halt' ] || fail "examples/$example: $out"
  done
  "$root/bin/volpar-run" --exercise "$examples/add.ini" "$examples/add-solution.txt" >/dev/null ||
    fail "the installed example exercise is not passed by its solution"
  gui=$("$root/bin/volpar" --version) runner=$("$root/bin/volpar-run" --version)
  [ "${gui#volpar }" = "${runner#volpar-run }" ] || fail "versions differ: $gui, $runner"
  [[ "$gui" == *"License GPLv3+: GNU GPL version 3 or later"* ]] || fail "--version: $gui"
  # Found relative to the program: nothing lies at the prefix the install was made for.
  [ ! -e /usr/share/volpar/Vuvuva.zev ] || echo "note: /usr/share/volpar exists on this machine"
  bash "$source/tests/smoke/smoke_test.sh" "$root/bin/volpar"
else
  need dpkg-deb dpkg-shlibdeps lintian appstreamcli
  rm -f "$build"/volpar_*.deb
  cmake --build "$build" --target package >"$work/package.log" 2>&1 || { cat "$work/package.log"; fail "make package"; }
  deb=$(ls "$build"/volpar_*.deb)
  dpkg-deb -x "$deb" "$work/unpacked"
  data=$source/tests/data/runner
  "$work/unpacked/usr/bin/volpar-run" "$data/countdown.txt" --input 3 >"$work/out" ||
    fail "the unpacked volpar-run failed"
  diff -u "$data/countdown_3.out" "$work/out" || fail "the unpacked volpar-run ran wrong"
  depends=$(dpkg-deb -f "$deb" Depends)
  [[ "$depends" == *libqt6widgets6* ]] || fail "Depends lacks the Qt 6 widgets library: $depends"
  recommends=$(dpkg-deb -f "$deb" Recommends)
  [[ "$recommends" == *fonts-noto-cjk*fonts-wqy-microhei* ]] || fail "no CJK font recommended: $recommends"
  [ -f "$work/unpacked/usr/share/volpar/zh_CN/Vuvuva.zev" ] || fail "the package lacks the Chinese help"
  # Every tag at the levels an administrator is shown: errors and warnings fail the test.
  lintian --fail-on error,warning --display-level '>=warning' "$deb" || fail "lintian"
  validate_metainfo "$work/unpacked/usr/share/metainfo/$id.metainfo.xml"
  version=$(dpkg-deb -f "$deb" Version)
  changelog=$(zcat "$work/unpacked/usr/share/doc/volpar/changelog.gz" 2>&1 | head -1)
  [[ "$changelog" == "volpar ($version) "* ]] || fail "the changelog is not of $version: $changelog"
  echo "package $(basename "$deb"): Depends: $depends; lintian: no errors, no warnings"
fi
echo "install test ($mode) passed"
