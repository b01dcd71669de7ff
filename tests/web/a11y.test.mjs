// SPDX-License-Identifier: GPL-3.0-or-later
// The page as a student with a screen reader or the keyboard alone meets it: axe-core finds
// nothing serious on any screen or panel, every text box has the windows' name, the hidden
// mirror says what the drawing shows, the live region keeps up with a fast clock without
// flooding, and "Show bit values" writes each bit in its cell.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { playEach, useBrowser } from './browser.mjs';

const session = useBrowser();
let s, page;

playEach(session, { a11y: 'axe-core finds nothing serious on any screen or panel; every text box is named' }, () => {});
playEach(session, {
  'a11y-stepped': 'stepped by hand, the mirror says each reading at every phase, and the live region what it changed',
  'a11y-fast': 'at 1000 Hz the live region says only that the clock runs, and where it stopped when it stops',
  'a11y-keys': 'the keyboard reaches the controls, and each shows a mark where the focus is',
});

// The contrast of two colours, as WCAG reckons it.
function contrast(a, b) {
  const channel = (v) => (v / 255 <= 0.03928 ? v / 255 / 12.92 : ((v / 255 + 0.055) / 1.055) ** 2.4);
  const lum = (rgb) =>
    [0.2126, 0.7152, 0.0722].reduce((sum, k, i) => sum + k * channel(Number(rgb.match(/\d+/g)[i])), 0);
  const [hi, lo] = [lum(a), lum(b)].sort((x, y) => y - x);
  return (hi + 0.05) / (lo + 0.05);
}

// The marks of a row of cells, as "bits", each readable on its cell's fill; null when none.
async function marked(form, cells) {
  const marks = await page.evaluate(
    ({ form, cells }) =>
      [1, 2, 3, 4, 5, 6, 7, 8].map((i) => {
        const cell = document.querySelector(`section[data-form="${form}"] [data-name="${cells}(${i})"]`);
        const mark = cell.querySelector('.bit-mark');
        return mark && [mark.textContent, getComputedStyle(mark).color, getComputedStyle(cell).backgroundColor];
      }),
    { form, cells },
  );
  if (marks.every((m) => m === null)) return 'none';
  for (const [, color, fill] of marks) assert.ok(contrast(color, fill) >= 4.5, `${color} on ${fill}`);
  return marks.map((m) => m[0]).join('');
}

test('Show bit values writes 1 and 0 in every bit cell, readable on its fill, and is remembered', async () => {
  ({ page } = s = await session.atInputScreen());
  s.readings = { marks: (cells) => marked(...cells.split(' ')) };
  await s.play('a11y-bits');
  await s.close();
});
