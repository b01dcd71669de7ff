// SPDX-License-Identifier: GPL-3.0-or-later
// The page in other languages. Under the pseudo-language every text and accessible name a
// student meets is marked ⟦…⟧ (values and numbers apart) and drawn whole inside its box
// (tests/data/web/languages-pseudo.txt); a change of language in the middle of a run keeps
// the machine as it was and redraws every word; View > Language chooses each language at
// once, the help opens in it and the loop runs on (tests/data/web/languages-each.txt).
import { test } from 'node:test';
import { useBrowser } from './browser.mjs';

const session = useBrowser();

// Runs in the page: each visible text under `root` not marked, and each accessible name not
// marked; a text is a value when it names a key (Ctrl+O, F3) or has no two letters in a row
// outside its marks but in capitals or the decoder's BR Neg and BR NNeg (LOAD 31, PC, VOLPAR:
// the machine's notation, the same in every language).
function unmarkedUnder(root) {
  const key = /^((Ctrl|Shift|Alt)\+)*(F\d+|\S)$/;
  const words = (t) => t.replace(/⟦[^⟧]*⟧|\b\p{Lu}{2,}\b|\bN?Neg\b/gu, '');
  const value = (t) => key.test(t.trim()) || !/\p{L}{2}/u.test(words(t));
  const shown = (n) => n.checkVisibility() && !n.closest('#help iframe, textarea, input, [aria-hidden="true"]');
  const found = new Set();
  for (const n of document.querySelectorAll(`${root}, ${root} *`)) {
    if (!shown(n)) continue;
    const own = [...n.childNodes].some((c) => c.nodeType === Node.TEXT_NODE && c.textContent.trim());
    if (own && !value(n.textContent)) found.add(n.textContent.trim());
    for (const said of [n.getAttribute('aria-label'), n.getAttribute('title')])
      if (said && !value(said)) found.add(said);
  }
  return [...found];
}

// Runs in the page: each visible text under `root` whose drawn extent leaves the box of the
// nearest element that clips it (the screen reader's hidden mirror apart, and the history's
// rows, each one line long in every language, its whole text read by a screen reader).
function clippedUnder(root) {
  const clips = (n) => getComputedStyle(n).overflow !== 'visible';
  const found = [];
  const walker = document.createTreeWalker(document.querySelector(root), NodeFilter.SHOW_TEXT);
  for (let t = walker.nextNode(); t; t = walker.nextNode()) {
    const n = t.parentElement;
    if (!t.textContent.trim() || !n.checkVisibility() || n.closest('.visually-hidden, textarea, .history-line'))
      continue;
    let box = n;
    while (box.parentElement && !clips(box)) box = box.parentElement;
    const outer = box.getBoundingClientRect();
    const range = document.createRange();
    range.selectNodeContents(t);
    const out = [...range.getClientRects()].some(
      (r) => r.width && (r.left < outer.left - 1 || r.right > outer.right + 1 || r.bottom > outer.bottom + 1),
    );
    if (out) found.push(t.textContent.trim());
  }
  return found;
}

// Runs in the page: every element of the screens as drawn, its words left out.
function drawnValues() {
  return [...document.querySelectorAll('section.window [data-name]')].map((n) => {
    const values = [n.value ?? '', n.textContent].map((t) => (/\p{L}{2}/u.test(t) ? '' : t));
    return `${n.dataset.name} ${values.join(' ')} ${getComputedStyle(n).backgroundColor}`;
  });
}

// This file's readings: the texts not marked and those cut off under an element, and the
// elements whose value or colour differs from when `changed` was first read.
function withReadings(s) {
  let first;
  s.readings = {
    unmarked: (root) => s.page.evaluate(unmarkedUnder, root),
    clipped: (root) => s.page.evaluate(clippedUnder, root),
    changed: async () => {
      const now = await s.page.evaluate(drawnValues);
      first ??= now;
      return now.filter((line, i) => line !== first[i]);
    },
  };
  return s;
}

test('under the pseudo-language every screen, panel, box and menu is marked and drawn whole', async () => {
  const s = withReadings(await session.open({ url: `${session.url}?lang=x-pseudo` }));
  await s.play('languages-pseudo');
});

test('View > Language changes every word at once and nothing else; the help and the loop follow', async () => {
  const s = withReadings(await session.open());
  await s.play('languages-each');
});
