// SPDX-License-Identifier: GPL-3.0-or-later
// The page's traps for a student who works by keyboard and screen reader, as
// tests/data/web/a11y-traps.txt tells: Send to Memory says what it stored, a box reached by
// Tab takes its whole value, a message box is read with its message and gives the focus
// back, F3's state is read with the caret, the focus goes on to Begin after OK, and Ctrl+F6
// says which screen came forward; and the focus never falls to the page, after Options
// closes or while the clock runs.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { playEach, useBrowser } from './browser.mjs';

const session = useBrowser();

playEach(session, { 'a11y-traps': 'the traps of the keyboard and the screen reader are gone' });

test('the focus stays in the page after Options closes and while the clock runs', async () => {
  const s = await session.atInputScreen();
  await s.sendBytes([[0, '10100000']]); // BRANCH 0, for ever
  await s.startAt(0);
  await s.rexec('Command_Options').click();
  await s.rexec('Command_Options_Close').focus();
  await s.page.keyboard.press('Enter');
  await s.eventually(s.focused, 'Command_Begin_Step', 'the focus after Close, as in the windows');
  await s.page.keyboard.press('Enter');
  for (let i = 0; i < 10; ++i) {
    await s.page.waitForTimeout(100);
    const form = await s.page.evaluate(() => document.activeElement.closest('section[data-form]')?.dataset.form);
    assert.equal(form, 'REXEC', 'the focus while the clock runs');
  }
});
