// SPDX-License-Identifier: GPL-3.0-or-later
// VOLPAR's page in the system's Chromium, driven as a student would: served from a
// local static server, the build folder as it is. A student's session, from the welcome
// screen to the end, with the file the page saves checked against the runner's own.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { launch, openPage as open, serve } from './browser.mjs';

const webDir = process.env.VOLPAR_WEB_DIR;
const runner = process.env.VOLPAR_RUN;
const shots = process.env.VOLPAR_WEB_SCREENSHOTS;
const dataDir = new URL('../data/', import.meta.url).pathname;
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'volpar-web-'));

// 0 INPUT, 1 ADD 10, 2 STORE 11, 3 OUTPUT, 4 BRANCH 0; 10 holds 5.
const PROGRAM = { 0: '01100000', 1: '00001010', 2: '01001011', 3: '10000000', 4: '10100000', 10: '00000101' };

let server, browser, page, url;

const openPage = () => open(browser, url);

before(async () => {
  assert.ok(webDir && fs.existsSync(path.join(webDir, 'volpar.wasm')), 'build the page first: make web');
  server = await serve(path.resolve(webDir));
  url = `http://127.0.0.1:${server.address().port}/`;
  browser = await launch();
  page = await openPage();
});

after(async () => {
  await browser?.close();
  server?.close();
  fs.rmSync(work, { recursive: true, force: true });
});

// ---- what the student sees and does ---------------------------------------------------------

const el = (form, name) => page.locator(`section[data-form="${form}"] [data-name="${name}"]`);
const input = (name) => el('DERAZO_Input', name);
const rexec = (name) => el('REXEC', name);
const front = () => page.locator('section.window.front').getAttribute('data-form');

// The cells of a control array, '1' for each in colour `on`, '0' for white, '?' otherwise.
function cells(form, array, indices, on) {
  return page.evaluate(
    ({ form, array, indices, on }) =>
      indices
        .map((i) => {
          const node = document.querySelector(`section[data-form="${form}"] [data-name="${array}(${i})"]`);
          const c = getComputedStyle(node).backgroundColor;
          return c === on ? '1' : c === 'rgb(255, 255, 255)' ? '0' : '?';
        })
        .join(''),
    { form, array, indices, on },
  );
}
const range = (from, n) => Array.from({ length: n }, (_, i) => from + i);
const YELLOW = 'rgb(255, 255, 0)',
  RED = 'rgb(255, 0, 0)',
  CYAN = 'rgb(0, 255, 255)';
const memoryBits = (a) => cells('DERAZO_Input', 'Shape1', range(8 * a + 1, 8), YELLOW);
const texts = (form, array) => Promise.all(range(1, 8).map((i) => el(form, `${array}(${i})`).inputValue()));

async function eventually(read, expected, what) {
  let value;
  for (let i = 0; i < 100; ++i) {
    value = await read();
    if (value === expected) return;
    await page.waitForTimeout(20);
  }
  assert.equal(value, expected, what);
}

async function typeBits(bits) {
  for (let i = 1; i <= 8; ++i) await input(`Input_Bit(${i})`).fill(bits[i - 1]);
}

async function sendByte(address, bits) {
  await input('memory_text').fill(String(address));
  await typeBits(bits);
  await input('Command_Send_to_Memory').click();
}

async function step(times = 1) {
  for (let i = 0; i < times; ++i) await rexec('Command_Begin_Step').click();
}

async function screenshot(name) {
  if (shots) await page.screenshot({ path: path.join(shots, `${name}.png`) });
}

async function startAt(address) {
  await input('Command_Execute_Program').click();
  await input('exec_text').fill(String(address));
  await input('Command_OK_For_Start_Location').click();
  await eventually(front, 'REXEC', 'the execution screen comes to the front');
}

async function setClock(radio, rate) {
  await rexec('Command_Options').click();
  await rexec(radio).locator('input').click();
  if (rate) await rexec('time_scroll').fill(String(rate));
  await rexec('Command_Options_Close').click();
}

// ---- the session ----------------------------------------------------------------------------

test('the welcome screen comes first, and a key hands over to the input screen', async (t) => {
  const started = await page.evaluate(() => window.volpar.startedMs);
  t.diagnostic(`start-up to the welcome screen: ${started.toFixed(0)} ms`);
  await screenshot('welcome');
  assert.equal(await page.locator('.window.front .title span').textContent(), 'VOLPAR Educational Systems');
  assert.equal(await el('Initial_Screen', 'Label_Welcome').textContent(), 'Welcome to the VOLPAR Computer');
  assert.match(await el('Initial_Screen', 'Version').inputValue(), /^Version \d+\.\d+\.\d+$/);
  await page.keyboard.press('a');
  await eventually(front, 'DERAZO_Input', 'the input screen comes to the front');
  assert.equal(await page.locator('section[data-form="Initial_Screen"]').isVisible(), false);
});

