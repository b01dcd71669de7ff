// SPDX-License-Identifier: GPL-3.0-or-later
// The page between and within its frames: what each frame shows while the clock runs,
// keys typed faster than the page draws, and a panel that opens over the controls it covers.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { CYAN, GREEN, RED, YELLOW, playEach, useBrowser } from './browser.mjs';

const session = useBrowser();

// 0 LOAD 31, 1 ADD 30, 2 STORE 31, 3 BRANCH 0; 30 holds 1: memory 31 counts up for ever.
const COUNTING = ['0:00111111', '1:00011110', '2:01011111', '3:10100000', '30:00000001'].map((b) => b.split(':'));

// Runs in the page: after every animation frame callback (the page's drawing is the only
// one), checks that the execution screen as drawn is one state of the machine, and the
// state the program holds at that moment. Returns a function that stops and reports.
function watchFrames([RED, YELLOW, GREEN, CYAN]) {
  const rgb = (c) => `rgb(${c & 255}, ${(c >>> 8) & 255}, ${(c >>> 16) & 255})`;
  const { views, clocks, element } = window.volpar;
  const shown = [...views.values()].filter((v) => v.form.desc.name === 'REXEC' && v.node && v.kind !== 'line');
  const byName = new Map(shown.map((v) => [v.node.dataset.name, v.node]));
  const colour = (name) => getComputedStyle(byName.get(name)).backgroundColor;
  const lit = (array, from, to, on) =>
    Array.from({ length: to - from + 1 }, (_, i) => (colour(`${array}(${from + i})`) === on ? '1' : '0')).join('');
  const bits = (...cells) => parseInt(lit(...cells), 2);
  const count = (...cells) => lit(...cells).replace(/0/g, '').length;
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
    const lamps = count('Shape_Clock', 0, 7, CYAN);
    if (lamps !== 1) fault(`${lamps} clock cells lit`);
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

for (const [rate, seconds] of Object.entries({ 1000: 2, 100: 2, 20: 3 })) {
  test(`counting at ${rate} Hz, every frame drawn is one moment of the machine, as the program holds it`, async (t) => {
    const s = await session.atInputScreen();
    await s.sendBytes(COUNTING);
    await s.startAt(0);
    await s.setClock('automatic_radio', rate);
    await s.eventually(() => s.rexec('Time_Hertz').textContent(), String(rate), 'the speed');
    await s.page.evaluate(watchFrames, [RED, YELLOW, GREEN, CYAN]);
    await s.rexec('Command_Begin_Step').click();
    await s.page.waitForTimeout(seconds * 1000);
    const report = await s.page.evaluate(() => window.stopWatchingFrames());
    const shots = process.env.VOLPAR_WEB_SCREENSHOTS; // a folder for a person to look at what was drawn
    if (shots) await s.page.screenshot({ path: `${shots}/counting-${rate}.png` });
    t.diagnostic(`${report.frames} frames checked, ${report.moving} after clock ticks`);
    assert.deepEqual(report.faults, []);
    assert.ok(report.moving >= 10, `the clock ran while the frames were checked (${report.moving} frames after ticks)`);
    await s.page.close();
  });
}

playEach(session, {
  'frames-typed': 'a program typed with no pause between keys is stored as typed',
  'frames-options': 'the options panel opens over what it covers: its Close and Stop for Output take the clicks',
});
