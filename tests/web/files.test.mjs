// SPDX-License-Identifier: GPL-3.0-or-later
// Files, links and the network, driven as a student would: Save writes back into the file
// the student opened (the browser's file picker and disk played by a fake that keeps what
// is written: Playwright cannot answer the real picker), a link carries a program, and a
// page opened once opens again with no network.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { dataDir, eventually, runner, useBrowser } from './browser.mjs';

const session = useBrowser();
const work = session.work;
const pageDir = new URL('../../src/web/page/', import.meta.url).pathname;
// A file typed by hand: comments, other sections, odd spellings and bits marked "x".
const LESSON = fs.readFileSync(path.join(dataDir, 'handwritten.txt'), 'utf8');
const HUGE = 3 << 20;

// Runs in the page before its own code: a picker that hands over `disk.next` (Cancel when
// null) and a disk that keeps each file written through a handle, or fails as `disk.fault`
// says ({ at: 'pick' | 'open' | 'write', name }). A number for a file's text is a file of
// that many blanks. Every read of a file's bytes is noted.
function fakeDisk(files) {
  const disk = { files, next: null, written: [], fault: null, reads: [] };
  for (const [name, text] of Object.entries(files)) if (typeof text === 'number') files[name] = ' '.repeat(text);
  window.fakeDisk = disk;
  const read = Blob.prototype.arrayBuffer;
  Blob.prototype.arrayBuffer = function () {
    disk.reads.push(this.size);
    return read.call(this);
  };
  const fail = (at) => {
    if (disk.fault?.at === at) throw new DOMException('refused', disk.fault.name);
  };
  const writable = (name) => {
    let bytes = [];
    return {
      write: async (data) => {
        fail('write');
        bytes = bytes.concat(Array.from(data));
      },
      close: async () => {
        disk.files[name] = new TextDecoder().decode(new Uint8Array(bytes));
        disk.written.push({ name, text: disk.files[name] });
      },
      abort: async () => {},
    };
  };
  window.showOpenFilePicker = async () => {
    fail('pick');
    const name = disk.next;
    if (!name) throw new DOMException('cancelled', 'AbortError');
    const handle = { kind: 'file', name, getFile: async () => new File([disk.files[name]], name) };
    handle.createWritable = async () => {
      fail('open');
      return writable(name);
    };
    return [handle];
  };
}

// ---- what the student sees and does ---------------------------------------------------------

const disk = (page) => page.evaluate(() => window.fakeDisk);
const msgbox = (page) => page.locator('#msgbox');

// Save, the name in the box as it is offered (returned) or as given.
async function save(page, name) {
  await page.keyboard.press('Control+s');
  const box = page.locator('#savebox');
  const offered = await box.locator('input').inputValue();
  if (name) await box.locator('input').fill(name);
  await box.locator(`button[value=${name === null ? 'cancel' : 'save'}]`).click();
  return offered;
}

function downloads(page) {
  const seen = [];
  page.on('download', (d) => seen.push(d));
  return seen;
}

// Open, the file picked as named (null: Cancel).
async function pick(page, name) {
  await page.evaluate((name) => (window.fakeDisk.next = name), name);
  await page.keyboard.press('Control+o');
}

// A page on the input screen with the lesson opened through the picker.
async function lessonOpened(t, files = {}) {
  const s = await session.atInputScreen({ beforePage: { script: fakeDisk, arg: { 'lesson.txt': LESSON, ...files } } });
  t.after(() => s.close());
  await pick(s.page, 'lesson.txt');
  await eventually(async () => (await s.memory()).slice(0, 3), ['00100101', '10000001', 'x0x0x0x0'], 'opened');
  return s;
}

// What the program itself writes when it saves the lesson's memory into the lesson.
function lessonSavedByRunner() {
  const source = path.join(work, 'lesson.txt');
  const target = path.join(work, 'lesson-saved.txt');
  fs.writeFileSync(source, LESSON);
  fs.writeFileSync(target, LESSON);
  const run = spawnSync(runner, [source, '--max-instructions', '0', '--save', target]);
  assert.notEqual(run.status, 2, `the runner failed: ${run.stderr}`);
  return fs.readFileSync(target, 'utf8');
}

// ---- Save writes back -----------------------------------------------------------------------

