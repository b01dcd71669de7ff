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
const WIDE = { width: 1920, height: 1080 };
const [NAVY, GREY] = ['rgb(0, 0, 128)', 'rgb(112, 112, 112)'];

const session = useBrowser();

// ---- what the student does and sees ----------------------------------------------------------

const windowOf = (page, form) => page.locator(`section[data-form="${form}"]`);
const el = (page, form, name) => windowOf(page, form).locator(`[data-name="${name}"]`);
const front = (page) => page.locator('section.window.front').getAttribute('data-form');
const tab = (page, text) => page.locator('#tabs button', { hasText: text }).click();
const box = (locator) => locator.evaluate((n) => n.getBoundingClientRect().toJSON());
const style = (locator, property) => locator.evaluate((n, p) => getComputedStyle(n)[p], property);
const focusedIn = (page) => page.evaluate(() => document.activeElement.closest('[data-name]')?.dataset.name);
const clockCell = (page, phase) => style(el(page, 'REXEC', `Shape_Clock(${phase})`), 'backgroundColor');
// The windows shown, left to right.
const shown = (page) =>
  page.evaluate(() =>
    [...document.querySelectorAll('section.window')]
      .filter((n) => n.checkVisibility())
      .sort((a, b) => a.getBoundingClientRect().left - b.getBoundingClientRect().left)
      .map((n) => n.dataset.form)
      .join(),
  );

// A fresh page, past the welcome screen, a run started at 0 by hand and one Begin pressed.
async function begun(viewport) {
  const s = await session.atInputScreen();
  const page = s.page;
  await page.setViewportSize(viewport);
  await s.startAt(0);
  await s.setClock('manual_radio');
  await s.step();
  await eventually(() => clockCell(page, 1), CYAN, 'Begin performs T1');
  return page;
}

// The tab's size in CSS pixels and the device pixels per CSS pixel, as the page sees them
// once the next frame is drawn. (Playwright's own screenshots would undo them.)
const devTools = new WeakMap();
async function emulate(page, width, height, dpr) {
  if (!devTools.has(page)) devTools.set(page, await page.context().newCDPSession(page));
  const metrics = { width, height, deviceScaleFactor: dpr, mobile: false };
  await devTools.get(page).send('Emulation.setDeviceMetricsOverride', metrics);
  await eventually(() => page.evaluate(() => [innerWidth, devicePixelRatio].join()), `${width},${dpr}`, 'emulated');
  await page.evaluate(() => new Promise((drawn) => requestAnimationFrame(() => requestAnimationFrame(drawn))));
}

const zoomTo = (page, zoom) => emulate(page, WINDOW.width / zoom, WINDOW.height / zoom, zoom);

async function screenshot(page, name) {
  if (!shots) return;
  const { data } = await devTools.get(page).send('Page.captureScreenshot');
  fs.writeFileSync(path.join(shots, `${name}.png`), Buffer.from(data, 'base64'));
}

// ---- side by side -----------------------------------------------------------------------------

describe('side by side where both fit at their drawn size, one at a time elsewhere', () => {
  let page;
  before(async () => (page = await begun(WINDOW)));
  after(() => page?.close());

  for (const [width, height, beside] of [
    [1920, 1080, true],
    [1600, 900, true],
    [1440, 900, false],
    [1280, 900, false],
    [1920, 600, false], // too low for the input screen under its menu bar
  ]) {
    test(`${width} × ${height}: ${beside ? 'side by side' : 'the front one alone'}`, async () => {
      await emulate(page, width, height, 1);
      await eventually(() => shown(page), beside ? 'REXEC,DERAZO_Input' : 'REXEC', 'the windows shown');
      await screenshot(page, `desk-${width}x${height}`);
      if (!beside) return;
      const [left, right] = [await box(windowOf(page, 'REXEC')), await box(windowOf(page, 'DERAZO_Input'))];
      assert.ok(left.right <= right.left && right.right <= width, 'apart, inside the tab');
      for (const form of ['REXEC', 'DERAZO_Input']) {
        const drawing = windowOf(page, form).locator('.client');
        assert.ok(Number(await style(drawing, 'zoom')) >= 1, `${form} at its own size at least`);
        const { right, bottom } = await box(drawing);
        assert.ok(right <= width + 0.5 && bottom <= height + 0.5, `${form} drawn whole`);
      }
    });
  }
});

