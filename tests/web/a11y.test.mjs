// SPDX-License-Identifier: GPL-3.0-or-later
// The page as a student with a screen reader or the keyboard alone meets it: axe-core finds
// nothing serious on any screen or panel, every text box has the windows' name, the hidden
// mirror says what the drawing shows, the live region keeps up with a fast clock without
// flooding, and "Show bit values" writes each bit in its cell.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import path from 'node:path';
import { RED, YELLOW, range, useBrowser } from './browser.mjs';

const session = useBrowser();
const axePath = new URL('node_modules/axe-core/axe.min.js', import.meta.url).pathname;
const dataDir = new URL('../data/', import.meta.url).pathname;

// ---- what the student sees and does ---------------------------------------------------------

let s, page;
const input = (name) => s.input(name);
const rexec = (name) => s.rexec(name);
const front = () => s.front();
const announced = () => page.locator('#announcer').textContent();
const eventually = (...a) => s.eventually(...a);
const screenshot = (name) => s.screenshot(name);
const sendBytes = (bytes) => s.sendBytes(bytes);
const startAt = (address) => s.startAt(address);
const setClock = (radio, rate) => s.setClock(radio, rate);

async function atInputScreen() {
  s = await session.atInputScreen();
  page = s.page;
}

// axe-core over the whole page as it stands: the serious and critical findings.
async function axeFindings() {
  if (!(await page.evaluate(() => 'axe' in window))) await page.addScriptTag({ path: axePath });
  const violations = await page.evaluate(async () => (await window.axe.run(document)).violations);
  return violations
    .filter((v) => v.impact === 'serious' || v.impact === 'critical')
    .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
}

async function assertAxeClean(where) {
  assert.deepEqual(await axeFindings(), [], `axe-core on ${where}`);
}

// The accessible name of every text box of the screen in front.
function textBoxNames() {
  return page.evaluate(() =>
    [...document.querySelectorAll('section.window.front input[type=text], section.window.front textarea')]
      .filter((n) => n.offsetParent)
      .map((n) => n.getAttribute('aria-label') ?? ''),
  );
}

// What the drawing shows of a register: "5, binary 00101" from its caption and its cells.
function drawnRegister(cells, from, n, one, decimal) {
  return page.evaluate(
    ({ cells, from, n, one, decimal }) => {
      const cell = (name) => document.querySelector(`section[data-form="REXEC"] [data-name="${name}"]`);
      const bits = Array.from({ length: n }, (_, i) =>
        getComputedStyle(cell(`${cells}(${from + i})`)).backgroundColor === one ? '1' : '0',
      ).join('');
      const number = decimal ? cell(decimal).textContent : String(parseInt(bits, 2));
      return `${number ? `${number}, ` : ''}binary ${bits}`;
    },
    { cells, from, n, one, decimal },
  );
}

// A reading of the mirror by the start of its name (the output's names its address).
const mirrored = (name) => page.locator(`[data-mirror="REXEC"] [data-reading^="${name}"]`).textContent();

// the register as its frame names it, its cells, the colour of a 1, its decimal caption
const REGISTERS = [
  ['Program Counter', 'ShapePC', 4, 5, YELLOW, 'Register_PC_Decimal'],
  ['Address Register', 'Shapear', 4, 5, YELLOW, 'Register_Address_Decimal'],
  ['Instruction Register', 'SHAPE_IR', 1, 8, RED, null], // the whole byte, then its meaning
  ['X', 'Shape_x', 1, 8, RED, 'Register_X_Decimal'],
  ['Y', 'shapey', 1, 8, RED, 'Register_Y_Decimal'],
  ['S', 'Shapet', 1, 8, RED, 'Register_S_Decimal'],
  ['Output', 'Shapeo', 1, 8, RED, 'Register_Output_Decimal'],
];

// ---- the screens and panels -------------------------------------------------------------------

