// SPDX-License-Identifier: GPL-3.0-or-later
// The page between and within its frames: what each frame shows while the clock runs,
// keys typed faster than the page draws, and a panel that opens over the controls it covers.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { useBrowser } from './browser.mjs';

const session = useBrowser();

// 0 LOAD 31, 1 ADD 30, 2 STORE 31, 3 BRANCH 0; 30 holds 1: memory 31 counts up for ever.
const COUNTING = [
  [0, '00111111'],
  [1, '00011110'],
  [2, '01011111'],
  [3, '10100000'],
  [30, '00000001'],
];

// ---- what a frame shows ---------------------------------------------------------------------

// Runs in the page: after every animation frame callback (the page's drawing is the only
// one), checks that the execution screen as drawn is one state of the machine, and the
// state the program holds at that moment. Returns a function that stops and reports.
function watchFrames() {
  const RED = 'rgb(255, 0, 0)',
    YELLOW = 'rgb(255, 255, 0)',
    GREEN = 'rgb(0, 255, 0)',
    CYAN = 'rgb(0, 255, 255)';
  const rgb = (c) => `rgb(${c & 255}, ${(c >>> 8) & 255}, ${(c >>> 16) & 255})`;
  const { views, clocks, element } = window.volpar;
  const shown = [...views.values()].filter((v) => v.form.desc.name === 'REXEC' && v.node && v.kind !== 'line');
  const byName = new Map(shown.map((v) => [v.node.dataset.name, v.node]));
  const colour = (name) => getComputedStyle(byName.get(name)).backgroundColor;
  const bits = (array, from, to, on) => {
    let value = 0;
    for (let i = from; i <= to; ++i) value = value * 2 + (colour(`${array}(${i})`) === on ? 1 : 0);
    return value;
  };
  const count = (array, from, to, on) => {
    let n = 0;
    for (let i = from; i <= to; ++i) n += colour(`${array}(${i})`) === on ? 1 : 0;
    return n;
  };
  const caption = (name) => ((Number(byName.get(name).textContent) % 256) + 256) % 256;
  const REGISTERS = [
    ['PC', 'ShapePC', 4, 8, YELLOW, 'Register_PC_Decimal'],
    ['AR', 'Shapear', 4, 8, YELLOW, 'Register_Address_Decimal'],
    ['IR address', 'SHAPE_IR', 4, 8, RED, 'IR_Address_Decimal'],
    ['X', 'Shape_x', 1, 8, RED, 'Register_X_Decimal'],
    ['Y', 'shapey', 1, 8, RED, 'Register_Y_Decimal'],
    ['S', 'Shapet', 1, 8, RED, 'Register_S_Decimal'],
    ['Output', 'Shapeo', 1, 8, RED, 'Register_Output_Decimal'],
  ];

  // The machine's own rules, read from the drawing alone.
  function oneMachineState(fault) {
    const lit = count('Shape_Clock', 0, 7, CYAN);
    if (lit !== 1) fault(`${lit} clock cells lit`);
    const decoded = [1, 2, 3, 4, 5, 6, 7, 8].filter((k) => colour(`SHAPEID(${k})`) === GREEN);
    const opCode = bits('SHAPE_IR', 1, 3, RED);
    if (decoded.length > 1 || (decoded.length === 1 && decoded[0] - 1 !== opCode)) {
      fault(`decoder cells ${decoded} lit for op code ${opCode}`);
    }
    for (const [register, array, from, to, on, label] of REGISTERS) {
      const cells = bits(array, from, to, on);
      if (cells !== caption(label)) fault(`${register}: cells ${cells}, caption ${byName.get(label).textContent}`);
    }
  }

  // Every cell, lamp, caption and button as the program holds it now.
  function asTheProgramHoldsIt(fault) {
    for (const v of shown) {
      const d = element(v.id);
      const n = v.node;
      const name = n.dataset.name;
      if ((n.style.display === 'none') !== !d.visible) fault(`${name} shown: ${d.visible}`);
      if (v.kind === 'shape' && getComputedStyle(n).backgroundColor !== rgb(d.fill)) fault(`${name} fill`);
      if ((v.kind === 'label' || v.kind === 'button') && n.textContent !== d.caption.replace(/&(.)/g, '$1')) {
        fault(`${name} caption "${n.textContent}", held "${d.caption}"`);
      }
      if (v.kind === 'button' && n.disabled !== !d.enabled) fault(`${name} enabled: ${d.enabled}`);
      if ((v.kind === 'check' || v.kind === 'option') && v.control.checked !== (d.value === 1)) fault(`${name} value`);
    }
  }

  const report = { frames: 0, moving: 0, faults: [] };
  const clock = [...clocks.values()][0];
  let ticks = clock.delivered;
  const check = () => {
    ++report.frames;
    if (clock.delivered !== ticks) ++report.moving;
    ticks = clock.delivered;
    const fault = (what) => {
      if (report.faults.length < 8) report.faults.push(`frame ${report.frames}: ${what}`);
    };
    oneMachineState(fault);
    asTheProgramHoldsIt(fault);
  };
  const requestFrame = window.requestAnimationFrame;
  window.requestAnimationFrame = (callback) =>
    requestFrame.call(window, (time) => {
      callback(time);
      check();
    });
  window.stopWatchingFrames = () => {
    window.requestAnimationFrame = requestFrame;
    return report;
  };
}

