// SPDX-License-Identifier: GPL-3.0-or-later
// The Program Text panel in the page, used as a student would: F6 opens it on memory
// listed, a program typed and sent fills the memory grid, a typing mistake is listed and
// changes nothing, and the running line follows the machine.
import { before, test } from 'node:test';
import assert from 'node:assert/strict';
import { useBrowser } from './browser.mjs';

let page;

const session = useBrowser();
before(async () => {
  page = (await session.open()).page;
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
  await page.keyboard.press('Enter');
  await input('Command_Send_to_Memory').waitFor();
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
