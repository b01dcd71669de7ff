// SPDX-License-Identifier: GPL-3.0-or-later
// The page in each theme, read back from what the browser draws: every cell in its
// meaning's colour from the program's table, the theme's ground behind the screens, axe-core
// clean; System follows the browser; switching during a run at 1000 Hz keeps every frame
// one moment of the machine; forced colours keep every control visible and focus-marked.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import path from 'node:path';
import { useBrowser } from './browser.mjs';

const shots = process.env.VOLPAR_WEB_SCREENSHOTS;
const axePath = new URL('node_modules/axe-core/axe.min.js', import.meta.url).pathname;
const session = useBrowser();
const openPage = async () => (await session.open()).page;
let page;

const el = (form, name) => page.locator(`section[data-form="${form}"] [data-name="${name}"]`);
const input = (name) => el('DERAZO_Input', name);
const rexec = (name) => el('REXEC', name);

// LOAD 31, ADD 30, STORE 31, BRANCH 0 with 1 at address 30, started at 0 in manual mode
// and stepped five phases: memory, PC, IR, decoder and clock all lit.
async function atAStep() {
  page = await openPage();
  await page.keyboard.press('Enter');
  await input('Command_Send_to_Memory').waitFor();
  for (const [address, bits] of [
    [0, '00111111'],
    [1, '00011110'],
    [2, '01011111'],
    [3, '10100000'],
    [30, '00000001'],
  ]) {
    await input('memory_text').fill(String(address));
    for (let i = 1; i <= 8; ++i) await input(`Input_Bit(${i})`).fill(bits[i - 1]);
    await input('Command_Send_to_Memory').click();
  }
  await input('Command_Execute_Program').click();
  await input('exec_text').fill('0');
  await input('Command_OK_For_Start_Location').click();
  await rexec('Command_Begin_Step').waitFor();
}

async function choose(caption) {
  await page.locator('section[data-form="DERAZO_Input"] .menu-title', { hasText: 'View' }).click();
  await page.locator('section[data-form="DERAZO_Input"] .dropdown button', { hasText: caption }).click();
}

// Runs in the page: window.wrongCells(form) lists every shown cell of a screen not drawn in
// its meaning's colour as the root's custom properties give it now, and the ground if it is
// not the screen's.
function installChecks() {
  const meaning = { 0xffffff: 'zero', 0x00ffff: 'memory-one', 0x0000ff: 'register-one', 0x00ff00: 'decoder' };
  Object.assign(meaning, { 0xffff00: 'clock', 0x000000: 'unknown' });
  const probe = document.body.appendChild(document.createElement('i'));
  const colourOf = (property) => {
    probe.style.color = `var(${property})`;
    return getComputedStyle(probe).color;
  };
  window.wrongCells = (form) => {
    const wrong = [];
    for (const v of window.volpar.views.values()) {
      if (v.form.desc.name !== form || v.kind !== 'shape' || !window.volpar.element(v.id).visible) continue;
      const want = colourOf(`--vp-${meaning[window.volpar.element(v.id).fill >>> 0]}`);
      const drawn = getComputedStyle(v.node).backgroundColor;
      if (drawn !== want) wrong.push(`${v.node.dataset.name} ${drawn}, not ${want}`);
    }
    const client = document.querySelector(`section[data-form="${form}"] .client`);
    const ground = colourOf(form === 'REXEC' ? '--vp-execution-back' : '--vp-input-back');
    if (getComputedStyle(client).backgroundColor !== ground) wrong.push('ground');
    return wrong;
  };
}

// The root's properties are the table's for the theme chosen.
function themeSet([choice, safe]) {
  const look = window.volpar.themeLook(choice, safe, false, false).properties;
  const root = getComputedStyle(document.documentElement);
  return Object.entries(look).every(([name, value]) => root.getPropertyValue(name).trim() === value);
}

async function axeFindings() {
  if (!(await page.evaluate(() => 'axe' in window))) await page.addScriptTag({ path: axePath });
  const violations = await page.evaluate(async () => (await window.axe.run(document)).violations);
  return violations
    .filter((v) => v.impact === 'serious' || v.impact === 'critical')
    .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
}

test('each theme draws every cell and ground from the table, axe-core finds nothing serious, and the choice is kept', async () => {
  await atAStep();
  await rexec('Command_Options').click();
  await rexec('manual_radio').locator('input').click();
  await rexec('Command_Options_Close').click();
  for (let i = 0; i < 5; ++i) await rexec('Command_Begin_Step').click();
  await page.evaluate(installChecks);
  for (const [caption, choice, safe] of [
    ['Theme: Dark', 'dark', false],
    ['Colour-blind safe', 'dark', true],
    ['Theme: Light', 'light', true],
    ['Colour-blind safe', 'light', false],
    ['Theme: High Contrast', 'high-contrast', false],
  ]) {
    await page.locator('#tabs button', { hasText: 'Input' }).first().click();
    await choose(caption);
    assert.ok(await page.evaluate(themeSet, [choice, safe]), `${choice} ${safe}`);
    assert.deepEqual(await page.evaluate(() => window.wrongCells('DERAZO_Input')), []);
    assert.deepEqual(await axeFindings(), [], `axe-core on the input screen, ${choice} ${safe}`);
    await page.locator('#tabs button', { hasText: 'Execution' }).first().click();
    assert.deepEqual(await page.evaluate(() => window.wrongCells('REXEC')), [], `${choice} ${safe}`);
    assert.deepEqual(await axeFindings(), [], `axe-core on the execution screen, ${choice} ${safe}`);
    if (shots) await page.screenshot({ path: path.join(shots, `theme-${choice}${safe ? '-safe' : ''}.png`) });
  }
  // High Contrast writes every bit.
  assert.ok((await page.locator('section[data-form="REXEC"] .bit-mark').count()) >= 58);
  await page.reload();
  await page.locator('section[data-form="Initial_Screen"].front').waitFor();
  assert.equal(await page.evaluate(() => document.documentElement.classList.contains('outlined')), true);
  await page.evaluate(() => localStorage.clear());
  await page.close();
});

