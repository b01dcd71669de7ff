// SPDX-License-Identifier: GPL-3.0-or-later
// The page's code and its tests, checked as the C++ is: run from the repository's top
// folder by tools/check-format.sh, whose --config makes the patterns below relative to it.
import { createRequire } from 'node:module';
import noImportCycle from './no_import_cycle.mjs';

// The linter's rules come with the browser tests' driver (tests/web/package.json).
const require = createRequire(new URL('../../tests/web/package.json', import.meta.url));
const js = require('@eslint/js');
const globals = require('globals');

export default [
  { ignores: ['**/node_modules/**', 'build*/**'] },
  js.configs.recommended,
  {
    files: ['src/web/page/**/*.js'],
    languageOptions: { sourceType: 'module', globals: globals.browser },
    plugins: { volpar: { rules: { 'no-import-cycle': noImportCycle } } },
    rules: {
      // Short functions, as in the C++.
      'max-lines-per-function': ['error', { max: 40, skipBlankLines: true, skipComments: true }],
      'volpar/no-import-cycle': 'error',
    },
  },
  {
    files: ['tests/web/**/*.mjs', 'bench/web/**/*.mjs', 'tools/lint/*.mjs'],
    languageOptions: { sourceType: 'module', globals: { ...globals.node, ...globals.browser } },
  },
  {
    rules: {
      'no-unused-vars': ['error', { args: 'after-used', argsIgnorePattern: '^_' }],
      eqeqeq: 'error',
      'prefer-const': 'error',
      'no-var': 'error',
    },
  },
];
