// SPDX-License-Identifier: GPL-3.0-or-later
// The page's code and its tests, checked as the C++ is: run from the repository's top
// folder by tools/check-format.sh.
import js from '@eslint/js';
import globals from 'globals';
import noImportCycle from '../../tools/lint/no_import_cycle.mjs';

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
