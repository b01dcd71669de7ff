// SPDX-License-Identifier: GPL-3.0-or-later
// The page's code and its tests, checked as the C++ is: run from the repository's top
// folder by tools/check-format.sh.
import js from '@eslint/js';
import globals from 'globals';

export default [
  { ignores: ['**/node_modules/**', 'build*/**'] },
  js.configs.recommended,
  {
    files: ['src/web/page/**/*.js'],
    languageOptions: { sourceType: 'module', globals: globals.browser },
    // Short functions, as in the C++.
    rules: { 'max-lines-per-function': ['error', { max: 40, skipBlankLines: true, skipComments: true }] },
  },
  {
    files: ['tests/web/**/*.mjs', 'bench/web/**/*.mjs'],
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
