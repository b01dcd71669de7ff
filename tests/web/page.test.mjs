// SPDX-License-Identifier: GPL-3.0-or-later
// VOLPAR's page in the system's Chromium, driven as a student would: a student's session,
// from the welcome screen to the end (tests/data/web/page*.txt), with the files the page
// saves checked against the runner's own.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { dataDir, playEach, runner, useBrowser } from './browser.mjs';

const session = useBrowser();
const work = session.work;

test('a program typed byte by byte is saved as the runner saves it, opened again, and run', async (t) => {
  const s = await session.open();
  t.diagnostic(
    `start-up to the welcome screen: ${(await s.page.evaluate(() => window.volpar.startedMs)).toFixed(0)} ms`,
  );
  await s.play('page');
  await s.page.keyboard.press('Control+s');
  const saved = await s.saveAs('session');
  assert.equal(path.basename(saved), 'session.txt');
  // What page.txt types: 0 INPUT, 1 ADD 10, 2 STORE 11, 3 OUTPUT, 4 BRANCH 0; 10 holds 5.
  const [source, expected] = [path.join(dataDir, 'web', 'page-program.txt'), path.join(work, 'expected.txt')];
  const run = spawnSync(runner, [source, '--max-instructions', '0', '--save', expected]);
  assert.ok(fs.readFileSync(saved).equals(fs.readFileSync(expected)), `the saved text differs: ${run.stderr}`);

  for (const name of ['dev', 'tmp']) fs.copyFileSync(path.join(dataDir, 'countdown.txt'), path.join(work, name));
  await s.play('page-open');
  await s.play('page-run');
  assert.match(fs.readFileSync(path.join(work, 'stored.txt'), 'latin1'), /Byte11=00001000/, 'the byte the STORE wrote');
  await s.close();
});

playEach(session, { 'page-enter': 'Enter in the start location starts the run, as in the windows' });
