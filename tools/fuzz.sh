#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program-file fuzz target with libFuzzer, AddressSanitizer and UBSan, and runs
# it for the given number of seconds (default 60) in one process; then the program-text
# target, for a third of that time (at least 10 seconds), from the example texts. The corpus grows in
# build-fuzz/corpus and starts from the sample programs in tests/data and from large
# files generated here (up to just over the 1 MiB a program file may have); a crash, hang
# or failed check leaves its input in build-fuzz/ and makes the script fail.
#   usage: tools/fuzz.sh [seconds] [extra libFuzzer options...]
set -euo pipefail

seconds="${1:-60}"
shift || true
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/build-fuzz"
target="$out/program-file-fuzz"
mkdir -p "$out/corpus"

# The readers' messages go through the catalogs; the fuzzers run in English, which needs none.
english="$out/english_only.cpp"
[ -e "$english" ] || cat >"$english" <<'EOF2'
#include "i18n/embedded_catalogs.h"
namespace volpar::i18n {
const EmbeddedCatalog kEmbeddedCatalogs[] = {{"", {}}};
const std::size_t kEmbeddedCatalogCount = 0;
}  // namespace volpar::i18n
EOF2
i18n=("$root"/src/i18n/*.cpp "$english")

sources=("$root"/src/storage/private_profile.cpp "$root"/src/storage/program_file_text.cpp
         "$root"/src/storage/file_io.cpp "$root"/src/ui/quoted.cpp "${i18n[@]}"
         "$root"/tools/fuzz/program_file_fuzz.cpp)
if [ ! -x "$target" ] || [ -n "$(find "${sources[@]}" "$root"/src/storage/*.h "$root"/src/i18n/*.h "$root"/tools/fuzz/*.h -newer "$target" 2>/dev/null)" ]; then
  echo "Building $target"
  clang++ -std=c++20 -O2 -g -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -Wall -Wextra -Wpedantic -Werror -DVOLPAR_FILE_FAULTS -I"$root/src" "${sources[@]}" -o "$target"
fi

cp -n "$root"/tests/data/*.txt "$out/corpus/" 2>/dev/null || true
# Large seeds: a program among many comment lines in each line ending, and a file just over
# the size limit.
sample="$root/tests/data/countdown.txt"
for ending in lf crlf cr; do
  seed="$out/corpus/large-$ending.txt"
  [ -e "$seed" ] && continue
  awk -v e="$ending" 'BEGIN { eol = e == "lf" ? "\n" : e == "crlf" ? "\r\n" : "\r" }
    /^\[/ { for (i = 0; i < 800; i++) printf "; note %d about the program below%s", i, eol }
    { sub(/\r$/, ""); printf "%s%s", $0, eol }' "$sample" >"$seed"
done
if [ ! -e "$out/corpus/over-limit.txt" ]; then
  { cat "$sample"; awk 'BEGIN { for (i = 0; i < 19000; i++) printf "; padding line %06d of a file too large to be a program\r\n", i }'; } \
    >"$out/corpus/over-limit.txt"
fi

# The program-text reader: a student's text reaches the grader as a program file does.
text_target="$out/program-text-fuzz"
text_sources=("$root"/src/assembly/*.cpp "$root"/src/storage/program_file_text.cpp
              "$root"/src/storage/private_profile.cpp "$root"/src/ui/quoted.cpp "${i18n[@]}"
              "$root"/tools/fuzz/program_text_fuzz.cpp)
if [ ! -x "$text_target" ] || [ -n "$(find "${text_sources[@]}" "$root"/src/assembly/*.h -newer "$text_target" 2>/dev/null)" ]; then
  echo "Building $text_target"
  clang++ -std=c++20 -O2 -g -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -Wall -Wextra -Wpedantic -Werror -I"$root/src" "${text_sources[@]}" -o "$text_target"
fi
mkdir -p "$out/text-corpus"
cp -n "$root"/examples/*.vpt "$root"/tests/data/runner/*.vpt "$out/text-corpus/" 2>/dev/null || true

cd "$out"
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$target" "$out/corpus" -dict="$root/tools/fuzz/program_file.dict" \
  -max_total_time="$seconds" -max_len=1100000 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 "$@"
text_seconds=$((seconds / 3 > 10 ? seconds / 3 : 10))
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$text_target" "$out/text-corpus" -dict="$root/tools/fuzz/program_text.dict" \
  -max_total_time="$text_seconds" -max_len=1100000 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 "$@"
