// SPDX-License-Identifier: GPL-3.0-or-later
// The page as a student with a screen reader or the keyboard alone meets it: axe-core finds
// nothing serious on any screen or panel, every text box has the windows' name, the hidden
// mirror says what the drawing shows, the live region keeps up with a fast clock without
// flooding, and "Show bit values" writes each bit in its cell.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { RED, YELLOW, range, useBrowser } from './browser.mjs';

const session = useBrowser();
let s, page;
const announced = () => page.locator('#announcer').textContent();
// A reading of the mirror by the start of its name (the output's names its address).
const mirrored = (name) => page.locator(`[data-mirror="REXEC"] [data-reading^="${name}"]`).textContent();

async function runAt(bytes, clock, rate) {
  ({ page } = s = await session.atInputScreen());
  await s.sendBytes(bytes);
  await s.startAt(0);
  await s.setClock(clock, rate);
}

// What the drawing shows of a register: "5, binary 00101" from its caption and its cells.
async function drawnRegister(cells, from, n, one, decimal) {
  const bits = await s.cells('REXEC', cells, range(from, n), one);
  const number = decimal ? await s.rexec(`Register_${decimal}_Decimal`).textContent() : String(parseInt(bits, 2));
  return `${number ? `${number}, ` : ''}binary ${bits}`;
}

// The register as its frame names it, its cells, the colour of a 1, its decimal caption.
const REGISTERS = [
  ['Program Counter', 'ShapePC', 4, 5, YELLOW, 'PC'],
  ['Address Register', 'Shapear', 4, 5, YELLOW, 'Address'],
  ['Instruction Register', 'SHAPE_IR', 1, 8, RED, null], // the whole byte, then its meaning
  ['X', 'Shape_x', 1, 8, RED, 'X'],
  ['Y', 'shapey', 1, 8, RED, 'Y'],
  ['S', 'Shapet', 1, 8, RED, 'S'],
  ['Output', 'Shapeo', 1, 8, RED, 'Output'],
];

test('axe-core finds nothing serious on the screens and panels, and every text box is named as in the windows', async () => {
  s = await session.open();
  await s.play('a11y');
  await s.close();
});

// 0 LOAD 6, 1 ADD 7, 2 OUTPUT, 3 INPUT 8; 6 holds 250, 7 holds 3.
test('stepped by hand, the mirror says what the drawing shows, and the live region says what each phase changed', async () => {
  const ADDING = ['0:00100110', '1:00000111', '2:10000000', '3:01101000', '6:11111010', '7:00000011'];
  ({ page } = s = await session.atInputScreen());
  await s.sendBytes(ADDING.map((b) => b.split(':')));
  const row = page.locator('[data-mirror="DERAZO_Input"] tr').nth(6);
  await s.eventually(() => row.textContent(), 'Address 611111010, BR NNeg 26', 'memory row 6 in the grid');
  assert.equal(await page.locator('[data-mirror="DERAZO_Input"] [role=grid] tr').count(), 32);
  await s.startAt(0);
  await s.setClock('manual_radio');
  for (const phase of range(1, 24)) {
    await s.step();
    const clock = `phase T${phase % 8}`;
    await s.eventually(() => mirrored('Clock'), clock, `the clock after step ${phase}`);
    for (const [name, ...register] of REGISTERS) {
      const drawn = await drawnRegister(...register);
      assert.ok((await mirrored(name)).startsWith(drawn), `${name}, ${clock}: ${drawn}`);
    }
    await s.eventually(async () => (await announced()).startsWith(`Clock ${clock}`), true, `the news of ${phase}`);
  }
  assert.match(await mirrored('Decoder'), /^(LOAD|ADD|OUTPUT)$/);
  assert.equal(await mirrored('Output'), '253, binary 11111101');
  // A change within a phase: the news still says which phase it is, and what it did.
  await s.step(6);
  await s.eventually(() => mirrored('Input window'), 'waiting for a value', 'INPUT waits at T6');
  const wait =
    /^Clock phase T6, Stop: the input window opens and the clock waits for a value, .*Input window waiting for a value$/;
  await s.eventually(async () => wait.test(await announced()), true, 'the news of the wait');
  await s.close();
});

test('at 1000 Hz the live region says only that the clock runs, and where it stopped when it stops', async () => {
  await runAt([[0, '10100000']], 'automatic_radio', 1000); // BRANCH 0, for ever
  await s.play('a11y-fast');
  await s.close();
});

test('the keyboard reaches the controls, and each shows a mark where the focus is', async () => {
  s = await session.atInputScreen();
  await s.play('a11y-keys');
  await s.close();
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
