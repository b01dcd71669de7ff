// SPDX-License-Identifier: GPL-3.0-or-later
// The desk at every tab width and browser zoom, as a student sees it: the execution screen
// and the memory side by side where the tab is wide enough, one at a time where not, and a
// drawing that grows with the zoom and scrolls to every control.
//
// Browser zoom is emulated as the browser zooms: the CSS pixels of the tab shrink by the
// zoom and each covers zoom × zoom device pixels, both at once, on the page already open
// (DevTools' Emulation.setDeviceMetricsOverride). The page sees what it sees at Ctrl + Plus:
// a resize and a change of devicePixelRatio together.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { launch, openPage as open, serve } from './browser.mjs';

const webDir = process.env.VOLPAR_WEB_DIR;
const shots = process.env.VOLPAR_WEB_SCREENSHOTS;
const WINDOW = { width: 1280, height: 900 };
const NAVY = 'rgb(0, 0, 128)';
const GREY = 'rgb(112, 112, 112)';
const CYAN = 'rgb(0, 255, 255)';

let server, browser, url;

before(async () => {
  assert.ok(webDir && fs.existsSync(path.join(webDir, 'volpar.wasm')), 'build the page first: make web');
  server = await serve(path.resolve(webDir));
  url = `http://127.0.0.1:${server.address().port}/`;
  browser = await launch();
});

after(async () => {
  await browser?.close();
  server?.close();
});

// ---- what the student does and sees ----------------------------------------------------------

const windowOf = (page, form) => page.locator(`section[data-form="${form}"]`);
const el = (page, form, name) => page.locator(`section[data-form="${form}"] [data-name="${name}"]`);
const front = (page) => page.locator('section.window.front').getAttribute('data-form');
const box = (locator) => locator.evaluate((n) => n.getBoundingClientRect().toJSON());
const focusedIn = (page) => page.evaluate(() => document.activeElement.closest('section')?.dataset.form);
const titleColour = (page, form) =>
  windowOf(page, form)
    .locator('.title')
    .evaluate((n) => getComputedStyle(n).backgroundColor);

