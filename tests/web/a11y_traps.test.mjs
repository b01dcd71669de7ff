// SPDX-License-Identifier: GPL-3.0-or-later
// The page's traps for a student who works by keyboard and screen reader: a box reached by
// Tab takes its whole value, a message box is read with its message and gives the focus
// back, the focus goes on to Begin after OK, and Ctrl+F6 says which screen came forward;
// F3's state is read with the caret, and the focus never falls to the page.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { useBrowser } from './browser.mjs';

const session = useBrowser();
let page;

const el = (form, name) => page.locator(`section[data-form="${form}"] [data-name="${name}"]`);
const input = (name) => el('DERAZO_Input', name);
const front = () => page.locator('section.window.front').getAttribute('data-form');
// Where the focus is: the form and the element, or what else holds it.
const focused = () =>
  page.evaluate(() => {
    const n = document.activeElement;
    const form = n?.closest('section[data-form]')?.dataset.form;
    const name = n?.closest('[data-name]')?.dataset.name;
    return form ? `${form} ${name}` : (n?.id ?? n?.tagName);
  });

async function eventually(read, expected, what) {
  let value;
  for (let i = 0; i < 150; ++i) {
    value = await read();
    if (value === expected) return;
    await page.waitForTimeout(20);
  }
  assert.equal(value, expected, what);
}

async function atInputScreen() {
  page = (await session.atInputScreen()).page;
}

test('Tab into the op code box takes its digit: 5 typed over 4 makes BRANCH', async () => {
  await atInputScreen();
  await input('Input_Op_Code(0)').fill('4');
  await input('Input_Bit(8)').focus();
  await page.keyboard.press('Tab'); // Execute Program
  await page.keyboard.press('Tab');
  assert.equal(await focused(), 'DERAZO_Input Input_Op_Code(0)');
  await page.keyboard.type('5');
  await eventually(() => input('Input_Op_Code(0)').inputValue(), '5', 'the op code');
  await eventually(() => input('Input_Bit(3)').inputValue(), '1', 'the op code bits 101');
  await page.close();
});

test('a refusal is read with its message, and the focus comes back to the screen', async () => {
  await atInputScreen();
  const box = input('Input_Op_Code(0)');
  await box.focus();
  await box.selectText();
  await page.keyboard.type('9');
  await page.locator('#msgbox').waitFor();
  const description = await page.evaluate(() => {
    const box = document.querySelector('#msgbox');
    return document.getElementById(box.getAttribute('aria-describedby'))?.textContent;
  });
  assert.equal(description, 'You may only input a number from 0 to 7.');
  await page.keyboard.press('Enter');
  await page.locator('#msgbox').waitFor({ state: 'hidden' });
  await eventually(focused, 'DERAZO_Input Input_Op_Code(0)', 'the focus back in the box');
  await page.close();
});

test('after OK the focus is on Begin, and Ctrl+F6 says which screen came forward', async () => {
  await atInputScreen();
  await input('Command_Execute_Program').click();
  await input('exec_text').fill('0');
  await page.keyboard.press('Enter');
  await eventually(front, 'REXEC', 'the execution screen');
  await eventually(focused, 'REXEC Command_Begin_Step', 'the focus after OK');
  await page.keyboard.press('Control+F6');
  await eventually(front, 'DERAZO_Input', 'Ctrl+F6 brings the input screen');
  await eventually(() => page.locator('#announcer').textContent(), 'VOLPAR Input Screen', 'the news');
  await page.close();
});

test("F3's state is read with the caret: the arrow keys move through it line by line", async () => {
  await atInputScreen();
  await page.keyboard.press('F3');
  const text = page.getByRole('textbox', { name: 'Machine state' });
  await eventually(() => text.evaluate((n) => n === document.activeElement), true, 'the state has the focus');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowDown');
  const [caret, secondLine] = await text.evaluate((n) => [n.selectionStart, n.value.split('\n')[0].length + 1]);
  assert.ok(caret > secondLine, `the caret at ${caret}, past the first line`);
  const lines = await text.evaluate((n) => n.value.slice(0, n.selectionStart).split('\n').length);
  assert.equal(lines, 3, 'two lines down');
  const before = await text.inputValue();
  await page.keyboard.type('x');
  await page.keyboard.press('Backspace');
  assert.equal(await text.inputValue(), before, 'the state refuses edits');
  await page.close();
});

test('the focus stays in the page after Options closes and while the clock runs', async () => {
  await atInputScreen();
  await input('memory_text').fill('0');
  await input('Input_Bit(1)').fill('1'); // 10100000: BRANCH 0, for ever
  await input('Input_Bit(3)').fill('1');
  await input('Command_Send_to_Memory').click();
  await input('Command_Execute_Program').click();
  await input('exec_text').fill('0');
  await page.keyboard.press('Enter');
  await eventually(front, 'REXEC', 'the execution screen');
  await el('REXEC', 'Command_Options').click();
  await el('REXEC', 'Command_Options_Close').focus();
  await page.keyboard.press('Enter');
  await eventually(focused, 'REXEC Command_Begin_Step', 'the focus after Close, as in the windows');
  await el('REXEC', 'Command_Begin_Step').focus();
  await page.keyboard.press('Enter');
  for (let i = 0; i < 10; ++i) {
    await page.waitForTimeout(100);
    assert.match(await focused(), /^REXEC /, 'the focus while the clock runs');
  }
  await page.close();
});