test('axe-core finds nothing serious on the screens and panels, and every text box is named as in the windows', async () => {
  s = await session.open();
  page = s.page;
  await assertAxeClean('the welcome screen');
  assert.deepEqual(await textBoxNames(), ['Version', 'Address']);
  await page.keyboard.press('Enter');
  await eventually(front, 'DERAZO_Input', 'the input screen');
  await input('Command_Execute_Program').click(); // the start location shows
  await assertAxeClean('the input screen');
  assert.deepEqual(await textBoxNames(), [
    ...range(1, 8).map((i) => `Bit ${i}`),
    'Op code',
    'Address',
    'Memory location',
    'Start location',
  ]);
  await input('memory_text').fill('5');
  const bit = page.getByRole('textbox', { name: 'Bit 3' });
  await eventually(
    () => bit.getAttribute('aria-describedby').then((id) => page.locator(`#${id}`).textContent()),
    '',
    'the bit boxes do not each repeat the location',
  );

  await input('Input_Bit(1)').fill('2'); // refused, with a message box
  await page.locator('#msgbox').waitFor();
  await assertAxeClean('a message box');
  await page.locator('#msgbox button').click();
  await page.locator('#msgbox').waitFor({ state: 'hidden' });

  await page.keyboard.press('F1');
  await page.locator('#help').waitFor();
  await assertAxeClean('the help');
  // From the keyboard: the help has the focus, Escape closes it and the screen has it back.
  await eventually(() => page.evaluate(() => document.activeElement.id), 'help-close', 'the help has the focus');
  await page.keyboard.press('Tab');
  await page.keyboard.press('Escape');
  await page.locator('#help').waitFor({ state: 'hidden' });
  assert.equal(await page.evaluate(() => document.activeElement.closest('section')?.dataset.form), 'DERAZO_Input');
  await page.keyboard.press('F3');
  await page.locator('#machine-state').waitFor();
  await assertAxeClean('the machine state panel');
  await page.keyboard.press('Escape');
  const chooser = page.waitForEvent('filechooser');
  await page.keyboard.press('Control+e');
  await (await chooser).setFiles(path.join(dataDir, 'exercise', 'add.ini'));
  await page.locator('#exercise').waitFor();
  await page.locator('#exercise').getByRole('button', { name: 'Check' }).click();
  await page.locator('#exercise .exercise-results li').first().waitFor();
  await assertAxeClean('the exercise panel, checked');

  await input('exec_text').fill('0');
  await input('Command_OK_For_Start_Location').click();
  await eventually(front, 'REXEC', 'the execution screen');
  await assertAxeClean('the execution screen');
  await page.keyboard.press('F2');
  await page.getByRole('button', { name: 'Step Back' }).waitFor();
  await assertAxeClean('the execution screen with the history panel');
  await page.keyboard.press('Escape');
  await rexec('Command_Options').click();
  await assertAxeClean('the execution screen with its options');
  assert.equal(await page.getByRole('slider', { name: 'Speed' }).count(), 1);
  await page.close();
});

// 0 LOAD 6, 1 ADD 7, 2 OUTPUT, 3 INPUT 8; 6 holds 250, 7 holds 3.
const ADDING = [
  [0, '00100110'],
  [1, '00000111'],
  [2, '10000000'],
  [3, '01101000'],
  [6, '11111010'],
  [7, '00000011'],
];

test('stepped by hand, the mirror says what the drawing shows, and the live region says what each phase changed', async () => {
  await atInputScreen();
  await sendBytes(ADDING);
  const row = page.locator('[data-mirror="DERAZO_Input"] tr').nth(6);
  await eventually(() => row.textContent(), 'Address 611111010, BR NNeg 26', 'memory row 6 in the grid');
  assert.equal(await page.locator('[data-mirror="DERAZO_Input"] [role=grid] tr').count(), 32);
  await startAt(0);
  await setClock('manual_radio');
  for (const phase of range(1, 24)) {
    await rexec('Command_Begin_Step').click();
    const clock = `phase T${phase % 8}`;
    await eventually(() => mirrored('Clock'), clock, `the clock after step ${phase}`);
    for (const [name, cells, from, n, one, decimal] of REGISTERS) {
      const drawn = await drawnRegister(cells, from, n, one, decimal);
      assert.ok((await mirrored(name)).startsWith(drawn), `${name}, ${clock}: ${drawn}`);
    }
    await eventually(async () => (await announced()).startsWith(`Clock ${clock}`), true, `the news of step ${phase}`);
  }
  assert.match(await mirrored('Decoder'), /^(LOAD|ADD|OUTPUT)$/);
  assert.equal(await mirrored('Output'), '253, binary 11111101');
  // A change within a phase: the news still says which phase it is, and what it did.
  for (let i = 0; i < 6; ++i) await rexec('Command_Begin_Step').click();
  await eventually(() => mirrored('Input window'), 'waiting for a value', 'INPUT waits at T6');
  await eventually(
    async () =>
      /^Clock phase T6, Stop: the input window opens and the clock waits for a value, .*Input window waiting for a value$/.test(
        await announced(),
      ),
    true,
    'the news of the wait',
  );
  await page.close();
});

test('at 1000 Hz the live region says only that the clock runs, and where it stopped when it stops', async () => {
  await atInputScreen();
  await sendBytes([[0, '10100000']]); // BRANCH 0, for ever
  await startAt(0);
  await setClock('automatic_radio', 1000);
  await page.evaluate(() => {
    window.spoken = 0;
    new MutationObserver(() => ++window.spoken).observe(document.querySelector('#announcer'), {
      childList: true,
      characterData: true,
      subtree: true,
    });
  });
  await rexec('Command_Begin_Step').click();
  await page.waitForTimeout(2000);
  // The press's own news may come first; then only that the clock runs.
  const spoken = await page.evaluate(() => window.spoken);
  assert.ok(spoken >= 1 && spoken <= 2, `${spoken} announcements in two seconds`);
  assert.equal(await announced(), 'Clock running');
  await rexec('Command_Pause').click(); // stops at the end of the instruction
  await page.waitForTimeout(600);
  const drawnPhase = await page.evaluate(() => {
    for (let k = 0; k < 8; ++k) {
      const n = document.querySelector(`[data-form="REXEC"] [data-name="Shape_Clock(${k})"]`);
      if (getComputedStyle(n).backgroundColor === 'rgb(0, 255, 255)') return k;
    }
    return -1;
  });
  assert.ok(drawnPhase >= 0, 'a phase is lit');
  assert.match(await announced(), new RegExp(`^Clock stopped, Clock phase T${drawnPhase}\\b`));
  assert.equal(await mirrored('Clock'), `phase T${drawnPhase}`);
  await page.close();
});

