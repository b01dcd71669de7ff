#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that VOLPAR needs, when any is missing, in named groups:
#   run     building and running the program (make run)
#   package run, and what the Debian package build needs (make package)
#   test    package, and what the tests, benchmarks and the page need (make test, bench, web)
#   fuzz    run, and the fuzzing toolchain (make fuzz)
# Usage: tools/install-deps.sh [run|package|test|fuzz]   (default run). Uses sudo when not root.
set -euo pipefail

# gettext: msgfmt and msgen compile the catalogs built into the programs.
run=(
  cmake ninja-build g++ make gettext
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins qt6-translations-l10n fonts-dejavu-core fonts-liberation
)
package=(dpkg-dev file)
test=(
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-apps x11-utils imagemagick
  desktop-file-utils appstream man-db groff-base lintian
  emscripten chromium clang-format acl fonts-wqy-microhei
  dbus-daemon at-spi2-core python3-pyatspi orca openbox
)
fuzz=(clang)

group="${1:-run}"
case "$group" in
  run) wanted=("${run[@]}") ;;
  package) wanted=("${run[@]}" "${package[@]}") ;;
  test)
    wanted=("${run[@]}" "${package[@]}" "${test[@]}")
    # The page's test driver comes from npm; a machine with its own Node.js keeps it.
    command -v npm >/dev/null || wanted+=(npm) ;;
  fuzz) wanted=("${run[@]}" "${fuzz[@]}") ;;
  *) echo "usage: $0 [run|package|test|fuzz]" >&2; exit 2 ;;
esac

updated=""
install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  [ -n "$updated" ] || { $sudo apt-get update -qq; updated=1; }
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

install_missing "${wanted[@]}"
# libFuzzer is part of the runtime of the clang just installed, whichever version it is.
if [ "$group" = fuzz ]; then
  install_missing "libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev"
fi
