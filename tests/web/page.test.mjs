// SPDX-License-Identifier: GPL-3.0-or-later
// VOLPAR's page in the system's Chromium, driven as a student would: a student's session,
// from the welcome screen to the end, with the file the page saves checked against the
// runner's own.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { CYAN, RED, dataDir, programText, range, runner, useBrowser } from './browser.mjs';

const session = useBrowser();
const work = session.work;

// 0 INPUT, 1 ADD 10, 2 STORE 11, 3 OUTPUT, 4 BRANCH 0; 10 holds 5.
const PROGRAM = { 0: '01100000', 1: '00001010', 2: '01001011', 3: '10000000', 4: '10100000', 10: '00000101' };

let s, page;
const reopen = async (past = false) => {
  s = await (past ? session.atInputScreen() : session.open());
  page = s.page;
};
const front = () => s.front();
const input = (name) => s.input(name);
const rexec = (name) => s.rexec(name);
const eventually = (...a) => s.eventually(...a);

test('the welcome screen comes first, and a key hands over to the input screen', async (t) => {
  await reopen();
  const started = await page.evaluate(() => window.volpar.startedMs);
  t.diagnostic(`start-up to the welcome screen: ${started.toFixed(0)} ms`);
  await s.screenshot('welcome');
  assert.equal(await page.locator('.window.front .title span').textContent(), 'VOLPAR Educational Systems');
  assert.equal(await s.el('Initial_Screen', 'Label_Welcome').textContent(), 'Welcome to the VOLPAR Computer');
  assert.match(await s.el('Initial_Screen', 'Version').inputValue(), /^Version \d+\.\d+\.\d+$/);
  await page.keyboard.press('a');
  await eventually(front, 'DERAZO_Input', 'the input screen comes to the front');
  assert.equal(await page.locator('section[data-form="Initial_Screen"]').isVisible(), false);
});

test('a program typed byte by byte lands in the memory grid', async () => {
  await s.typeBits(PROGRAM[0]);
  await input('Command_Send_to_Memory').click();
  // The others by op code and address.
  for (const [op, address] of [
    ['0', '10'],
    ['2', '11'],
    ['4', '0'],
    ['5', '0'],
  ]) {
    await input('Input_Op_Code(0)').fill(op);
    await input('Input_Memory_Address').fill(address);
    await input('Command_Send_to_Memory').click();
  }
  await s.sendBytes([[10, PROGRAM[10]]]);
  for (const [address, bits] of Object.entries(PROGRAM)) {
    await eventually(() => s.memory(Number(address)), bits, `memory ${address}`);
  }
  assert.equal(await input('memory_text').inputValue(), '11');
  await s.screenshot('input');
});

test('a refused entry raises a message box that holds the page until it is closed', async () => {
  await input('Input_Bit(3)').fill('7');
  const box = page.locator('#msgbox');
  await box.waitFor();
  assert.match(await box.locator('.title').textContent(), /\S/);
  assert.match(await box.locator('.text').textContent(), /\S/);
  await page.keyboard.press('Enter');
  await box.waitFor({ state: 'hidden' });
  await eventually(() => input('Input_Bit(3)').inputValue(), '0', 'the refused bit is reset');
  const focused = await page.evaluate(() => document.activeElement.closest('[data-name]')?.dataset.name);
  assert.equal(focused, 'Input_Bit(3)', 'the focus is back in the refused box');

  // A key pressed as soon as the box is gone, before the browser has said it closed, is
  // taken, not lost as if the box were still there.
  await input('Input_Bit(3)').fill('7');
  await box.waitFor();
  await page.evaluate(() => {
    document.querySelector('#msgbox button').click();
    document.dispatchEvent(new KeyboardEvent('keydown', { key: 'F3', code: 'F3', bubbles: true }));
  });
  await page.locator('#machine-state').waitFor();
  await page.getByRole('button', { name: 'Close machine state' }).click();
  await page.locator('#machine-state').waitFor({ state: 'hidden' });
});

