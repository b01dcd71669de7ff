// SPDX-License-Identifier: GPL-3.0-or-later
// An ESLint rule: a module's relative import must not lead back to the module, through
// any chain of relative imports. The page's modules stand in layers (state and events at
// the bottom, main.js at the top, hooks handed down at start), and a loop would undo them.
import fs from 'node:fs';
import path from 'node:path';

const IMPORT = /^\s*(?:import|export)\s(?:[^'";]*?\sfrom\s)?\s*['"](\.{1,2}\/[^'"]+)['"]/gm;

// The relative imports a file makes, as absolute paths; none for a file not on disk (the
// program's own generated module).
function importsOf(file, cache) {
  if (!cache.has(file)) {
    let text = '';
    try {
      text = fs.readFileSync(file, 'utf8');
    } catch {
      // not there: imports nothing
    }
    cache.set(
      file,
      [...text.matchAll(IMPORT)].map((m) => path.resolve(path.dirname(file), m[1])),
    );
  }
  return cache.get(file);
}

// A chain of imports from `start` back to `target`, or null.
function pathBack(start, target, cache) {
  const seen = new Set();
  const walk = (file, chain) => {
    if (file === target) return chain;
    if (seen.has(file)) return null;
    seen.add(file);
    for (const next of importsOf(file, cache)) {
      const found = walk(next, [...chain, next]);
      if (found) return found;
    }
    return null;
  };
  return walk(start, [start]);
}

export default {
  meta: { type: 'problem', messages: { cycle: 'import cycle: {{chain}}' }, schema: [] },
  create(context) {
    const self = path.resolve(context.filename);
    const cache = new Map();
    const check = (node) => {
      const source = node.source?.value;
      if (typeof source !== 'string' || !source.startsWith('.')) return;
      const chain = pathBack(path.resolve(path.dirname(self), source), self, cache);
      if (!chain) return;
      const names = [self, ...chain].map((f) => path.basename(f)).join(' → ');
      context.report({ node, messageId: 'cycle', data: { chain: names } });
    };
    return { ImportDeclaration: check, ExportNamedDeclaration: check, ExportAllDeclaration: check };
  },
};