test('a program typed byte by byte lands in the memory grid', async () => {
  await typeBits(PROGRAM[0]);
  await input('Command_Send_to_Memory').click();
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
  await sendByte(10, PROGRAM[10]);
  for (const [address, bits] of Object.entries(PROGRAM)) {
    await eventually(() => memoryBits(Number(address)), bits, `memory ${address}`);
  }
  assert.equal(await input('memory_text').inputValue(), '11');
  await screenshot('input');
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
  const lines = [];
  for (const [n, section] of ['FIRST8', 'SECOND8', 'THIRD8', 'FOURTH8'].entries()) {
    lines.push(`[${section}]`);
    for (let a = 8 * n; a < 8 * n + 8; ++a) lines.push(`Byte${a}=${PROGRAM[a] ?? '00000000'}`);
  }
  const source = path.join(work, 'source.txt');
  fs.writeFileSync(source, lines.join('\r\n') + '\r\n');
  const expected = path.join(work, 'expected.txt');
  const run = spawnSync(runner, [source, '--max-instructions', '0', '--save', expected]);
  assert.ok(fs.existsSync(expected), `the runner saved nothing: ${run.stderr}`);
  assert.ok(fs.readFileSync(saved).equals(fs.readFileSync(expected)), "the saved text differs from the runner's");
});

test('Open asks about an unsaved program first; it loads the saved file again; a file that is no program is refused with a message', async () => {
  await sendByte(5, '11111111');
  await eventually(() => memoryBits(5), '11111111', 'memory 5 written');

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
  assert.equal(await memoryBits(5), '11111111', 'memory kept');

  const openFile = async (file, answer) => {
    const chooser = page.waitForEvent('filechooser');
    await page.keyboard.press('Control+o');
    if (answer) await question.locator(`button[value=${answer}]`).click();
    await (await chooser).setFiles(file);
  };
  await openFile(path.join(work, 'session.txt'), 'discard');
  await eventually(() => memoryBits(5), '00000000', 'memory 5 as saved');
  assert.equal(await memoryBits(0), PROGRAM[0]);

  await openFile(path.join(dataDir, 'runner', 'not_a_program.txt'));
  const box = page.locator('#msgbox');
  await box.waitFor();
  assert.equal(await box.locator('.title').textContent(), 'VOLPAR -- PROGRAM FILE');
  await box.locator('button').click();
  await box.waitFor({ state: 'hidden' });
  assert.equal(await memoryBits(1), PROGRAM[1], 'the refused file changed nothing');
});

test('a file named as a folder of the browser opens; a large or unreadable one is refused unread', async () => {
  // A byte sent since the last load makes Open ask first: Don't Save.
  const openFile = async (file, unsaved = false) => {
    const chooser = page.waitForEvent('filechooser');
    await page.keyboard.press('Control+o');
    if (unsaved) await page.locator('#questionbox button[value=discard]').click();
    await (await chooser).setFiles(file);
  };
  const box = page.locator('#msgbox');
  const refusal = async () => {
    await box.waitFor();
    const seen = `${await box.locator('.title').textContent()}: ${await box.locator('.text').textContent()}`;
    await box.locator('button').click();
    await box.waitFor({ state: 'hidden' });
    return seen;
  };
  await page.evaluate(() => {
    const read = Blob.prototype.arrayBuffer;
    window.readSizes = [];
    window.unreadable = false;
    Blob.prototype.arrayBuffer = function () {
      window.readSizes.push(this.size);
      if (window.unreadable) return Promise.reject(new DOMException('gone', 'NotReadableError'));
      return read.call(this);
    };
  });
  for (const name of ['dev', 'tmp']) {
    const file = path.join(work, name);
    fs.copyFileSync(path.join(dataDir, 'countdown.txt'), file);
    await sendByte(0, '11111111');
    await openFile(file, true);
    await eventually(() => memoryBits(0), '01100000', `${name} loaded`);
    assert.equal(await memoryBits(1), '10000000');
  }
  const huge = path.join(work, 'huge.txt');
  fs.writeFileSync(huge, Buffer.alloc(3 << 20, 0x20));
  await openFile(huge);
  assert.match(
    await refusal(),
    /^VOLPAR -- PROGRAM FILE: .*"huge.txt" could not be loaded\.\nReason: It is larger than 1 MiB/,
  );
  assert.ok(Math.max(...(await page.evaluate(() => window.readSizes))) <= (1 << 20) + 1, 'read no more than allowed');

  await page.evaluate(() => {
    window.unreadable = true;
  });
  await openFile(path.join(work, 'session.txt'));
  assert.match(
    await refusal(),
    /^VOLPAR -- PROGRAM FILE: .*"session.txt" could not be loaded\.\nReason: The browser could not read it \(NotReadableError\)/,
  );
  assert.equal(await memoryBits(1), '10000000', 'the refused files changed nothing');
  await page.evaluate(() => {
    window.unreadable = false;
  });
  await openFile(path.join(work, 'session.txt'));
  await eventually(() => memoryBits(1), PROGRAM[1], "the session's program back");
});

