// SPDX-License-Identifier: GPL-3.0-or-later
// The page in each theme, read back from what the browser draws: every cell in its
// meaning's colour from the program's table, the theme's ground behind the screens, axe-core
// clean; System follows the browser (tests/data/web/themes-system.txt); switching during a
// run at 1000 Hz keeps every frame one moment of the machine; forced colours keep every
// control visible and focus-marked.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { playEach, useBrowser } from './browser.mjs';

const session = useBrowser();
let s, page;

// LOAD 31, ADD 30, STORE 31, BRANCH 0 with 1 at address 30, started at 0 and, by hand,
// stepped five phases: memory, PC, IR, decoder and clock all lit; the cells' checks installed.
async function atAStep(clock = 'manual_radio', rate = undefined) {
  ({ page } = s = await session.atInputScreen());
  await s.sendBytes(['0:00111111', '1:00011110', '2:01011111', '3:10100000', '30:00000001'].map((b) => b.split(':')));
  await s.startAt(0);
  await s.setClock(clock, rate);
  if (!rate) await s.step(5);
  await page.evaluate(installChecks);
  s.readings = {
    wrong: (form) => page.evaluate((f) => window.wrongCells(f), form),
    look: (theme) => page.evaluate(themeSet, [theme.split(' ')[0], theme.endsWith('true')]),
  };
}

// Runs in the page: window.wrongCells(form) lists every shown cell of a screen not drawn in
// its meaning's colour as the root's custom properties give it now, and the ground if it is
// not the screen's.
function installChecks() {
  const meaning = { 0xffffff: 'zero', 0x00ffff: 'memory-one', 0x0000ff: 'register-one', 0x00ff00: 'decoder' };
  Object.assign(meaning, { 0xffff00: 'clock', 0x000000: 'unknown' });
  const probe = document.body.appendChild(document.createElement('i'));
  const colourOf = (property) => ((probe.style.color = `var(${property})`), getComputedStyle(probe).color);
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

test('each theme draws every cell and ground from the table, axe-core finds nothing serious, and the choice is kept', async () => {
  await atAStep();
  await s.play('themes-each');
  await s.close();
});

playEach(session, { 'themes-system': 'System follows the browser: dark, or High Contrast, as it prefers' }, () => {});
playEach(session, { 'themes-forced': 'in forced colours every control stays visible and takes a focus mark' });

test('switching themes while the clock runs at 1000 Hz keeps every frame one moment of the machine', async (t) => {
  await atAStep('automatic_radio', 1000);
  // After every animation frame, every cell of the execution screen as the program holds
  // it, in the colours of the theme then in force.
  await page.evaluate(() => {
    const report = (window.themedFrames = { frames: 0, faults: [] });
    const requestFrame = window.requestAnimationFrame;
    window.requestAnimationFrame = (callback) =>
      requestFrame.call(window, (time) => {
        callback(time);
        ++report.frames;
        if (report.faults.length < 8) report.faults.push(...window.wrongCells('REXEC'));
      });
  });
  await s.step();
  for (const caption of ['Dark', 'Colour-blind safe', 'High Contrast', 'Light', 'Colour-blind safe']) {
    await s.act('click #tabs button:has-text("Input")');
    await s.act(`theme ${caption}`);
    await page.waitForTimeout(300);
  }
  const report = await page.evaluate(() => window.themedFrames);
  t.diagnostic(`${report.frames} frames checked`);
  assert.deepEqual(report.faults, []);
  assert.ok(report.frames >= 20, `${report.frames} frames`);
  await s.close();
});
