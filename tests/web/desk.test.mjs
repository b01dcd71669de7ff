// SPDX-License-Identifier: GPL-3.0-or-later
// The desk at every tab width and browser zoom, as a student sees it: the execution screen
// and the memory side by side where the tab is wide enough, one at a time where not, and a
// drawing that grows with the zoom and scrolls to every control.
//
// Browser zoom is emulated as the browser zooms, on the page already open: the tab's CSS
// pixels shrink by the zoom and each covers zoom × zoom device pixels, both at once
// (DevTools' Emulation.setDeviceMetricsOverride). The page sees what Ctrl + Plus gives it: a
// resize and a new devicePixelRatio together.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { CYAN, eventually, useBrowser } from './browser.mjs';

const shots = process.env.VOLPAR_WEB_SCREENSHOTS;
const WINDOW = { width: 1280, height: 900 };
const session = useBrowser();

const windowOf = (page, form) => page.locator(`section[data-form="${form}"]`);
const el = (page, form, name) => windowOf(page, form).locator(`[data-name="${name}"]`);
const box = (locator) => locator.evaluate((n) => n.getBoundingClientRect().toJSON());
const clockCell = (s, phase) =>
  s.el('REXEC', `Shape_Clock(${phase})`).evaluate((n) => getComputedStyle(n).backgroundColor);
const inside = (r, view) =>
  r.left >= view.left && r.right <= view.right && r.top >= view.top && r.bottom <= view.bottom;

// A fresh page, past the welcome screen, a run started at 0 by hand and one Begin pressed.
async function begun(width, height) {
  const s = await session.atInputScreen();
  await s.page.setViewportSize({ width, height });
  await s.startAt(0);
  await s.setClock('manual_radio');
  await s.step();
  await eventually(() => clockCell(s, 1), CYAN, 'Begin performs T1');
  return s;
}

// The tab's size in CSS pixels and the device pixels per CSS pixel, as the page sees them
// once the next frame is drawn. (Playwright's own screenshots would undo them.)
const devTools = new WeakMap();
async function emulate(page, width, height, dpr, shot) {
  if (!devTools.has(page)) devTools.set(page, await page.context().newCDPSession(page));
  const metrics = { width, height, deviceScaleFactor: dpr, mobile: false };
  await devTools.get(page).send('Emulation.setDeviceMetricsOverride', metrics);
  await eventually(() => page.evaluate(() => [innerWidth, devicePixelRatio].join()), `${width},${dpr}`, 'emulated');
  await page.evaluate(() => new Promise((drawn) => requestAnimationFrame(() => requestAnimationFrame(drawn))));
  if (!shots || !shot) return;
  const { data } = await devTools.get(page).send('Page.captureScreenshot');
  fs.writeFileSync(path.join(shots, `${shot}.png`), Buffer.from(data, 'base64'));
}
const zoomTo = (page, zoom, shot) => emulate(page, WINDOW.width / zoom, WINDOW.height / zoom, zoom, shot);

describe('side by side where both fit at their drawn size, one at a time elsewhere', () => {
  let s;
  before(async () => (s = await begun(1280, 900)));
  after(() => s?.close());
  // 1920 × 600 is too low for the input screen under its menu bar.
  for (const size of ['1920x1080 beside', '1600x900 beside', '1440x900', '1280x900', '1920x600']) {
    const [width, height, beside] = size.split(/[x ]/).map((v) => Number(v) || v);
    test(`${width} × ${height}: ${beside ? 'side by side' : 'the front one alone'}`, async () => {
      await emulate(s.page, width, height, 1, `desk-${width}x${height}`);
      await eventually(() => s.see('windows'), beside ? 'REXEC,DERAZO_Input' : 'REXEC', 'the windows shown');
      if (!beside) return;
      const [left, right] = [await box(windowOf(s.page, 'REXEC')), await box(windowOf(s.page, 'DERAZO_Input'))];
      assert.ok(left.right <= right.left && right.right <= width, 'apart, inside the tab');
      for (const form of ['REXEC', 'DERAZO_Input']) {
        const drawing = windowOf(s.page, form).locator('.client');
        assert.ok(
          Number(await drawing.evaluate((n) => getComputedStyle(n).zoom)) >= 1,
          `${form} at its own size at least`,
        );
        assert.ok(
          inside(await box(drawing), { left: 0, top: 0, right: width + 0.5, bottom: height + 0.5 }),
          `${form} drawn whole`,
        );
      }
    });
  }
});

for (const [name, what] of [
  [
    'desk-front',
    'side by side, the screen in front takes the focus and the keys; a tab, Ctrl+F6 or a press brings the other',
  ],
  ['desk-resize', 'a resize between the arrangements keeps what the screens hold, the focus and the screen in front'],
]) {
  test(what, async () => {
    const s = await begun(1920, 1080);
    await s.play(name);
    await s.close();
  });
}

