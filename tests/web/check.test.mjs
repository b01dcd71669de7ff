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
const COLOURS = { 'rgb(0, 128, 0)': 'passed', 'rgb(192, 0, 0)': 'failed' };
let s, page;
before(async () => ({ page } = s = await session.atInputScreen()));

async function openExercise(file) {
  const chooser = page.waitForEvent('filechooser');
  await page.keyboard.press('Control+e');
  await (await chooser).setFiles(file);
}

// Check, then each visible test's line as its colour says, and the line for the hidden ones.
async function check() {
  await page.locator('#exercise .exercise-check').click();
  await page.waitForFunction(() => {
    const button = document.querySelector('#exercise .exercise-check');
    return !button.disabled && document.querySelector('#exercise .exercise-results li');
  });
  const shown = await page.evaluate(() =>
    [...document.querySelectorAll('#exercise .exercise-results li, #exercise .exercise-hidden')].map(
      (n) => `${getComputedStyle(n).color} ${n.textContent}`,
    ),
  );
  return shown.map((line) => line.replace(/^rgb\(.*?\) /, (c) => (COLOURS[c.trim()] ?? '') + ' ').trim());
}

// volpar-run's grading of a program, in the same words: run where the files are.
function graded(exercise, program) {
  const run = spawnSync(runner, ['--exercise', exercise, '--format', 'json', program], {
    cwd: dataDir,
    encoding: 'utf8',
  });
  const { tests } = JSON.parse(run.stdout || '{"programs":[{}]}').programs[0];
  assert.ok(tests, `volpar-run said nothing: ${run.stderr}`);
  const verdict = (t) => `${t.passed ? 'passed' : 'failed'} ${t.name}: ${t.passed ? 'passed' : 'failed'}`;
  const hidden = tests.filter((t) => t.hidden);
  return {
    tests: tests.filter((t) => !t.hidden),
    verdict,
    hidden: [hidden.length, hidden.filter((t) => t.passed).length],
  };
}

test('a refused exercise file says why, in the words of volpar-run, and opens no panel', async () => {
  fs.writeFileSync(path.join(session.work, 'bad.ini'), '[Exercise]\nTitle=T\n[Test 1]\nColour=red\n');
  await openExercise(path.join(session.work, 'bad.ini'));
  const run = spawnSync(runner, ['--exercise', 'bad.ini', 'none.txt'], { cwd: session.work, encoding: 'utf8' });
  assert.equal(run.status, 2);
  assert.equal(await s.closeMessage(), `VOLPAR -- EXERCISE: ${run.stderr.trim().replace(/^volpar-run: /, '')}`);
  assert.equal(await page.locator('#exercise').count(), 0);
});

test('the panel shows the exercise and only its visible tests', async () => {
  const chooser = page.waitForEvent('filechooser').then((c) => c.setFiles(path.join(dataDir, 'add.ini')));
  await s.play('check');
  await chooser;
});

// Programs written to pass, to output the first input only, to wait for a third input, and
// to end on a conditional branch to itself.
for (const program of ['correct.txt', 'first_input.txt', 'waits.txt', 'conditional_halt.txt']) {
  test(`Check gives ${program} the verdicts volpar-run gives it, and changes nothing`, async () => {
    await s.openFile(path.join(dataDir, program));
    await page.waitForTimeout(100);
    const before = await s.drawn();
    const shown = await check();
    assert.deepEqual(await s.drawn(), before, 'memory and the screens are as they were');
    const { tests, verdict, hidden } = graded('add.ini', program);
    assert.equal(shown.length, tests.length + 1);
    tests.forEach((t, i) => {
      assert.ok(shown[i].startsWith(verdict(t)), shown[i]);
      assert.ok(shown[i].includes(`output ${t.got.output.join(',') || 'none'}, end ${t.got.end}`), shown[i]);
    });
    assert.equal(shown.at(-1), `${hidden[0]} more test${hidden[0] === 1 ? '' : 's'}: ${hidden[1]} passed`);
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
  await page.reload();
  await page.locator('section[data-form="Initial_Screen"].front').waitFor();
  await s.toInputScreen();
  const chose = s.choosers;
  await page.keyboard.press('Control+e');
  assert.match(await page.locator('#exerciseoffer .text').textContent(), /add\.ini/);
  await page.getByRole('button', { name: 'Open add.ini' }).click();
  assert.equal(await page.locator('#exercise .exercise-title').textContent(), 'Add two numbers');
  assert.equal(s.choosers, chose, 'no file chooser');
});
