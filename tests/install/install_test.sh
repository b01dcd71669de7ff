#!/usr/bin/env bash
# Installs VOLPAR as a technician would and checks what lands:
#   prefix   cmake --install into a temporary DESTDIR: every file is there, the validators
#            accept the desktop entry, the metainfo and the man pages, both programs give
#            the same version, and the installed program runs (the smoke test, F1 included)
#   package  make package: the .deb unpacks, its volpar-run runs a program, and it
#            depends on the Qt 6 widgets library
# Usage: install_test.sh prefix|package BUILD_DIR SOURCE_DIR   (exit 77: tools missing)
set -euo pipefail

mode=$1 build=$(realpath "$2") source=$(realpath "$3")
id=org.volpar.volpar
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; exit 1; }
need() { for tool; do command -v "$tool" >/dev/null || { echo "skipped: no $tool"; exit 77; }; done; }

if [ "$mode" = prefix ]; then
  need desktop-file-validate appstreamcli man
  DESTDIR="$work" cmake --install "$build" --prefix /usr >/dev/null
  root=$work/usr
  for file in bin/volpar bin/volpar-run share/volpar/Vuvuva.zev \
      share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
      share/icons/hicolor/scalable/apps/$id.svg share/man/man1/volpar.1 share/man/man1/volpar-run.1; do
    [ -f "$root/$file" ] || fail "$file is not installed"
  done
  desktop-file-validate "$root/share/applications/$id.desktop" || fail "desktop entry"
  appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml" || fail "metainfo"
  for page in volpar volpar-run; do
    warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$root/share/man/man1/$page.1" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man page $page(1): $warnings"
  done
  gui=$("$root/bin/volpar" --version) runner=$("$root/bin/volpar-run" --version)
  [ "${gui#volpar }" = "${runner#volpar-run }" ] || fail "versions differ: $gui, $runner"
  # Found relative to the program: nothing lies at the prefix the install was made for.
  [ ! -e /usr/share/volpar/Vuvuva.zev ] || echo "note: /usr/share/volpar exists on this machine"
  bash "$source/tests/smoke/smoke_test.sh" "$root/bin/volpar"
else
  need dpkg-deb dpkg-shlibdeps
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
  echo "package $(basename "$deb"): Depends: $depends"
fi
echo "install test ($mode) passed"
