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
const dataDir = new URL('../data/exercise/', import.meta.url).pathname;
const VERDICTS = { 'rgb(0, 128, 0)': 'passed', 'rgb(192, 0, 0)': 'failed' };
let s, page;
before(async () => ({ page } = s = await session.atInputScreen()));

// Check, then each visible test's line after the verdict its colour says, and the line for
// the hidden ones.
async function check() {
  await page.locator('#exercise .exercise-check').click();
  await page.waitForFunction(() => {
    const button = document.querySelector('#exercise .exercise-check');
    return !button.disabled && document.querySelector('#exercise .exercise-results li');
  });
  const lines = '#exercise .exercise-results li, #exercise .exercise-hidden';
  const shown = await page.$$eval(lines, (all) => all.map((n) => [getComputedStyle(n).color, n.textContent]));
  return shown.map(([colour, line]) => `${VERDICTS[colour] ?? ''} ${line}`.trim());
}

// volpar-run's grading of a program against add.ini, run where the files are: for each
// visible test what its line begins with and holds, then the hidden tests' line.
function graded(program) {
  const run = spawnSync(runner, ['--exercise', 'add.ini', '--format', 'json', program], {
    cwd: dataDir,
    encoding: 'utf8',
  });
  const { tests = [] } = JSON.parse(run.stdout || '{"programs":[{}]}').programs[0];
  assert.ok(tests.length, `volpar-run said nothing: ${run.stderr}`);
  const [word, hidden] = [(t) => (t.passed ? 'passed' : 'failed'), tests.filter((t) => t.hidden)];
  const held = (t) => `output ${t.got.output.join(',') || 'none'}, end ${t.got.end}`;
  const lines = tests.filter((t) => !t.hidden).map((t) => [`${word(t)} ${t.name}: ${word(t)}`, held(t)]);
  const more = `${hidden.length} more test${hidden.length === 1 ? '' : 's'}: ${hidden.filter((t) => t.passed).length} passed`;
  return [...lines, [more, more]];
}

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
// to end on a conditional branch to itself.
for (const program of ['correct.txt', 'first_input.txt', 'waits.txt', 'conditional_halt.txt']) {
  test(`Check gives ${program} the verdicts volpar-run gives it, and changes nothing`, async () => {
    await s.openFile(path.join(dataDir, program));
    await page.waitForTimeout(100);
    const before = await s.drawn();
    const shown = await check();
    assert.deepEqual(await s.drawn(), before, 'memory and the screens are as they were');
    const expected = graded(program);
    assert.equal(shown.length, expected.length);
    expected.forEach(([start, held], i) => assert.ok(shown[i].startsWith(start) && shown[i].includes(held), shown[i]));
  });
}

test('Check in the middle of a run leaves the run where it stands; a reload offers the last exercise again', async () => {
  await s.startAt(0);
  await s.setClock('manual_radio');
  await s.step(3);
  const before = await s.drawn();
  await check();
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