// ---- the tests ------------------------------------------------------------------------------

for (const [rate, seconds] of [
  [1000, 2],
  [100, 2],
  [20, 3],
]) {
  test(`counting at ${rate} Hz, every frame drawn is one moment of the machine, as the program holds it`, async (t) => {
    const s = await session.atInputScreen();
    await s.sendBytes(COUNTING);
    await s.startAt(0);
    await s.setClock('automatic_radio', rate);
    await s.eventually(() => s.rexec('Time_Hertz').textContent(), String(rate), 'the speed');
    await s.page.evaluate(watchFrames);
    await s.rexec('Command_Begin_Step').click();
    await s.page.waitForTimeout(seconds * 1000);
    const report = await s.page.evaluate(() => window.stopWatchingFrames());
    await s.screenshot(`counting-${rate}`);
    t.diagnostic(`${report.frames} frames checked, ${report.moving} after clock ticks`);
    assert.deepEqual(report.faults, []);
    assert.ok(report.moving >= 10, `the clock ran while the frames were checked (${report.moving} frames after ticks)`);
    await s.page.close();
  });
}

test('a program typed with no pause between keys is stored as typed', async () => {
  const s = await session.atInputScreen();
  const typed = [
    [0, '00111111'],
    [1, '00011110'],
    [2, '01011111'],
    [3, '10100000'],
    [4, '11110000'],
  ];
  await s.input('Input_Bit(1)').selectText();
  // Enter sends the byte; the location moves on and the first bit box takes the next one.
  await s.page.keyboard.type(typed.map(([, bits]) => `${bits}\n`).join(''), { delay: 0 });
  await s.input('memory_text').fill('30');
  await s.input('Input_Bit(1)').selectText();
  await s.page.keyboard.type('00000001\n', { delay: 0 });
  for (const [address, bits] of [...typed, [30, '00000001']]) {
    await s.eventually(() => s.memory(address), bits, `memory ${address}`);
  }
  assert.equal(await s.input('memory_text').inputValue(), '31');
  await s.page.close();
});

test('the options panel opens over what it covers: its Close and Stop for Output take the clicks', async () => {
  const s = await session.atInputScreen();
  await s.sendBytes([[0, '10100000']]);
  await s.startAt(0);
  await s.rexec('Command_Options').click();
  const panel = s.rexec('OPTIONS_FRAME');
  await panel.waitFor();
  await s.screenshot('options');

  // The lower part of each, where the input window's frame lay over them.
  const lowerPart = async (locator) => {
    const box = await locator.boundingBox();
    return { x: box.x + box.width / 2, y: box.y + box.height * 0.85 };
  };
  const hit = (point) =>
    s.page.evaluate(({ x, y }) => document.elementFromPoint(x, y)?.closest('[data-name]')?.dataset.name, point);
  const stop = s.rexec('Stop_For_Output');
  const close = s.rexec('Command_Options_Close');
  for (const [name, locator] of [
    ['Stop_For_Output', stop],
    ['Command_Options_Close', close],
  ]) {
    assert.equal(await hit(await lowerPart(locator)), name, `${name} lies on top`);
  }

  const checked = await stop.locator('input').isChecked();
  const at = await lowerPart(stop.locator('input'));
  await s.page.mouse.click(at.x, at.y);
  await s.eventually(() => stop.locator('input').isChecked(), !checked, 'Stop for Output changes');
  const closeAt = await lowerPart(close);
  await s.page.mouse.click(closeAt.x, closeAt.y);
  await s.eventually(() => panel.isVisible(), false, 'Close closes the panel');
  await s.page.close();
});