test('Save after Open writes back into the opened file; another name, a cancelled pick, a large file', async (t) => {
  const s = await lessonOpened(t, { 'huge.txt': HUGE });
  const page = s.page;
  const downloaded = downloads(page);

  assert.equal(await save(page), 'lesson.txt', 'Save offers the opened file');
  await eventually(async () => (await disk(page)).written.length, 1, 'written through the handle');
  assert.equal((await disk(page)).written[0].text, lessonSavedByRunner(), 'the very bytes the program saved');
  await s.sendBytes([[20, '11111111']]);
  await save(page);
  await eventually(async () => (await disk(page)).written.length, 2, 'written again');
  const again = (await disk(page)).files['lesson.txt'];
  assert.match(again, /^Byte20=11111111$/m);
  assert.match(again, /^\[Notes\]\nauthor=someone$/m, "the file's other lines stay");

  await save(page, 'other');
  await eventually(() => downloaded.map((d) => d.suggestedFilename()), ['other.txt'], 'a new name is downloaded');
  assert.equal((await disk(page)).written.length, 2, 'and not written back');

  await pick(page, null);
  await page.waitForTimeout(300);
  assert.equal(await msgbox(page).isVisible(), false, 'a cancelled pick says nothing');
  await pick(page, 'huge.txt');
  assert.match(await s.closeMessage(), /"huge.txt" could not be loaded\.\nReason: It is larger than 1 MiB/);
  assert.ok(Math.max(...(await disk(page)).reads) <= (1 << 20) + 1, 'read no more than allowed');
  assert.equal((await s.memory())[20], '11111111', 'memory kept');

  // A picker the browser refuses leaves the file input; a file of the same name chosen
  // there is another file, which a save downloads.
  await page.evaluate(() => (window.fakeDisk.fault = { at: 'pick', name: 'SecurityError' }));
  const chooser = page.waitForEvent('filechooser');
  await page.keyboard.press('Control+o');
  await (await chooser).setFiles(path.join(work, 'lesson.txt'));
  await eventually(async () => (await s.memory())[20], '00000000', 'opened through the file input');
  await save(page);
  await eventually(() => downloaded.map((d) => d.suggestedFilename()), ['other.txt', 'lesson.txt'], 'downloaded');
  assert.equal((await disk(page)).written.length, 2, 'and not written to the file picked before');
});

test('a write the browser refuses says why and downloads the file instead; the file stays as it was', async (t) => {
  const s = await lessonOpened(t);
  const page = s.page;
  const downloaded = downloads(page);
  for (const [n, fault] of [
    { at: 'open', name: 'NotAllowedError' },
    { at: 'write', name: 'QuotaExceededError' },
  ].entries()) {
    await s.sendBytes([[n, '11110000']]);
    await page.evaluate((fault) => (window.fakeDisk.fault = fault), fault);
    await save(page);
    assert.equal(
      await s.closeMessage(),
      'VOLPAR -- PROGRAM FILE: The program could not be written back to the file you opened, "lesson.txt".\n' +
        `Reason: The browser could not write it (${fault.name}).\n` +
        'It was downloaded as "lesson.txt" instead: nothing is lost.',
    );
    await eventually(() => downloaded.length, n + 1, 'downloaded instead');
    const kept = fs.readFileSync(await downloaded[n].path(), 'utf8');
    assert.equal(downloaded[n].suggestedFilename(), 'lesson.txt');
    assert.match(kept, new RegExp(`^byte${n}\\s*=\\s*11110000\\s*$`, 'im'), 'the download holds the save');
    assert.equal((await disk(page)).files['lesson.txt'], LESSON, 'the file on disk unchanged');
  }
});

// ---- Share ----------------------------------------------------------------------------------

