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
import { dataDir, eventually, playEach, runner, useBrowser } from './browser.mjs';

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

// A page on the input screen with the lesson opened through the picker.
async function lessonOpened(t, files = {}) {
  const s = await session.atInputScreen({ beforePage: { script: fakeDisk, arg: { 'lesson.txt': LESSON, ...files } } });
  t.after(() => s.close());
  await s.page.evaluate(() => (window.fakeDisk.next = 'lesson.txt'));
  await s.page.keyboard.press('Control+o');
  await eventually(async () => (await s.memory()).slice(0, 3), ['00100101', '10000001', 'x0x0x0x0'], 'opened');
  return s;
}
const disk = (s) => s.page.evaluate(() => window.fakeDisk);

test('Save after Open writes back into the opened file; another name, a cancelled pick, a large file', async (t) => {
  const s = await lessonOpened(t, { 'huge.txt': HUGE });
  await s.page.keyboard.press('Control+s');
  assert.equal(await s.page.locator('#savebox input').inputValue(), 'lesson.txt', 'Save offers the opened file');
  await s.page.locator('#savebox button[value=save]').click();
  await eventually(async () => (await disk(s)).written.length, 1, 'written through the handle');
  // The very bytes the program itself writes when it saves the lesson's memory into the lesson.
  const [source, target] = [path.join(work, 'lesson.txt'), path.join(work, 'lesson-saved.txt')];
  for (const file of [source, target]) fs.writeFileSync(file, LESSON);
  const run = spawnSync(runner, [source, '--max-instructions', '0', '--save', target]);
  assert.equal((await disk(s)).written[0].text, fs.readFileSync(target, 'utf8'), `the runner's bytes ${run.stderr}`);
  await s.play('files-save');
});

test('a write the browser refuses says why and downloads the file instead; the file stays as it was', async (t) => {
  await (await lessonOpened(t)).play('files-refused');
});

test('Copy Share Link makes a link that opens the page with the same program, unsaved and unnamed', async (t) => {
  const s = await lessonOpened(t);
  await s.page.context().grantPermissions(['clipboard-read', 'clipboard-write'], { origin: session.url });
  await s.play('files-share');
  const shared = await s.memory();
  const o = await session.open({ url: await s.page.locator('#sharebox input').inputValue() });
  t.after(() => o.close());
  await o.toInputScreen();
  assert.deepEqual(await o.memory(), shared, 'memory as shared');
  await o.play('files-link');
});

playEach(session, { 'files-damaged-link': 'a damaged link says why, and the page starts as usual' }, () => {});

test('a page opened once opens again with no network; it can be installed', async (t) => {
  const s = await session.open();
  const page = s.page;
  t.after(() => s.close());
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  const kept = await page.evaluate(async () => {
    const names = await caches.keys();
    return { names, files: (await (await caches.open(names[0])).keys()).map((r) => new URL(r.url).pathname.slice(1)) };
  });
  assert.match(kept.names.join(), /^volpar-[0-9a-f]{16}$/, 'one cache, named for the build');
  const needed = fs.readdirSync(pageDir).filter((f) => f !== 'sw.js');
  for (const file of ['', ...needed, 'volpar.js', 'volpar.wasm', 'Vuvuva.zev']) {
    assert.ok(kept.files.includes(file), `${file || 'the page itself'} is kept`);
  }
  // Nothing but the test's private browser context keeps the page from being installed.
  const cdp = await page.context().newCDPSession(page);
  const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
  assert.deepEqual(
    installabilityErrors.map((e) => e.errorId).filter((id) => id !== 'in-incognito'),
    [],
    'installable',
  );
  await page.context().setOffline(true);
  await s.act('reload');
  await s.toInputScreen();
  await page.keyboard.press('F1');
  assert.equal(await page.frameLocator('#help iframe').locator('h1').textContent(), 'VOLPAR Help', 'the help too');
});
