// SPDX-License-Identifier: GPL-3.0-or-later
// The Program Text panel in the page, used as a student would: F6 opens it on memory
// listed, a program typed and sent fills the memory grid, a typing mistake is listed and
// changes nothing, and the running line follows the machine; F7 explains the last phase.
import { before, test } from 'node:test';
import assert from 'node:assert/strict';
import { eventually, useBrowser } from './browser.mjs';

const session = useBrowser();
let s, page;

before(async () => {
  s = await session.atInputScreen();
  page = s.page;
});

const input = (name) => page.locator(`section[data-form="DERAZO_Input"] [data-name="${name}"]`);
const panel = () => page.locator('#program-text');
const yellow = 'rgb(255, 255, 0)';

// A memory byte as the grid draws it: 1 for a yellow cell.
async function row(address) {
  let bits = '';
  for (let b = 1; b <= 8; b++) {
    const cell = input(`Shape1(${8 * address + b})`);
    bits += (await cell.evaluate((n) => getComputedStyle(n).backgroundColor)) === yellow ? '1' : '0';
  }
  return bits;
}

const PROGRAM = ['start:  LOAD ten', '        OUTPUT', 'done:   BRANCH done', 'ten:    DATA 10', ''].join('\n');

test('F6 opens the text; a program sent fills the grid, a mistake changes nothing', async () => {
  await page.keyboard.press('F6');
  await panel().waitFor();
  assert.match(await panel().locator('textarea').inputValue(), /ADD V0 {10}; 31 00000000/);
  await panel().locator('textarea').fill(PROGRAM);
  await panel().getByRole('button', { name: 'Send to Memory' }).click();
  assert.deepEqual(
    [await row(0), await row(1), await row(2), await row(3)],
    ['00100011', '10000000', '10100010', '00001010'],
  );
  assert.equal(await panel().locator('.status').textContent(), 'Memory holds this program.');

  await panel()
    .locator('textarea')
    .fill(PROGRAM + '        LAOD ten\n');
  assert.deepEqual(await panel().locator('.problems li').allTextContents(), [
    'line 5, column 9: "LAOD" is not an instruction; did you mean LOAD?',
  ]);
  assert.equal(await panel().getByRole('button', { name: 'Send to Memory' }).isDisabled(), true);
  assert.match(await panel().locator('.margin').textContent(), /✗5/);
  assert.equal(await row(4), '00000000');
});

test('the running line follows the machine', async () => {
  await panel().locator('textarea').fill(PROGRAM);
  // The panel stands over the screens: closed to start the run, opened again on its text.
  await panel().locator('textarea').press('Escape');
  await input('Command_Execute_Program').click();
  await input('Command_OK_For_Start_Location').click();
  await page.keyboard.press('F6');
  assert.equal(await panel().locator('textarea').inputValue(), PROGRAM);
  await page.waitForFunction(() =>
    /Running: line 1\./.test(document.querySelector('#program-text .status').textContent),
  );
  assert.match(await panel().locator('.margin').textContent(), /▶1/);
});

test('F7 explains the phase last performed, and follows a step back', async () => {
  const shown = () => page.locator('#phase-panel p').allTextContents();
  await panel().locator('textarea').press('Escape');
  await s.setClock('manual_radio');
  await page.keyboard.press('F7');
  const ready = 'Ready: the instruction is complete; the clock may stop here';
  assert.deepEqual(await shown(), ['T0', 'nothing', ready]);
  await s.rexec('Command_Begin_Step').focus();
  await page.keyboard.press('Space');
  await page.keyboard.press('Space');
  const fetched = 'Copy Memory to Instruction Register: the word at the program counter is fetched and decoded';
  await eventually(shown, ['T2 of LOAD', 'IR ← M[PC]: 35', fetched], 'T2 fetched LOAD ten');
  await page.keyboard.press('Control+z');
  await eventually(shown, ['T1', 'AR ← PC: 0', 'Copy Program Counter To Address Register'], 'back at T1');
});