async function eventually(read, expected, what) {
  let value;
  for (let i = 0; i < 100; ++i) {
    value = await read();
    if (value === expected) return;
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
  assert.equal(value, expected, what);
}

// A fresh page, past the welcome screen, with a run started at 0 by hand and one Begin pressed.
async function begun(viewport = WINDOW) {
  const page = await open(browser, url);
  await page.setViewportSize(viewport);
  await page.keyboard.press('a');
  await eventually(() => front(page), 'DERAZO_Input', 'the input screen comes first');
  await el(page, 'DERAZO_Input', 'Command_Execute_Program').click();
  await el(page, 'DERAZO_Input', 'exec_text').fill('0');
  await el(page, 'DERAZO_Input', 'Command_OK_For_Start_Location').click();
  await eventually(() => front(page), 'REXEC', 'the execution screen comes to the front');
  await el(page, 'REXEC', 'Command_Options').click();
  await el(page, 'REXEC', 'manual_radio').locator('input').click();
  await el(page, 'REXEC', 'Command_Options_Close').click();
  await el(page, 'REXEC', 'Command_Begin_Step').click();
  await eventually(() => cellColour(page, 'REXEC', 'Shape_Clock(1)'), CYAN, 'Begin performs T1');
  return page;
}

const cellColour = (page, form, name) => el(page, form, name).evaluate((n) => getComputedStyle(n).backgroundColor);

async function zoomTo(page, zoom) {
  const cdp = await page.context().newCDPSession(page);
  await cdp.send('Emulation.setDeviceMetricsOverride', {
    width: Math.round(WINDOW.width / zoom),
    height: Math.round(WINDOW.height / zoom),
    deviceScaleFactor: zoom,
    mobile: false,
  });
  await eventually(() => page.evaluate(() => window.devicePixelRatio), zoom, 'the zoom is applied');
  await page.waitForTimeout(100);
  return cdp;
}

// The picture as the screen shows it, in device pixels (Playwright's own would reset the zoom).
async function screenshot(page, name, cdp) {
  if (!shots) return;
  const file = path.join(shots, `${name}.png`);
  if (!cdp) await page.screenshot({ path: file });
  else fs.writeFileSync(file, Buffer.from((await cdp.send('Page.captureScreenshot')).data, 'base64'));
}

// The windows shown, left to right.
const shown = (page) =>
  page.evaluate(() =>
    [...document.querySelectorAll('section.window')]
      .filter((n) => n.checkVisibility())
      .sort((a, b) => a.getBoundingClientRect().left - b.getBoundingClientRect().left)
      .map((n) => n.dataset.form),
  );

// ---- side by side -----------------------------------------------------------------------------

describe('side by side where both fit at their drawn size, one at a time elsewhere', () => {
  const cases = [
    { width: 1920, height: 1080, beside: true },
    { width: 1600, height: 900, beside: true },
    { width: 1440, height: 900, beside: false },
    { width: 1280, height: 900, beside: false },
    { width: 1920, height: 560, beside: false }, // wide but too low
  ];
  let page;
  before(async () => {
    page = await begun();
  });
  after(() => page?.close());

  for (const { width, height, beside } of cases) {
    test(`${width} × ${height}: ${beside ? 'side by side' : 'the front one alone'}`, async () => {
      await page.setViewportSize({ width, height });
      await eventually(() => shown(page).then((s) => s.join()), beside ? 'REXEC,DERAZO_Input' : 'REXEC', 'shown');
      await screenshot(page, `desk-${width}x${height}`);
      if (!beside) return;
      const [left, right] = [await box(windowOf(page, 'REXEC')), await box(windowOf(page, 'DERAZO_Input'))];
      assert.ok(left.right <= right.left, 'the two do not overlap');
      assert.ok(right.right <= width && left.bottom <= height, 'both stand inside the tab');
      for (const form of ['REXEC', 'DERAZO_Input']) {
        const drawing = await box(windowOf(page, form).locator('.client'));
        const zoom = await windowOf(page, form)
          .locator('.client')
          .evaluate((n) => Number(n.style.zoom));
        assert.ok(zoom >= 1, `${form} is drawn at least at its own size (${zoom})`);
        assert.ok(drawing.right <= width + 0.5 && drawing.bottom <= height + 0.5, `${form} is drawn whole`);
      }
    });
  }
});

describe('side by side, the screen in front takes the focus and the keys', () => {
  let page;
  before(async () => {
    page = await begun({ width: 1920, height: 1080 });
  });
  after(() => page?.close());

  test('the tab brings the other screen to the front, with the focus; neither moves', async () => {
    const before = await box(windowOf(page, 'DERAZO_Input'));
    assert.deepEqual([await titleColour(page, 'REXEC'), await titleColour(page, 'DERAZO_Input')], [NAVY, GREY]);
    await page.locator('#tabs button', { hasText: 'VOLPAR Input Screen' }).click();
    await eventually(() => front(page), 'DERAZO_Input', 'the tab brings the input screen forward');
    assert.equal(await page.locator('#tabs button.front').textContent(), 'VOLPAR Input Screen');
    assert.deepEqual([await titleColour(page, 'REXEC'), await titleColour(page, 'DERAZO_Input')], [GREY, NAVY]);
    assert.equal(await focusedIn(page), 'DERAZO_Input');
    assert.deepEqual(await box(windowOf(page, 'DERAZO_Input')), before, 'the input screen stays where it stood');
    assert.deepEqual(await shown(page), ['REXEC', 'DERAZO_Input']);
  });

  test('a click on the screen beside brings it forward; keys then go to it', async () => {
    await el(page, 'REXEC', 'Label_T0').click();
    await eventually(() => front(page), 'REXEC', 'a click brings the execution screen forward');
    assert.equal(await focusedIn(page), 'REXEC');
    await page.keyboard.press('Alt+v'); // View Memory, by its access key
    await eventually(() => front(page), 'DERAZO_Input', 'View Memory brings the memory forward');
    assert.equal(
      await el(page, 'DERAZO_Input', 'Return_to_exec_screen').evaluate((n) => n === document.activeElement),
      true,
    );
    assert.deepEqual(await shown(page), ['REXEC', 'DERAZO_Input'], 'the execution screen stays beside it');
  });

  test('Begin pressed on the screen beside brings it forward and performs a phase', async () => {
    await el(page, 'REXEC', 'Command_Begin_Step').click();
    await eventually(() => cellColour(page, 'REXEC', 'Shape_Clock(2)'), CYAN, 'Begin performs T2');
    assert.equal(await front(page), 'REXEC');
  });
});

test('a resize between the arrangements keeps what the screens hold, the focus and the screen in front', async () => {
  const page = await begun({ width: 1920, height: 1080 });
  await page.locator('#tabs button', { hasText: 'VOLPAR Input Screen' }).click();
  const bit = el(page, 'DERAZO_Input', 'Input_Bit(3)');
  await bit.fill('1');
  await bit.focus();
  for (const viewport of [WINDOW, { width: 1920, height: 1080 }, WINDOW]) {
    await page.setViewportSize(viewport);
    await page.waitForTimeout(100);
    assert.equal(await front(page), 'DERAZO_Input');
    assert.equal(await bit.inputValue(), '1');
    assert.equal(await bit.evaluate((n) => n === document.activeElement), true, 'the focus stays');
    assert.equal(await cellColour(page, 'REXEC', 'Shape_Clock(1)'), CYAN, 'the run stays where it was');
  }
  assert.deepEqual(await shown(page), ['DERAZO_Input']);
  await page.close();
});

// ---- zoom -------------------------------------------------------------------------------------

// Every control of the window in front, scrolled to, stands inside the tab and takes a click there.
async function reachable(page, form) {
  const controls = windowOf(page, form).locator('.client button:visible, .client input:visible');
  const missed = [];
  for (const control of await controls.all()) {
    await control.scrollIntoViewIfNeeded();
    const hit = await control.evaluate((n) => {
      const r = n.getBoundingClientRect();
      const [x, y] = [(r.left + r.right) / 2, (r.top + r.bottom) / 2];
      if (x < 0 || y < 0 || x > innerWidth || y > innerHeight) return false;
      return (
        n.contains(document.elementFromPoint(x, y)) || n.closest('label')?.contains(document.elementFromPoint(x, y))
      );
    });
    if (!hit) missed.push(await control.evaluate((n) => n.closest('[data-name]')?.dataset.name));
  }
  return missed;
}

// A memory cell's and a register cell's width on the screen, in device pixels.
const deviceWidth = (page, form, name) =>
  el(page, form, name).evaluate((n) => n.getBoundingClientRect().width * window.devicePixelRatio);

describe('browser zoom enlarges the machine, which scrolls to every control', () => {
  let page;
  const at100 = {};
  before(async () => {
    page = await begun();
  });
  after(() => page?.close());

  for (const zoom of [1, 2, 4]) {
    test(`${zoom * 100} %: cells ${zoom} times as large, every control reachable`, async () => {
      const cdp = await zoomTo(page, zoom);
      for (const [form, cell] of [
        ['REXEC', 'Shape_Clock(1)'],
        ['DERAZO_Input', 'Shape1(1)'],
      ]) {
        await page.locator('#tabs button', { hasText: form === 'REXEC' ? 'Execution' : 'Input' }).click();
        await eventually(() => front(page), form, `${form} in front`);
        const width = await deviceWidth(page, form, cell);
        at100[form] ??= width;
        assert.ok(width >= zoom * at100[form] * 0.97, `${form} ${cell}: ${width} px, at 100 %: ${at100[form]} px`);
        assert.deepEqual(await reachable(page, form), [], `${form}: controls out of reach`);
        await screenshot(page, `desk-zoom${zoom * 100}-${form}`, cdp);
      }
      const menu = windowOf(page, 'DERAZO_Input').locator('.menu-title', { hasText: 'File' });
      await menu.click();
      const items = windowOf(page, 'DERAZO_Input').locator('.dropdown.open button:visible');
      assert.ok((await items.count()) > 0);
      for (const item of await items.all()) {
        const r = await box(item);
        assert.ok(r.right <= WINDOW.width / zoom + 0.5 && r.bottom <= WINDOW.height / zoom + 0.5, 'menu item inside');
      }
      await page.keyboard.press('Escape');
    });
  }

  test('at 400 % a student runs the machine: Begin, scrolled to, performs the next phase', async () => {
    await page.locator('#tabs button', { hasText: 'Execution' }).click();
    await el(page, 'REXEC', 'Command_Begin_Step').click();
    await eventually(() => cellColour(page, 'REXEC', 'Shape_Clock(2)'), CYAN, 'Begin performs T2');
    const port = windowOf(page, 'REXEC').locator('.viewport');
    const scrolls = await port.evaluate((n) => [n.scrollWidth > n.clientWidth, n.scrollHeight > n.clientHeight]);
    assert.deepEqual(scrolls, [true, true], 'the drawing scrolls both ways');
  });

  test('at 400 % the help opens across the whole tab, its close button in reach', async () => {
    await page.locator('#tabs button', { hasText: 'Input' }).click();
    await page.keyboard.press('F1');
    const help = page.locator('#help');
    await help.waitFor();
    assert.equal((await box(help)).width, WINDOW.width / 4);
    await page.locator('#help-close').click();
    await help.waitFor({ state: 'hidden' });
  });

  test('a page reloaded at 200 % is drawn as large as before the reload', async () => {
    await zoomTo(page, 2);
    await page.locator('#tabs button', { hasText: 'Input' }).click();
    const before = await deviceWidth(page, 'DERAZO_Input', 'Shape1(1)');
    await page.reload();
    await page.locator('section[data-form="Initial_Screen"].front').waitFor();
    await page.keyboard.press('a');
    await eventually(() => front(page), 'DERAZO_Input', 'the input screen after the reload');
    const width = await deviceWidth(page, 'DERAZO_Input', 'Shape1(1)');
    assert.ok(Math.abs(width - before) < 1, `${width} px after the reload, ${before} px before`);
  });
});