test('Copy Share Link makes a link that opens the page with the same program, unsaved and unnamed', async (t) => {
  const s = await lessonOpened(t);
  const page = s.page;
  await page.context().grantPermissions(['clipboard-read', 'clipboard-write'], { origin: session.url });
  await s.sendBytes([[31, '10000001']]);
  const shared = await s.memory();

  await page.locator('section[data-form="DERAZO_Input"] .menu-title', { hasText: 'File' }).click();
  await page.getByRole('menuitem', { name: 'Copy Share Link' }).click();
  const box = page.locator('#sharebox');
  const link = await box.locator('input').inputValue();
  const hex = (mark) =>
    shared.map((bits) =>
      parseInt(
        bits.replace(/./g, (b) => (b === mark ? '1' : '0')),
        2,
      )
        .toString(16)
        .padStart(2, '0'),
    );
  assert.equal(link, `${session.url}#m=${hex('1').join('')}&x=${hex('x').join('')}`);
  await eventually(() => box.locator('.status').textContent(), 'The link is copied to the clipboard.', 'copied');
  assert.equal(await page.evaluate(() => navigator.clipboard.readText()), link);
  await box.locator('button').click();

  const o = await session.open({ url: link });
  const opened = o.page;
  t.after(() => o.close());
  assert.equal(await opened.evaluate(() => location.href), session.url, 'the address names the page alone');
  await o.toInputScreen();
  assert.deepEqual(await o.memory(), shared, 'memory as shared');
  assert.equal(await save(opened, null), 'program.txt', 'no file name');
  await opened.keyboard.press('Control+o');
  const question = opened.locator('#questionbox');
  await question.waitFor();
  assert.equal(
    await question.locator('.text').textContent(),
    'Save the program in memory before opening another program?',
  );
  await question.locator('button[value=cancel]').click();
  await question.waitFor({ state: 'hidden' });

  // A link pasted into the open page's address opens too, after the same question.
  await opened.evaluate((zeros) => (location.hash = `m=ff${zeros}`), '0'.repeat(62));
  await question.waitFor();
  await question.locator('button[value=discard]').click();
  await eventually(async () => (await o.memory()).slice(0, 3), ['11111111', '00000000', '00000000'], 'pasted');
  assert.equal(await opened.evaluate(() => location.hash), '');
});

test('a damaged link says why, and the page starts as usual', async () => {
  const cases = [
    [`#m=${'0'.repeat(63)}`, 'It has 63 hexadecimal digits where a program has 64, two for each byte of memory'],
    ['#top', null],
  ];
  for (const [fragment, reason] of cases) {
    const s = await session.open({ url: session.url + fragment });
    const page = s.page;
    try {
      if (reason) {
        assert.equal(
          await s.closeMessage(),
          'VOLPAR -- PROGRAM LINK: The link does not hold a program that can be opened.\n' +
            `Reason: ${reason}.\nThe memory was not changed.`,
        );
      }
      await s.toInputScreen();
      assert.equal(await msgbox(page).isVisible(), false, fragment);
      assert.deepEqual(await s.memory(), Array(32).fill('00000000'), fragment);
      assert.equal(await page.evaluate(() => location.hash), reason ? '' : fragment);
    } finally {
      await page.close();
    }
  }
});

// ---- Offline --------------------------------------------------------------------------------

test('a page opened once opens again with no network; it can be installed', async (t) => {
  const s = await session.open();
  const page = s.page;
  t.after(() => s.close());
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  const kept = await page.evaluate(async () => {
    const names = await caches.keys();
    const cache = await caches.open(names[0]);
    return { names, files: (await cache.keys()).map((r) => new URL(r.url).pathname.slice(1)) };
  });
  assert.match(kept.names.join(), /^volpar-[0-9a-f]{16}$/, 'one cache, named for the build');
  const needed = fs.readdirSync(pageDir).filter((f) => f !== 'sw.js');
  for (const file of ['', ...needed, 'volpar.js', 'volpar.wasm', 'Vuvuva.zev']) {
    assert.ok(kept.files.includes(file), `${file || 'the page itself'} is kept`);
  }

  const cdp = await page.context().newCDPSession(page);
  // Nothing but the test's private browser context keeps the page from being installed.
  const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
  const errors = installabilityErrors.map((e) => e.errorId).filter((id) => id !== 'in-incognito');
  assert.deepEqual(errors, [], 'installable');

  await page.context().setOffline(true);
  await page.reload();
  await page.locator('section[data-form="Initial_Screen"].front').waitFor();
  await s.toInputScreen();
  await page.keyboard.press('F1');
  const heading = page.frameLocator('#help iframe').locator('h1');
  assert.equal(await heading.textContent(), 'VOLPAR Help', 'the help too');
});
