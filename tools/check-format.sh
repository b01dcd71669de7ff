#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source file does not name its licence (an SPDX line near its top), when the
# page's code breaks a lint rule (an import cycle among its modules among them, tools/lint)
# or is not as Prettier writes it (tools/lint/eslint.config.mjs,
# .prettierrc.json; the tools as tests/web/package-lock.json pins them), or when a C++ file
# of the project is not in the house style (.clang-format). Another major version
# of clang-format than the one the style was set with formats a few constructs differently,
# so there the style check only reports.
set -uo pipefail
cd "$(dirname "$0")/.."
licence='SPDX-License-Identifier: GPL-3.0-or-later'
unlicensed=$(git ls-files -- '*.cpp' '*.h' '*.js' '*.mjs' '*.css' '*.html' '*.sh' '*.py' \
               '*.cmake' '*CMakeLists.txt' Makefile .ci/run |
             while read -r f; do head -n 3 "$f" | grep -q "$licence" || echo "$f"; done)
if [ -n "$unlicensed" ]; then
  echo "these files do not begin with '$licence':" >&2
  echo "$unlicensed" >&2
  exit 1
fi
web_tools=tests/web/node_modules/.bin
web_files=(src/web/page tests/web/*.mjs tests/web/package.json tools/lint .prettierrc.json)
"$web_tools/eslint" --config tools/lint/eslint.config.mjs src/web/page tests/web bench/web tools/lint || exit 1
if ! "$web_tools/prettier" --check --log-level warn "${web_files[@]}"; then
  echo "the page's code differs from Prettier's: run $web_tools/prettier --write on it" >&2
  exit 1
fi
files=$(find src tests bench tools -name node_modules -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
version=$(clang-format --version | grep -oE '[0-9]+' | head -n 1)
if clang-format --dry-run -Werror $files; then exit 0; fi
if [ "$version" != 14 ]; then
  echo "clang-format $version differs from 14, with which the style was set: not failing" >&2
  exit 0
fi
echo "unformatted code: run clang-format -i on the files above" >&2
exit 1