test('Save hands over the very text the runner writes for the same memory', async () => {
  await page.keyboard.press('Control+s');
  await page.locator('#savebox input').fill('session');
  const downloaded = page.waitForEvent('download');
  await page.locator('#savebox button[value=save]').click();
  const download = await downloaded;
  assert.equal(download.suggestedFilename(), 'session.txt');
  const saved = path.join(work, 'session.txt');
  await download.saveAs(saved);

  // The same memory, written by the runner from a file of its own.
  const source = path.join(work, 'source.txt');
  fs.writeFileSync(source, programText(PROGRAM));
  const expected = path.join(work, 'expected.txt');
  const run = spawnSync(runner, [source, '--max-instructions', '0', '--save', expected]);
  assert.ok(fs.existsSync(expected), `the runner saved nothing: ${run.stderr}`);
  assert.ok(fs.readFileSync(saved).equals(fs.readFileSync(expected)), "the saved text differs from the runner's");
});

test('Open asks about an unsaved program first; it loads the saved file again; a file that is no program is refused with a message', async () => {
  await s.sendBytes([[5, '11111111']]);

  // Cancel keeps memory and opens no file dialog; Don't Save goes on to the dialog.
  const question = page.locator('#questionbox');
  let chose = false;
  const noteChooser = () => {
    chose = true;
  };
  page.on('filechooser', noteChooser);
  await page.keyboard.press('Control+o');
  assert.equal(
    await question.locator('.text').textContent(),
    'Save the program in memory before opening another program?',
  );
  await question.locator('button[value=cancel]').click();
  await question.waitFor({ state: 'hidden' });
  await page.waitForTimeout(200);
  page.off('filechooser', noteChooser);
  assert.equal(chose, false, 'no file dialog after Cancel');
  assert.equal(await s.memory(5), '11111111', 'memory kept');

  await s.openFile(path.join(work, 'session.txt'), 'discard');
  await eventually(() => s.memory(5), '00000000', 'memory 5 as saved');
  assert.equal(await s.memory(0), PROGRAM[0]);

  await s.openFile(path.join(dataDir, 'runner', 'not_a_program.txt'));
  assert.match(await s.closeMessage(), /^VOLPAR -- PROGRAM FILE: /);
  assert.equal(await s.memory(1), PROGRAM[1], 'the refused file changed nothing');
});

// (A file too large is refused unread in files.test.mjs, through the picker.)
test('a file named as a folder of the browser opens; an unreadable one is refused', async () => {
  for (const name of ['dev', 'tmp']) {
    const file = path.join(work, name);
    fs.copyFileSync(path.join(dataDir, 'countdown.txt'), file);
    await s.sendBytes([[0, '11111111']]);
    await s.openFile(file, 'discard'); // a byte was sent since the last load
    await eventually(() => s.memory(0), '01100000', `${name} loaded`);
    assert.equal(await s.memory(1), '10000000');
  }
  const unreadable = (yes) =>
    page.evaluate((yes) => {
      window.readBlob ??= Blob.prototype.arrayBuffer;
      Blob.prototype.arrayBuffer = yes
        ? () => Promise.reject(new DOMException('gone', 'NotReadableError'))
        : window.readBlob;
    }, yes);
  await unreadable(true);
  await s.openFile(path.join(work, 'session.txt'));
  assert.match(
    await s.closeMessage(),
    /^VOLPAR -- PROGRAM FILE: .*"session.txt" could not be loaded\.\nReason: The browser could not read it \(NotReadableError\)/,
  );
  assert.equal(await s.memory(1), '10000000', 'the refused file changed nothing');
  await unreadable(false);
  await s.openFile(path.join(work, 'session.txt'));
  await eventually(() => s.memory(1), PROGRAM[1], "the session's program back");
});

test('F1 opens the help beside the screens', async () => {
  await page.keyboard.press('F1');
  await page.locator('#help').waitFor();
  const heading = page.frameLocator('#help iframe').locator('h1');
  assert.equal(await heading.textContent(), 'VOLPAR Help');
  await page.locator('#help-close').click();
});