test('System follows the browser: dark while it prefers dark', async () => {
  page = await openPage();
  const ground = () => page.evaluate(() => getComputedStyle(document.querySelector('.client')).backgroundColor);
  const light = await ground();
  await page.emulateMedia({ colorScheme: 'dark' });
  await page.waitForFunction(() => document.documentElement.dataset.theme === 'dark');
  assert.notEqual(await ground(), light);
  assert.equal(await page.evaluate(() => document.documentElement.classList.contains('outlined')), false);
  await page.emulateMedia({ colorScheme: 'light' });
  await page.waitForFunction(() => document.documentElement.dataset.theme === 'light');
  assert.equal(await ground(), light);
  await page.close();
});

// Runs in the page: the help's text stands in the root's ground and text colours.
function helpInTheme() {
  const doc = document.querySelector('#help iframe').contentDocument;
  const probe = document.body.appendChild(document.createElement('i'));
  probe.style.cssText = 'color: var(--vp-text); background: var(--vp-base)';
  const [want, got] = [getComputedStyle(probe), doc.defaultView.getComputedStyle(doc.documentElement)];
  return want.color === got.color && want.backgroundColor === got.backgroundColor;
}

test('System gives High Contrast while the browser prefers more contrast; the help follows a switch', async () => {
  page = await openPage();
  await page.emulateMedia({ contrast: 'more' });
  await page.waitForFunction(() => document.documentElement.classList.contains('outlined'));
  assert.ok(await page.evaluate(themeSet, ['high-contrast', false]));
  await page.keyboard.press('Enter');
  await input('Command_Send_to_Memory').waitFor();
  await page.keyboard.press('F1');
  await page.frameLocator('#help iframe').locator('h1').waitFor();
  assert.ok(await page.evaluate(helpInTheme), 'help in High Contrast');
  await choose('Theme: Dark');
  assert.ok(await page.evaluate(helpInTheme), 'help in Dark');
  await page.evaluate(() => localStorage.clear());
  await page.close();
});

// Runs in the page: after every animation frame, every cell of the execution screen as the
// program holds it, in the colours of the theme then in force.
function watchThemedFrames() {
  const report = { frames: 0, faults: [] };
  const requestFrame = window.requestAnimationFrame;
  window.requestAnimationFrame = (callback) =>
    requestFrame.call(window, (time) => {
      callback(time);
      ++report.frames;
      if (report.faults.length < 8) report.faults.push(...window.wrongCells('REXEC'));
    });
  window.stopWatchingFrames = () => {
    window.requestAnimationFrame = requestFrame;
    return report;
  };
}

test('switching themes while the clock runs at 1000 Hz keeps every frame one moment of the machine', async (t) => {
  await atAStep();
  await rexec('Command_Options').click();
  await rexec('automatic_radio').locator('input').click();
  await rexec('time_scroll').fill('1000');
  await rexec('Command_Options_Close').click();
  await page.evaluate(installChecks);
  await page.evaluate(watchThemedFrames);
  await rexec('Command_Begin_Step').click();
  for (const caption of [
    'Theme: Dark',
    'Colour-blind safe',
    'Theme: High Contrast',
    'Theme: Light',
    'Colour-blind safe',
  ]) {
    await page.locator('#tabs button', { hasText: 'Input' }).first().click();
    await choose(caption);
    await page.waitForTimeout(300);
  }
  const report = await page.evaluate(() => window.stopWatchingFrames());
  t.diagnostic(`${report.frames} frames checked`);
  assert.deepEqual(report.faults, []);
  assert.ok(report.frames >= 20, `${report.frames} frames`);
  await page.evaluate(() => localStorage.clear());
  await page.close();
});

test('in forced colours every control stays visible and takes a focus mark', async () => {
  await atAStep();
  await page.emulateMedia({ forcedColors: 'active' });
  await page.waitForFunction(() => document.documentElement.classList.contains('outlined'));
  const unseen = await page.evaluate(() =>
    [
      ...document.querySelectorAll(
        'section.window.front button, section.window.front input, section.window.front .shape',
      ),
    ]
      .filter((n) => n.offsetParent)
      .filter((n) => {
        const s = getComputedStyle(n);
        const box = n.getBoundingClientRect();
        return (
          box.width < 2 ||
          box.height < 2 ||
          s.visibility === 'hidden' ||
          s.opacity === '0' ||
          s.color === s.backgroundColor
        );
      })
      .map((n) => n.dataset.name ?? n.closest('[data-name]')?.dataset.name),
  );
  assert.deepEqual(unseen, []);
  for (let i = 0; i < 6; ++i) {
    await page.keyboard.press('Tab');
    const outline = await page.evaluate(() => {
      const s = getComputedStyle(document.activeElement);
      return `${s.outlineStyle} ${s.outlineWidth}`;
    });
    assert.match(outline, /^solid [1-9]/, `the focused control's mark: ${outline}`);
  }
  await page.close();
});
