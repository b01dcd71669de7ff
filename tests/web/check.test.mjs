// SPDX-License-Identifier: GPL-3.0-or-later
// The page's exercise panel driven as a student would: File > Open Exercise, a program
// opened, Check. The verdicts are those volpar-run gives the same program against the
// same exercise; Check changes nothing, and a reload offers the last exercise again.
import { before, test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { runner, useBrowser } from './browser.mjs';

const session = useBrowser();
let s, page;
before(async () => ({ page } = s = await session.atInputScreen()));

test('a refused exercise file says why, in the words of volpar-run, and opens no panel', async () => {
  fs.writeFileSync(path.join(session.work, 'bad.ini'), '[Exercise]\nTitle=T\n[Test 1]\nColour=red\n');
  await s.act('choose Control+e ~/bad.ini');
  const run = spawnSync(runner, ['--exercise', 'bad.ini', 'none.txt'], { cwd: session.work, encoding: 'utf8' });
  assert.equal(run.status, 2);
  assert.equal(await s.closeMessage(), `VOLPAR -- EXERCISE: ${run.stderr.trim().replace(/^volpar-run: /, '')}`);
  assert.equal(await page.locator('#exercise').count(), 0);
});

test('the panel shows the exercise and only its visible tests', () => s.play('check'));

// Programs written to pass, to output the first input only, to wait for a third input, and
// to end on a conditional branch to itself: the verdicts of volpar-run (tests/data/exercise/report.text).
test('Check gives each program the verdicts volpar-run gives it, and changes nothing', () => s.play('check-verdicts'));

test('Check in the middle of a run leaves the run where it stands; a reload offers the last exercise again', async () => {
  await s.startAt(0);
  await s.setClock('manual_radio');
  await s.step(3);
  const before = await s.drawn();
  await page.locator('#exercise .exercise-check').click();
  await page.locator('#exercise .exercise-results li').first().waitFor();
  assert.deepEqual(await s.drawn(), before);
  assert.equal(await s.front(), 'REXEC');
  await s.act('reload');
  await s.toInputScreen();
  const chose = s.choosers;
  await page.keyboard.press('Control+e');
  assert.match(await page.locator('#exerciseoffer .text').textContent(), /add\.ini/);
  await page.getByRole('button', { name: 'Open add.ini' }).click();
  assert.equal(await page.locator('#exercise .exercise-title').textContent(), 'Add two numbers');
  assert.equal(s.choosers, chose, 'no file chooser');
});