test('F1 opens the help beside the screens', async () => {
  await page.keyboard.press('F1');
  await page.locator('#help').waitFor();
  const heading = page.frameLocator('#help iframe').locator('h1');
  assert.equal(await heading.textContent(), 'VOLPAR Help');
  await page.locator('#help-close').click();
});

test('started at 0 and stepped by hand, the execution screen shows what the machine did', async () => {
  await startAt(0);
  await setClock('manual_radio');
  await step(6); // INPUT waits from T6 for its value
  // The page draws once a frame: read what it shows once it has drawn.
  await eventually(() => rexec('Command_Input_Window_OK').textContent(), 'Step', 'the window button');
  await rexec('Text_Input_Decimal').fill('3');
  await eventually(async () => (await texts('REXEC', 'Input_bit')).join(''), '00000011', 'the bits');
  await rexec('Command_Input_Window_OK').click();
  await step(); // T7
  await eventually(() => rexec('Register_S_Decimal').textContent(), '3', 'S after INPUT');
  await step(1 + 8); // T0, then ADD 10
  for (const [register, value] of [
    ['X', '3'],
    ['Y', '5'],
    ['S', '8'],
  ]) {
    await eventually(() => rexec(`Register_${register}_Decimal`).textContent(), value, `${register} after ADD`);
  }
  await step(8 + 8); // STORE 11, OUTPUT
  await eventually(() => rexec('Register_Output_Decimal').textContent(), '8', 'the output register');
  await eventually(() => cells('REXEC', 'Shapeo', range(1, 8), RED), '00001000', 'the output cells');
  await eventually(() => cells('REXEC', 'Shape_Clock', range(0, 8), CYAN), '10000000', 'the clock at T0');
  await screenshot('execution');
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

// Timing belongs to benchmarks: the rate is reported here, never asserted.
test('the clock at 1000 Hz, measured over three seconds', async (t) => {
  page = await openPage();
  await page.keyboard.press('Enter');
  await eventually(front, 'DERAZO_Input', 'the input screen');
  await typeBits('10100000'); // 0: BRANCH 0, for ever
  await input('Command_Send_to_Memory').click();
  await startAt(0);
  await setClock('automatic_radio', 1000);
  await rexec('Command_Begin_Step').click();
  const ticks = () => page.evaluate(() => [performance.now(), [...window.volpar.clocks.values()][0].delivered]);
  await page.waitForTimeout(500);
  const [t0, n0] = await ticks();
  await page.waitForTimeout(3000);
  const [t1, n1] = await ticks();
  const rate = ((n1 - n0) * 1000) / (t1 - t0);
  t.diagnostic(`clock at 1000 Hz: ${rate.toFixed(1)} ticks per second (${(rate / 10).toFixed(1)} %)`);
  assert.ok(n1 > n0, 'the clock runs');
});

// Back from a run the start-location panel is still open but Send to Memory is the
// default button again: Enter in the start location starts the run and writes nothing.
test('Enter in the start location starts the run, as in the windows', async () => {
  await page.close();
  page = await openPage();
  await page.keyboard.press('Enter');
  await eventually(front, 'DERAZO_Input', 'the input screen');
  await startAt(0);
  await rexec('Command_Return_to_Input').click();
  await eventually(front, 'DERAZO_Input', 'back on the input screen');
  await typeBits('11111111');
  await input('exec_text').fill('0');
  await input('exec_text').press('Enter');
  await eventually(front, 'REXEC', 'the execution screen comes to the front');
  assert.equal(await memoryBits(0), '00000000', 'nothing sent to memory');
});
