// SPDX-License-Identifier: GPL-3.0-or-later
// The execution history in the page, used as a student would: F2 opens the panel beside the
// screens, Step Back, Ctrl+Z and a click on a line take the screens back, Step goes forward
// again through the same states, the panel lists what the desktop lists, and the memory
// grid explains its rows in tooltips.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { dataDir, playEach, range, useBrowser } from './browser.mjs';

const session = useBrowser();
let s, page;
const rexec = (name) => s.rexec(name);
const panel = () => page.locator('#history');
const stepBack = () => panel().getByRole('button', { name: 'Step Back' });

// A fresh page on the input screen with `bytes` ({address: bits}), opened from a link.
async function freshPageWith(bytes) {
  await s?.close();
  const hex = (mark) => range(0, 32).map((a) => [...(bytes[a] ?? '0')].reduce((v, b) => 2 * v + (b === mark), 0));
  const digits = (mark) => hex(mark).map((v) => v.toString(16).padStart(2, '0'));
  s = await session.atInputScreen({ url: `${session.url}#m=${digits('1').join('')}&x=${digits('x').join('')}` });
  page = s.page;
}

async function openPanel() {
  await page.keyboard.press('F2');
  await panel().waitFor({ timeout: 10_000 });
}

// The panel's lines as drawn, in order, and the count the list says it has.
const panelLines = () =>
  page.evaluate(() => {
    const nodes = [...document.querySelectorAll('#history .history-line:not([hidden])')].filter((n) => n.textContent);
    nodes.sort((a, b) => a.dataset.line - b.dataset.line);
    return { count: Number(nodes.at(-1)?.getAttribute('aria-setsize') ?? 0), lines: nodes.map((n) => n.textContent) };
  });

// LOAD 5, STORE 6 (memory changes), then INPUT waits: every way back passes through the
// states the student saw, in reverse, and Step goes forward through them again.
test('back with Ctrl+Z or Step Back and forward again with Step shows the same states', async () => {
  const PHASES = 22;
  await freshPageWith({ 0: '00100101', 1: '01000110', 2: '01100111', 5: '00001010' });
  await s.startAt(0);
  await s.setClock('manual_radio');
  const states = [await s.drawn()];
  for (let i = 0; i < PHASES; ++i) states.push((await s.step(), await s.drawn()));
  assert.equal(await panel().isVisible(), false);
  await openPanel();
  assert.equal(await panel().locator('h2').textContent(), 'VOLPAR Execution History');
  assert.ok(await page.evaluate(() => document.activeElement.closest('#history') !== null), 'the panel has the focus');
  const ways = {
    'Ctrl+Z on the execution screen, in the input box while it waits': async () => {
      const box = rexec('Text_Input_Decimal');
      await ((await box.isVisible()) ? box : rexec('Command_Begin_Step')).focus();
      await page.keyboard.press('Control+z');
    },
    'Ctrl+Z in the panel': () => panel().locator('[role=listbox]').press('Control+z'),
    'the Step Back button': () => stepBack().click(),
  };
  for (const [way, back] of Object.entries(ways)) {
    for (let i = PHASES; i-- > 0;) {
      assert.equal(await stepBack().isEnabled(), true, `${way}: Step Back enabled before ${i}`);
      await back();
      assert.deepEqual(await s.drawn(), states[i], `${way}: back to ${i}`);
    }
    assert.equal(await stepBack().isEnabled(), false, `${way}: nothing left to step back`);
    for (let i = 1; i <= PHASES; ++i) {
      await s.step();
      assert.deepEqual(await s.drawn(), states[i], `${way}: forward again to ${i}`);
    }
  }
});

// The desktop's lines for the same program, step by step and whole, then a click on a line
// goes back to the point it stands for.
test('the panel lists what the desktop lists, and a click on a line goes back to it', async () => {
  // INPUT, ADD 9, STORE 10, OUTPUT, BR Neg 6, BRANCH 5; memory[9] = 000000x1.
  await freshPageWith({ ...['01100000', '00001001', '01001010', '10000000', '11000110', '10100101'], 9: '000000x1' });
  await s.startAt(0);
  await s.setClock('manual_radio');
  await openPanel();
  const expected = fs.readFileSync(path.join(dataDir, 'history', 'short_program.txt'), 'utf8');
  const [stepwise, whole] = expected.split('--\n').map((part) => part.trimEnd().split('\n'));
  const [newest, states] = [[], []];
  while (newest.length < stepwise.length) {
    const ok = rexec('Command_Input_Window_OK');
    if ((await ok.isVisible()) && (await ok.isEnabled())) {
      await rexec('Text_Input_Decimal').fill('5');
      await ok.click();
    }
    await s.step();
    states.push(await s.drawn());
    const { lines } = await panelLines();
    newest.push(lines.at(-1).startsWith('the program') ? lines.at(-2) : lines.at(-1));
  }
  assert.deepEqual(newest, stepwise);
  assert.deepEqual(await panelLines(), { count: whole.length, lines: whole });
  const end = 'the program has reached its end (BRANCH to itself at 5)';
  assert.equal(await panel().locator('.history-line.end').textContent(), end);

  // Back to ADD's first phase: just after its T1, the ninth Step; a phase's line: just after it.
  const adds = 'T1: AR 0 → 1, PC copied to AR — AR ← PC (Copy Program Counter To Address Register)';
  for (const line of ['1: 00001001 ADD 9', 'T1: AR 0 → 1']) {
    await panel().locator('.history-line', { hasText: line }).click();
    assert.deepEqual(await s.drawn(), states[8], `${line}: the screens just after ADD's T1`);
    assert.deepEqual((await panelLines()).lines, [...whole.slice(0, 3), adds]);
  }
  await panel().locator('.history-line', { hasText: 'Start at address 0' }).click();
  assert.equal(await stepBack().isEnabled(), false, 'back at the start');
  assert.deepEqual((await panelLines()).lines, ['Start at address 0']);
});

// A history too long to draw whole: only the lines in view exist, the newest in view, and
// Ctrl+Home and Ctrl+End go to the first and the last line.
playEach(session, {
  'history-long':
    'opened from the Help menu, a long history shows the newest line; Ctrl+Home and Ctrl+End go to the ends',
  'history-running': 'the panel follows a running clock; Step Back is offered once the clock stands still',
});

test('resting over a memory row tells what its byte means, in both arrangements', async () => {
  await freshPageWith({ 0: '00000011', 17: '11110000', 31: 'x01x0101' });
  await s.play('history-tooltips');
});
