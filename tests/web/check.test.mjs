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
const work = session.work;
const dataDir = new URL('../data/exercise/', import.meta.url).pathname;
const GREEN = 'rgb(0, 128, 0)';
const RED = 'rgb(192, 0, 0)';

let s, page;
before(async () => {
  s = await session.atInputScreen();
  page = s.page;
});

// ---- what the student does and sees -----------------------------------------------------------

const panel = () => page.locator('#exercise');
const input = (name) => s.input(name);

async function openExercise(file) {
  const chooser = page.waitForEvent('filechooser');
  await page.keyboard.press('Control+e');
  await (await chooser).setFiles(file);
}

// Check, then what the panel shows once the button is back: each visible test's line in
// its colour, and the line for the hidden ones.
async function check() {
  await panel().getByRole('button', { name: 'Check' }).click();
  await page.waitForFunction(() => {
    const button = document.querySelector('#exercise .exercise-check');
    return !button.disabled && document.querySelector('#exercise .exercise-results li');
  });
  return page.evaluate(() => ({
    verdicts: [...document.querySelectorAll('#exercise .exercise-results li')].map((li) => ({
      line: li.textContent,
      colour: getComputedStyle(li).color,
    })),
    hidden: document.querySelector('#exercise .exercise-hidden').textContent,
  }));
}

// Everything the screens show of memory and the machine, to see that Check left it alone.
const screens = () => s.drawn();

// volpar-run's grading of one program, run where the files are so that both name them alike.
function graded(exercise, program) {
  const run = spawnSync(runner, ['--exercise', exercise, '--format', 'json', program], {
    cwd: dataDir,
    encoding: 'utf8',
  });
  assert.ok(run.stdout, `volpar-run said nothing: ${run.stderr}`);
  return JSON.parse(run.stdout).programs[0];
}

// ---- the tests --------------------------------------------------------------------------------

test('File > Open Exercise is offered; a refused exercise file says why, in the words of volpar-run', async () => {
  assert.equal(await input('exercise_menu').count(), 1, 'the menu item is drawn');
  assert.equal(await input('exercise_menu').evaluate((n) => n.hidden), false, 'and shown');
  assert.equal(await input('exercise_menu').textContent(), 'Open Exercise...Ctrl+E');
  const bad = path.join(work, 'bad.ini');
  fs.writeFileSync(bad, '[Exercise]\nTitle=T\n[Test 1]\nColour=red\n');
  await openExercise(bad);
  const said = await s.closeMessage();
  const run = spawnSync(runner, ['--exercise', 'bad.ini', 'none.txt'], { cwd: work, encoding: 'utf8' });
  assert.equal(run.status, 2);
  assert.equal(said, `VOLPAR -- EXERCISE: ${run.stderr.trim().replace(/^volpar-run: /, '')}`);
  assert.equal(await panel().count(), 0, 'no panel for a refused exercise');
});

test('the panel shows the exercise and only its visible tests', async () => {
  await openExercise(path.join(dataDir, 'add.ini'));
  await panel().waitFor();
  assert.equal(await panel().locator('header span').textContent(), 'VOLPAR Exercise');
  assert.equal(await panel().locator('.exercise-title').textContent(), 'Add two numbers');
  assert.equal(
    await panel().locator('.exercise-text').textContent(),
    'Read two numbers with INPUT, output their sum, then stop.',
  );
  assert.deepEqual(await panel().locator('.exercise-tests li').allTextContents(), [
    'Test 1: input 5,7; expected output 12, end halt',
    'Test 3: input 0,0; expected output 0, end halt',
  ]);
  assert.equal(await panel().locator('.exercise-check').isEnabled(), true);
  const desk = await page.locator('#desk').boundingBox();
  const side = await panel().boundingBox();
  assert.ok(desk.x + desk.width <= side.x + 1, 'the screens stand beside the panel, not under it');
});

// Programs written to pass, to output the first input only, to wait for a third input, and
// to end on a conditional branch to itself.
for (const program of ['correct.txt', 'first_input.txt', 'waits.txt', 'conditional_halt.txt']) {
  test(`Check gives ${program} the verdicts volpar-run gives it, and changes nothing`, async () => {
    await s.openFile(path.join(dataDir, program));
    await page.waitForTimeout(100);
    const before = await screens();
    const shown = await check();
    assert.deepEqual(await screens(), before, 'memory and the screens are as they were');

    const expected = graded('add.ini', program);
    const visible = expected.tests.filter((t) => !t.hidden);
    assert.equal(shown.verdicts.length, visible.length);
    visible.forEach((t, i) => {
      const { line, colour } = shown.verdicts[i];
      assert.ok(line.startsWith(`${t.name}: ${t.passed ? 'passed' : 'failed'}`), line);
      assert.equal(colour, t.passed ? GREEN : RED, line);
      assert.ok(line.includes(`output ${t.got.output.join(',') || 'none'}, end ${t.got.end}`), line);
    });
    const hidden = expected.tests.filter((t) => t.hidden);
    const counted = /^(\d+) more tests?: (\d+) passed$/.exec(shown.hidden);
    assert.ok(counted, shown.hidden);
    assert.deepEqual(counted.slice(1).map(Number), [hidden.length, hidden.filter((t) => t.passed).length]);
  });
}

test('Check in the middle of a run leaves the run where it stands', async () => {
  await s.startAt(0);
  await s.setClock('manual_radio');
  await s.step(3);
  const before = await screens();
  await check();
  assert.deepEqual(await screens(), before);
  assert.equal(await s.front(), 'REXEC');
});

test('after a reload, Open Exercise offers the last exercise again', async () => {
  await page.reload();
  await page.locator('section[data-form="Initial_Screen"].front').waitFor();
  await s.toInputScreen();
  let chose = false;
  page.on('filechooser', () => {
    chose = true;
  });
  await page.keyboard.press('Control+e');
  const offer = page.locator('#exerciseoffer');
  await offer.waitFor();
  assert.match(await offer.locator('.text').textContent(), /add\.ini/);
  await offer.getByRole('button', { name: 'Open add.ini' }).click();
  await panel().waitFor();
  assert.equal(await panel().locator('.exercise-title').textContent(), 'Add two numbers');
  assert.equal(chose, false, 'no file chooser');
});