// The controls of the window in front that, scrolled to, do not stand inside the tab to be clicked.
function outOfReach(page, form) {
  return windowOf(page, form)
    .locator('.client button:visible, .client input:visible')
    .evaluateAll((controls) =>
      controls
        .filter((n) => {
          n.scrollIntoView({ block: 'nearest', inline: 'nearest' });
          const r = n.getBoundingClientRect();
          const hit = document.elementFromPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
          return !(n.contains(hit) || n.closest('label')?.contains(hit));
        })
        .map((n) => n.closest('[data-name]').dataset.name),
    );
}

const deviceWidth = (page, form, name) =>
  el(page, form, name).evaluate((n) => n.getBoundingClientRect().width * window.devicePixelRatio);

describe('browser zoom enlarges the machine, which scrolls to every control', () => {
  let s, page;
  const at100 = {};
  before(async () => ({ page } = s = await begun(1280, 900)));
  after(() => s?.close());

  for (const zoom of [1, 2, 4]) {
    test(`${zoom * 100} %: cells ${zoom} times as large, every control and menu item in reach`, async () => {
      await zoomTo(page, zoom);
      for (const [form, cell, caption] of [
        ['REXEC', 'Shape_Clock(1)', 'Execution'],
        ['DERAZO_Input', 'Shape1(1)', 'Input'],
      ]) {
        await s.act(`click #tabs button:has-text("${caption}")`);
        await eventually(() => s.front(), form, `${form} in front`);
        const width = await deviceWidth(page, form, cell);
        at100[form] ??= width;
        assert.ok(width >= zoom * at100[form] * 0.97, `${form} ${cell}: ${width} px, at 100 %: ${at100[form]} px`);
        assert.deepEqual(await outOfReach(page, form), [], `${form}: controls out of reach`);
        await zoomTo(page, zoom, `desk-zoom${zoom * 100}-${form}`);
      }
      await windowOf(page, 'DERAZO_Input').locator('.menu-title', { hasText: 'File' }).click();
      const tabView = { left: 0, top: 0, right: WINDOW.width / zoom, bottom: WINDOW.height / zoom };
      for (const item of await page.locator('.dropdown.open button:visible').all()) {
        assert.ok(inside(await box(item), tabView), 'the menu item is inside');
      }
      await page.keyboard.press('Escape');
    });
  }

  test('at 400 % the drawing scrolls both ways, shows where the focus goes; the help spans the tab', async () => {
    await s.act('click #tabs button:has-text("Execution")');
    await s.step();
    await eventually(() => clockCell(s, 2), CYAN, 'Begin, scrolled to, performs T2');
    const port = windowOf(page, 'REXEC').locator('.viewport');
    const { x, y } = await box(port);
    await port.evaluate((n) => n.scrollTo(0, 0));
    await page.mouse.move(x + 50, y + 50);
    await page.mouse.wheel(100, 100);
    const scrolled = () => port.evaluate((n) => n.scrollLeft > 0 && n.scrollTop > 0);
    await eventually(scrolled, true, 'the wheel scrolls the drawing both ways');
    await page.keyboard.press('Alt+v'); // View Memory puts the focus on the way back
    await eventually(() => s.focused(), 'Return_to_exec_screen', 'the focus on the way back');
    const view = await box(windowOf(page, 'DERAZO_Input').locator('.viewport'));
    assert.ok(inside(await box(page.locator(':focus')), view), 'the focused button is in view');
    await page.keyboard.press('F1');
    await page.locator('#help').waitFor();
    assert.equal((await box(page.locator('#help'))).width, WINDOW.width / 4);
    await page.locator('#help-close').click();
    await page.locator('#help').waitFor({ state: 'hidden' });
  });

  test('a screen of twice the density is no zoom: the drawing keeps its size in CSS pixels', async () => {
    await zoomTo(page, 1);
    const cssWidth = () => el(page, 'DERAZO_Input', 'Shape1(1)').evaluate((n) => n.getBoundingClientRect().width);
    const before = await cssWidth();
    // The window moved to the denser screen, then made a little narrower (the height still rules).
    await emulate(page, WINDOW.width, WINDOW.height, 2);
    await emulate(page, 1200, WINDOW.height, 2);
    assert.ok(Math.abs((await cssWidth()) - before) < 0.5, `${await cssWidth()} px, before ${before} px`);
  });

  test('a page reloaded at 200 % is drawn as large as before the reload', async () => {
    await zoomTo(page, 1);
    await zoomTo(page, 2);
    const before = await deviceWidth(page, 'DERAZO_Input', 'Shape1(1)');
    await s.act('reload');
    await page.keyboard.press('a');
    await eventually(() => s.front(), 'DERAZO_Input', 'the input screen after the reload');
    const width = await deviceWidth(page, 'DERAZO_Input', 'Shape1(1)');
    assert.ok(Math.abs(width - before) < 1, `${width} px after the reload, ${before} px before`);
  });
});
