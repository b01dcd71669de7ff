// SPDX-License-Identifier: GPL-3.0-or-later
// The desk at every tab width and browser zoom, as a student sees it: the execution screen
// and the memory side by side where the tab is wide enough, one at a time where not, and a
// drawing that grows with the zoom and scrolls to every control (tests/data/web/desk-*.txt).
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { eventually, useBrowser } from './browser.mjs';

const session = useBrowser();
const box = (locator) => locator.evaluate((n) => n.getBoundingClientRect().toJSON());

// A fresh page, past the welcome screen, a run started at 0 by hand and one Begin pressed.
async function begun(width, height) {
  const s = await session.atInputScreen();
  await s.page.setViewportSize({ width, height });
  await s.startAt(0);
  await s.setClock('manual_radio');
  await s.step();
  await eventually(() => s.see('cells REXEC Shape_Clock 0 8 cyan'), '01000000', 'Begin performs T1');
  return s;
}

describe('side by side where both fit at their drawn size, one at a time elsewhere', () => {
  let s;
  before(async () => (s = await begun(1280, 900)));
  after(() => s?.close());
  // 1920 × 600 is too low for the input screen under its menu bar.
  for (const size of ['1920x1080 beside', '1600x900 beside', '1440x900', '1280x900', '1920x600']) {
    const [width, height, beside] = size.split(/[x ]/).map((v) => Number(v) || v);
    test(`${width} × ${height}: ${beside ? 'side by side' : 'the front one alone'}`, async () => {
      await s.emulate(width, height, 1);
      await eventually(() => s.see('windows'), beside ? 'REXEC,DERAZO_Input' : 'REXEC', 'the windows shown');
      if (!beside) return;
      const [left, right] = [
        await box(s.page.locator('[data-form="REXEC"]')),
        await box(s.page.locator('[data-form="DERAZO_Input"]')),
      ];
      assert.ok(left.right <= right.left && right.right <= width, 'apart, inside the tab');
      for (const form of ['REXEC', 'DERAZO_Input']) {
        const drawing = s.page.locator(`[data-form="${form}"] .client`);
        assert.ok(
          Number(await drawing.evaluate((n) => getComputedStyle(n).zoom)) >= 1,
          `${form} at its own size at least`,
        );
        const { right, bottom } = await box(drawing);
        assert.ok(right <= width + 0.5 && bottom <= height + 0.5, `${form} drawn whole`);
      }
    });
  }
});

for (const [name, width, height, what] of [
  [
    'desk-front',
    1920,
    1080,
    'side by side, the screen in front takes the focus and the keys; a tab, Ctrl+F6 or a press brings the other',
  ],
  [
    'desk-resize',
    1920,
    1080,
    'a resize between the arrangements keeps what the screens hold, the focus and the screen in front',
  ],
  [
    'desk-zoom',
    1280,
    900,
    'browser zoom enlarges the machine, which scrolls to every control; a denser screen is no zoom; a reload keeps it',
  ],
]) {
  test(what, async () => {
    const s = await begun(width, height);
    await s.play(name);
    await s.close();
  });
}