test('side by side, the screen in front takes the focus and the keys; a tab, Ctrl+F6 or a press brings the other', async () => {
  const page = await begun(WIDE);
  const titles = () =>
    Promise.all(['REXEC', 'DERAZO_Input'].map((f) => style(windowOf(page, f).locator('.title'), 'backgroundColor')));
  const stood = await box(windowOf(page, 'DERAZO_Input'));
  assert.deepEqual(await titles(), [NAVY, GREY]);
  await tab(page, 'Input');
  await eventually(() => front(page), 'DERAZO_Input', 'the tab brings the input screen forward');
  assert.equal(await page.locator('#tabs button.front').textContent(), 'VOLPAR Input Screen');
  assert.deepEqual(await titles(), [GREY, NAVY]);
  assert.equal(await focusedIn(page), 'Command_OK_For_Start_Location');
  assert.deepEqual(await box(windowOf(page, 'DERAZO_Input')), stood, 'neither screen moves');
  for (const [form, focus] of [
    ['REXEC', 'Command_Begin_Step'],
    ['DERAZO_Input', 'Command_OK_For_Start_Location'],
  ]) {
    await page.keyboard.press('Control+F6');
    assert.deepEqual([await front(page), await focusedIn(page)], [form, focus], 'Ctrl+F6 brings the next screen');
  }

  await el(page, 'REXEC', 'Label_T0').click();
  await eventually(() => front(page), 'REXEC', 'a press on a caption brings the execution screen forward');
  assert.equal(await focusedIn(page), 'Command_Begin_Step');
  await page.keyboard.press('Alt+v'); // View Memory
  await eventually(() => front(page), 'DERAZO_Input', 'View Memory brings the memory forward');
  assert.equal(await focusedIn(page), 'Return_to_exec_screen');
  await el(page, 'REXEC', 'Command_Begin_Step').click();
  await eventually(() => clockCell(page, 2), CYAN, 'Begin beside the memory performs T2');
  assert.equal(await front(page), 'REXEC');
  assert.equal(await shown(page), 'REXEC,DERAZO_Input');
  await page.close();
});

test('a resize between the arrangements keeps what the screens hold, the focus and the screen in front', async () => {
  const page = await begun(WIDE);
  await tab(page, 'Input');
  const bit = el(page, 'DERAZO_Input', 'Input_Bit(3)');
  await bit.fill('1');
  const focus = await focusedIn(page); // the next bit
  for (const viewport of [WINDOW, WIDE, WINDOW]) {
    await page.setViewportSize(viewport);
    await page.waitForTimeout(100);
    assert.deepEqual([await front(page), await focusedIn(page), await bit.inputValue()], ['DERAZO_Input', focus, '1']);
    assert.equal(await clockCell(page, 1), CYAN, 'the run stays where it was');
  }
  assert.equal(await shown(page), 'DERAZO_Input');
  await page.close();
});

// ---- zoom -------------------------------------------------------------------------------------

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
  let page;
  const at100 = {};
  before(async () => (page = await begun(WINDOW)));
  after(() => page?.close());

  for (const zoom of [1, 2, 4]) {
    test(`${zoom * 100} %: cells ${zoom} times as large, every control and menu item in reach`, async () => {
      await zoomTo(page, zoom);
      for (const [form, cell, caption] of [
        ['REXEC', 'Shape_Clock(1)', 'Execution'],
        ['DERAZO_Input', 'Shape1(1)', 'Input'],
      ]) {
        await tab(page, caption);
        await eventually(() => front(page), form, `${form} in front`);
        const width = await deviceWidth(page, form, cell);
        at100[form] ??= width;
        assert.ok(width >= zoom * at100[form] * 0.97, `${form} ${cell}: ${width} px, at 100 %: ${at100[form]} px`);
        assert.deepEqual(await outOfReach(page, form), [], `${form}: controls out of reach`);
        await screenshot(page, `desk-zoom${zoom * 100}-${form}`);
      }
      await windowOf(page, 'DERAZO_Input').locator('.menu-title', { hasText: 'File' }).click();
      for (const item of await page.locator('.dropdown.open button:visible').all()) {
        const r = await box(item);
        assert.ok(r.right <= WINDOW.width / zoom && r.bottom <= WINDOW.height / zoom, 'the menu item is inside');
      }
      await page.keyboard.press('Escape');
    });
  }

  test('at 400 % the drawing scrolls both ways, shows where the focus goes; the help spans the tab', async () => {
    await tab(page, 'Execution');
    await el(page, 'REXEC', 'Command_Begin_Step').click();
    await eventually(() => clockCell(page, 2), CYAN, 'Begin, scrolled to, performs T2');
    const port = windowOf(page, 'REXEC').locator('.viewport');
    const { x, y } = await box(port);
    await port.evaluate((n) => n.scrollTo(0, 0));
    await page.mouse.move(x + 50, y + 50);
    await page.mouse.wheel(100, 100);
    const scrolled = () => port.evaluate((n) => n.scrollLeft > 0 && n.scrollTop > 0);
    await eventually(scrolled, true, 'the wheel scrolls the drawing both ways');
    await page.keyboard.press('Alt+v'); // View Memory puts the focus on the way back
    await eventually(() => focusedIn(page), 'Return_to_exec_screen', 'the focus on the way back');
    const [focus, view] = [
      await box(page.locator(':focus')),
      await box(windowOf(page, 'DERAZO_Input').locator('.viewport')),
    ];
    assert.ok(
      focus.left >= view.left && focus.right <= view.right && focus.top >= view.top && focus.bottom <= view.bottom,
      'the focused button is in view',
    );
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
    await page.reload();
    await page.locator('section[data-form="Initial_Screen"].front').waitFor();
    await page.keyboard.press('a');
    await eventually(() => front(page), 'DERAZO_Input', 'the input screen after the reload');
    const width = await deviceWidth(page, 'DERAZO_Input', 'Shape1(1)');
    assert.ok(Math.abs(width - before) < 1, `${width} px after the reload, ${before} px before`);
  });
});