// ---- the keyboard -----------------------------------------------------------------------------

test('the keyboard reaches the controls, and each shows a mark where the focus is', async () => {
  await atInputScreen();
  const marks = [];
  for (let i = 0; i < 16; ++i) {
    await page.keyboard.press('Tab');
    marks.push(
      await page.evaluate(() => {
        const n = document.activeElement;
        const s = getComputedStyle(n);
        return `${n.dataset.name ?? n.tagName}:${s.outlineStyle === 'solid' && parseFloat(s.outlineWidth) >= 1}`;
      }),
    );
  }
  assert.ok(marks.includes('Command_Send_to_Memory:true'), marks.join(' '));
  assert.deepEqual(
    marks.filter((m) => m.endsWith(':false')),
    [],
    'every control the focus reached shows it',
  );
  // F3 from the keyboard: the summary, focused, with the memory rows.
  await page.keyboard.press('F3');
  const summary = page.getByRole('textbox', { name: 'Machine state' });
  await eventually(() => summary.evaluate((n) => n === document.activeElement), true, 'the summary has the focus');
  await page.close();
});

// ---- Show bit values --------------------------------------------------------------------------

function contrast(a, b) {
  const lum = (rgb) => {
    const [r, g, b2] = rgb
      .match(/\d+/g)
      .map(Number)
      .map((v) => {
        const c = v / 255;
        return c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4;
      });
    return 0.2126 * r + 0.7152 * g + 0.0722 * b2;
  };
  const [hi, lo] = [lum(a), lum(b)].sort((x, y) => y - x);
  return (hi + 0.05) / (lo + 0.05);
}

// Each mark of a row of cells, with its colour and its cell's fill.
function marks(form, cells, indices) {
  return page.evaluate(
    ({ form, cells, indices }) =>
      indices.map((i) => {
        const cell = document.querySelector(`section[data-form="${form}"] [data-name="${cells}(${i})"]`);
        const mark = cell.querySelector('.bit-mark');
        return (
          mark && {
            text: mark.textContent,
            color: getComputedStyle(mark).color,
            fill: getComputedStyle(cell).backgroundColor,
          }
        );
      }),
    { form, cells, indices },
  );
}

test('Show bit values writes 1 and 0 in every bit cell, readable on its fill, and is remembered', async () => {
  await atInputScreen();
  await sendBytes([[0, '10100101']]);
  assert.deepEqual(await marks('DERAZO_Input', 'Shape1', range(1, 8)), Array(8).fill(null), 'off at first');

  await page.keyboard.press('F4');
  const row0 = await marks('DERAZO_Input', 'Shape1', range(1, 8));
  assert.equal(row0.map((m) => m.text).join(''), '10100101');
  for (const m of row0) assert.ok(contrast(m.color, m.fill) >= 4.5, `${m.color} on ${m.fill}`);
  await screenshot('bit-values-input');

  // The View menu says it is on; the choice outlives the page.
  await page.keyboard.press('Alt+V');
  const item = page.getByRole('menuitemcheckbox', { name: /Show bit values/ });
  assert.equal(await item.getAttribute('aria-checked'), 'true');
  await page.keyboard.press('Escape');
  await page.reload();
  await page.locator('section[data-form="Initial_Screen"].front').waitFor();
  await page.keyboard.press('Enter');
  await eventually(front, 'DERAZO_Input', 'the input screen after a reload');
  await sendBytes([[0, '10000001']]);
  await startAt(0);
  await setClock('manual_radio');
  for (let i = 0; i < 4; ++i) await rexec('Command_Begin_Step').click(); // IR at T3... T4
  await eventually(
    async () => (await marks('REXEC', 'SHAPE_IR', range(1, 8))).map((m) => m.text).join(''),
    '10000001',
    'the instruction register, marked',
  );
  const ir = await marks('REXEC', 'SHAPE_IR', range(1, 8));
  for (const m of ir) assert.ok(contrast(m.color, m.fill) >= 4.5, `${m.color} on ${m.fill}`);
  await screenshot('bit-values-execution');
  await page.keyboard.press('F4');
  assert.deepEqual(await marks('REXEC', 'SHAPE_IR', range(1, 8)), Array(8).fill(null), 'off again');
  await page.close();
});