test('started at 0 and stepped by hand, the execution screen shows what the machine did', async () => {
  await s.startAt(0);
  await s.setClock('manual_radio');
  await s.step(6); // INPUT waits from T6 for its value
  // The page draws once a frame: read what it shows once it has drawn.
  await eventually(() => rexec('Command_Input_Window_OK').textContent(), 'Step', 'the window button');
  await rexec('Text_Input_Decimal').fill('3');
  const bits = () => Promise.all(range(1, 8).map((i) => rexec(`Input_bit(${i})`).inputValue()));
  await eventually(async () => (await bits()).join(''), '00000011', 'the bits');
  await rexec('Command_Input_Window_OK').click();
  await s.step(); // T7
  await eventually(() => rexec('Register_S_Decimal').textContent(), '3', 'S after INPUT');
  await s.step(1 + 8); // T0, then ADD 10
  for (const [register, value] of [
    ['X', '3'],
    ['Y', '5'],
    ['S', '8'],
  ]) {
    await eventually(() => rexec(`Register_${register}_Decimal`).textContent(), value, `${register} after ADD`);
  }
  await s.step(8 + 8); // STORE 11, OUTPUT
  await eventually(() => rexec('Register_Output_Decimal').textContent(), '8', 'the output register');
  await eventually(() => s.cells('REXEC', 'Shapeo', range(1, 8), RED), '00001000', 'the output cells');
  await eventually(() => s.cells('REXEC', 'Shape_Clock', range(0, 8), CYAN), '10000000', 'the clock at T0');
  await s.screenshot('execution');
});

test('F1 on the execution screen opens the help at that screen', async () => {
  await page.keyboard.press('F1');
  await page.locator('#help').waitFor();
  const topic = page.frameLocator('#help iframe').locator('a[name="topic-10"]');
  await eventually(() => topic.evaluate((a) => Math.abs(a.getBoundingClientRect().top) < 40), true, 'at its topic');
  await page.locator('#help-close').click();
});

// The STORE above changed memory since the last Open: Quit asks first, and says so.
test('Quit asks about the memory the run changed: Cancel keeps the page, Save saves it, then it ends', async () => {
  const question = page.locator('#questionbox');
  await rexec('Command_Quit').click();
  assert.equal(
    await question.locator('.text').textContent(),
    'Memory was changed by the running program. Save memory as it is now, with the values the program stored, before quitting?',
  );
  await question.locator('button[value=cancel]').click();
  await question.waitFor({ state: 'hidden' });
  assert.equal(await page.locator('#ended').isVisible(), false);

  await rexec('Command_Quit').click();
  await question.locator('button[value=save]').click();
  await page.locator('#savebox input').fill('stored');
  const downloaded = page.waitForEvent('download');
  await page.locator('#savebox button[value=save]').click();
  const saved = path.join(work, 'stored.txt');
  await (await downloaded).saveAs(saved);
  assert.match(fs.readFileSync(saved, 'latin1'), /Byte11=00001000/, 'the byte the STORE wrote');
  await page.locator('#ended').waitFor();
  assert.equal(await page.locator('#ended').textContent(), 'VOLPAR has ended — reload to start again');
  assert.equal(await page.locator('#desk').isVisible(), false);
});

// Back from a run the start-location panel is still open but Send to Memory is the
// default button again: Enter in the start location starts the run and writes nothing.
test('Enter in the start location starts the run, as in the windows', async () => {
  await s.close(); // the page the session ended
  await reopen(true);
  await s.startAt(0);
  await rexec('Command_Return_to_Input').click();
  await eventually(front, 'DERAZO_Input', 'back on the input screen');
  await s.typeBits('11111111');
  await input('exec_text').fill('0');
  await input('exec_text').press('Enter');
  await eventually(front, 'REXEC', 'the execution screen comes to the front');
  assert.equal(await s.memory(0), '00000000', 'nothing sent to memory');
});
