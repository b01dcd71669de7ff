// SPDX-License-Identifier: GPL-3.0-or-later
// The page in other languages. Under the pseudo-language every text and accessible name a
// student meets is marked ⟦…⟧ (values and numbers apart) and drawn whole inside its box
// (tests/data/web/languages-pseudo.txt); a change of language in the middle of a run keeps
// the machine as it was and redraws every word; each language opens, runs a loop and shows
// its help.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { useBrowser } from './browser.mjs';

const session = useBrowser();
// LOAD 31, ADD 30, STORE 31, BRANCH 0 with 1 at address 30: byte 31 counts up.
const LOOP = ['0:00111111', '1:00011110', '2:01011111', '3:10100000', '30:00000001'].map((b) => b.split(':'));

// Runs in the page: each visible text under `root` not marked, and each accessible name not
// marked; a text is a value when it names a key (Ctrl+O, F3) or has no two letters in a row
// outside its marks but in capitals or the decoder's BR Neg and BR NNeg (LOAD 31, PC, VOLPAR:
// the machine's notation, the same in every language).
function unmarkedUnder(root) {
  const key = /^((Ctrl|Shift|Alt)\+)*(F\d+|\S)$/;
  const words = (t) =>
    t
      .replace(/⟦[^⟧]*⟧/gu, '')
      .replace(/\b\p{Lu}{2,}\b/gu, '')
      .replace(/\bN?Neg\b/gu, '');
  const value = (t) => key.test(t.trim()) || !/\p{L}{2}/u.test(words(t));
  const shown = (n) => n.checkVisibility() && !n.closest('#help iframe, textarea, input, [aria-hidden="true"]');
  const found = new Set();
  for (const n of document.querySelectorAll(`${root}, ${root} *`)) {
    if (!shown(n)) continue;
    const own = [...n.childNodes].some((c) => c.nodeType === Node.TEXT_NODE && c.textContent.trim());
    if (own && !value(n.textContent)) found.add(n.textContent.trim());
    for (const name of ['aria-label', 'title']) {
      const said = n.getAttribute(name);
      if (said && !value(said)) found.add(said);
    }
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

async function openIn(lang) {
  const s = await session.open({ url: `${session.url}?lang=${lang}` });
  s.readings = {
    unmarked: (root) => s.page.evaluate(unmarkedUnder, root),
    clipped: (root) => s.page.evaluate(clippedUnder, root),
  };
  return s;
}

test('under the pseudo-language every screen, panel, box and menu is marked and drawn whole', async () => {
  const s = await openIn('x-pseudo');
  await s.play('languages-pseudo');
});

// Runs in the page: every element of the screens as drawn, its words left out.
function drawnValues() {
  return [...document.querySelectorAll('section.window [data-name]')].map((n) => {
    const values = [n.value ?? '', n.textContent].map((t) => (/\p{L}{2}/u.test(t) ? '' : t));
    return `${n.dataset.name} ${values.join(' ')} ${getComputedStyle(n).backgroundColor}`;
  });
}

test('a change of language during a run keeps the machine and redraws every word', async () => {
  const s = await openIn('en');
  await s.toInputScreen();
  await s.sendBytes(LOOP);
  await s.startAt(0);
  await s.setClock('manual_radio');
  await s.step(20);
  const before = await s.page.evaluate(drawnValues);
  const counted = await s.memory(31);
  await s.page.evaluate(() => window.volpar.chooseLanguage('x-pseudo'));
  assert.deepEqual(await s.page.evaluate(drawnValues), before, 'every value and colour as it was');
  assert.deepEqual(await s.see('unmarked section[data-form="REXEC"]'), [], 'every word redrawn');
  await s.setClock('automatic_radio', 100);
  await s.step(1);
  await s.eventually(
    () => s.memory(31),
    (bits) => bits > counted,
    'the loop counts on from there',
  );
});

for (const lang of ['en', 'de', 'es', 'fr', 'pt_BR', 'zh_CN']) {
  test(`in ${lang} the page opens and runs the counting loop`, async () => {
    const s = await openIn(lang);
    assert.equal(await s.page.evaluate(() => document.documentElement.lang), lang.replace('_', '-'));
    await s.toInputScreen();
    await s.sendBytes(LOOP);
    await s.startAt(0);
    await s.setClock('automatic_radio', 100);
    await s.rexec('Command_Begin_Step').click();
    await s.eventually(
      () => s.memory(31),
      (bits) => parseInt(bits, 2) >= 3,
      'the loop counts',
    );
    await s.page.keyboard.press('F1');
    const helpLang = () =>
      s.page.evaluate(() => document.querySelector('#help iframe').contentDocument?.documentElement?.lang);
    await s.eventually(helpLang, lang === 'en' ? '' : lang.replace('_', '-'), 'the help in that language');
    await s.close();
  });
}

test('View > Language chooses a language at once, and the choice is kept', async () => {
  const s = await openIn('system');
  await s.toInputScreen();
  await s.page.locator('section.front .menu-title').nth(2).click();
  await s.page.locator('.dropdown.open button', { hasText: 'Deutsch' }).click();
  const lang = () => s.page.evaluate(() => document.documentElement.lang);
  assert.equal(await lang(), 'de');
  await s.page.goto(session.url); // the address chooses none now
  await s.page.locator('.front[data-form="Initial_Screen"]').waitFor();
  assert.equal(await lang(), 'de');
});
