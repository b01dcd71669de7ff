// SPDX-License-Identifier: GPL-3.0-or-later
// What every browser test needs: the build folder served as it is, the system's Chromium,
// a fresh page on the welcome screen, and a student's hands and eyes on it.
import { after, before } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { chromium } from 'playwright-core';

export const webDir = process.env.VOLPAR_WEB_DIR;
export const runner = process.env.VOLPAR_RUN;
export const dataDir = new URL('../data/', import.meta.url).pathname;
const shots = process.env.VOLPAR_WEB_SCREENSHOTS;

// The colours the page draws with, as getComputedStyle gives them.
export const WHITE = 'rgb(255, 255, 255)';
export const BLACK = 'rgb(0, 0, 0)';
export const YELLOW = 'rgb(255, 255, 0)';
export const RED = 'rgb(255, 0, 0)';
export const GREEN = 'rgb(0, 255, 0)';
export const CYAN = 'rgb(0, 255, 255)';

export const range = (from, n) => Array.from({ length: n }, (_, i) => from + i);

const TYPES = {
  '.html': 'text/html',
  '.js': 'text/javascript',
  '.wasm': 'application/wasm',
  '.css': 'text/css',
  '.svg': 'image/svg+xml',
  '.zev': 'text/html',
  '.webmanifest': 'application/manifest+json',
};

export function serve(dir) {
  return new Promise((resolve) => {
    const s = http.createServer((req, res) => {
      const name = path.normalize(decodeURIComponent(new URL(req.url, 'http://x').pathname)).replace(/^\/+/, '');
      const file = path.join(dir, name || 'index.html');
      if (!file.startsWith(dir) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
        res.writeHead(404).end();
        return;
      }
      res.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] ?? 'application/octet-stream' });
      fs.createReadStream(file).pipe(res);
    });
    s.listen(0, '127.0.0.1', () => resolve(s));
  });
}

export function launch() {
  return chromium.launch({
    executablePath: process.env.VOLPAR_CHROMIUM ?? '/usr/bin/chromium',
    args: [
      '--no-sandbox',
      '--disable-gpu',
      '--disable-quic',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
    ],
  });
}

// Playwright answers the file input's chooser but not the browser's file picker
// (showOpenFilePicker): a page opens without the picker unless the test brings its own,
// a script run before the page's own (Playwright's addInitScript).
const withoutPicker = { script: () => (window.showOpenFilePicker = undefined) };

// Reads until the value is `expected` (compared as JSON) or `expected(value)` holds, for
// up to five seconds; then fails with the last value read, and returns it otherwise.
export async function eventually(read, expected, what) {
  const wanted = typeof expected === 'function' ? expected : (v) => JSON.stringify(v) === JSON.stringify(expected);
  const until = Date.now() + 5000;
  let value = await read();
  while (!wanted(value) && Date.now() < until) {
    await new Promise((resolve) => setTimeout(resolve, 20));
    value = await read();
  }
  if (typeof expected === 'function') assert.ok(wanted(value), `${what}: ${JSON.stringify(value)}`);
  else assert.deepEqual(value, expected, what);
  return value;
}

// A program file's text for `bytes` ({address: bits}), the other bytes zero.
export function programText(bytes) {
  const lines = [];
  for (const [n, section] of ['FIRST8', 'SECOND8', 'THIRD8', 'FOURTH8'].entries()) {
    lines.push(`[${section}]`);
    for (let a = 8 * n; a < 8 * n + 8; ++a) lines.push(`Byte${a}=${bytes[a] ?? '00000000'}`);
  }
  return lines.join('\r\n') + '\r\n';
}

// The served page and the browser for every test of the calling file, and a scratch folder.
export function useBrowser() {
  const session = { work: fs.mkdtempSync(path.join(os.tmpdir(), 'volpar-web-')) };
  // Started once, by the first of this hook and a test's own hook to ask.
  let started;
  const start = () =>
    (started ??= (async () => {
      assert.ok(webDir && fs.existsSync(path.join(webDir, 'volpar.wasm')), 'build the page first: make web');
      assert.ok(runner && fs.existsSync(runner), 'VOLPAR_RUN names volpar-run');
      session.server = await serve(path.resolve(webDir));
      session.url = `http://127.0.0.1:${session.server.address().port}/`;
      session.browser = await launch();
    })());
  before(start);
  after(async () => {
    await session.browser?.close();
    session.server?.close();
    fs.rmSync(session.work, { recursive: true, force: true });
  });
  // A student at a fresh page on the welcome screen (at `url` if given).
  session.open = async ({ url, beforePage = withoutPicker } = {}) => {
    await start();
    const p = await session.browser.newPage({ viewport: { width: 1280, height: 900 }, acceptDownloads: true });
    p.on('pageerror', (e) => console.error('page error:', e));
    // The browser is told to hand file choosers to the test only once someone listens, and
    // that order travels on its own: listening from the start, no Ctrl+O can beat it.
    p.on('filechooser', () => {});
    // A loaded machine can be slow to answer; waiting longer changes no result.
    p.setDefaultTimeout(120_000);
    await p.addInitScript(beforePage.script, beforePage.arg);
    await p.goto(url ?? session.url);
    await p.locator('section[data-form="Initial_Screen"].front').waitFor();
    return new Student(p);
  };
  // The same, past the welcome screen.
  session.atInputScreen = async (options) => {
    const s = await session.open(options);
    await s.toInputScreen();
    return s;
  };
  return session;
}

// What a student does on one page and what they see there.
export class Student {
  constructor(page) {
    this.page = page;
  }

  el(form, name) {
    return this.page.locator(`section[data-form="${form}"] [data-name="${name}"]`);
  }
  input(name) {
    return this.el('DERAZO_Input', name);
  }
  rexec(name) {
    return this.el('REXEC', name);
  }
  front() {
    return this.page.locator('section.window.front').getAttribute('data-form');
  }
  focused() {
    return this.page.evaluate(() => document.activeElement.closest('[data-name]')?.dataset.name);
  }
  eventually(read, expected, what) {
    return eventually(read, expected, what);
  }
  async screenshot(name) {
    if (shots) await this.page.screenshot({ path: path.join(shots, `${name}.png`) });
  }

  // The cells of a control array: '1' in colour `on`, '0' white, 'x' black, '?' otherwise.
  cells(form, array, indices, on) {
    return this.page.evaluate(
      ({ form, array, indices, marks }) =>
        indices
          .map((i) => {
            const node = document.querySelector(`section[data-form="${form}"] [data-name="${array}(${i})"]`);
            return marks[getComputedStyle(node).backgroundColor] ?? '?';
          })
          .join(''),
      { form, array, indices, marks: { [on]: '1', [WHITE]: '0', [BLACK]: 'x' } },
    );
  }
  // A byte of the memory grid as drawn, or every byte when no address is given.
  async memory(address) {
    if (address !== undefined) return this.cells('DERAZO_Input', 'Shape1', range(8 * address + 1, 8), YELLOW);
    const all = await this.cells('DERAZO_Input', 'Shape1', range(1, 256), YELLOW);
    return range(0, 32).map((a) => all.slice(8 * a, 8 * a + 8));
  }
  // Every element of the screens as drawn, one line each: to compare two moments.
  drawn() {
    return this.page.evaluate(() =>
      [...document.querySelectorAll('section.window [data-name]')].map(
        (n) => `${n.dataset.name} ${n.value ?? ''} ${n.textContent} ${getComputedStyle(n).backgroundColor}`,
      ),
    );
  }
  // A register's caption.
  register(name) {
    return this.rexec(`Register_${name}_Decimal`).textContent();
  }

  async toInputScreen() {
    await this.page.keyboard.press('Enter');
    await this.eventually(() => this.front(), 'DERAZO_Input', 'the input screen comes to the front');
  }
  async typeBits(bits) {
    for (let i = 1; i <= 8; ++i) await this.input(`Input_Bit(${i})`).fill(bits[i - 1]);
  }
  // Sends each [address, bits] to memory, and waits to see them drawn.
  async sendBytes(bytes) {
    for (const [address, bits] of bytes) {
      await this.input('memory_text').fill(String(address));
      await this.typeBits(bits);
      await this.input('Command_Send_to_Memory').click();
    }
    for (const [address, bits] of bytes) await this.eventually(() => this.memory(address), bits, `memory ${address}`);
  }
  async startAt(address) {
    await this.input('Command_Execute_Program').click();
    await this.input('exec_text').fill(String(address));
    await this.input('Command_OK_For_Start_Location').click();
    await this.eventually(() => this.front(), 'REXEC', 'the execution screen comes to the front');
  }
  async setClock(radio, rate) {
    await this.rexec('Command_Options').click();
    await this.rexec(radio).locator('input').click();
    if (rate) await this.rexec('time_scroll').fill(String(rate));
    await this.rexec('Command_Options_Close').click();
  }
  async step(times = 1) {
    for (let i = 0; i < times; ++i) await this.rexec('Command_Begin_Step').click();
  }

  // Open (Ctrl+O) through the file chooser, answering the question first if `answer`.
  async openFile(file, answer) {
    // As a person would, only once the page has drawn what the last action did: a key
    // pressed in the same frame as a panel's or a box's follow-up is the page's to queue,
    // which its own tests check, not every test that opens a file.
    await this.page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
    const chooser = this.page.waitForEvent('filechooser');
    await this.page.keyboard.press('Control+o');
    if (answer) await this.page.locator(`#questionbox button[value=${answer}]`).click();
    await (await chooser).setFiles(file);
  }
  // Waits for the message box, closes it and returns "title: text".
  async closeMessage() {
    const box = this.page.locator('#msgbox');
    await box.waitFor();
    const seen = `${await box.locator('.title').textContent()}: ${await box.locator('.text').textContent()}`;
    await box.locator('button').click();
    await box.waitFor({ state: 'hidden' });
    return seen;
  }
  close() {
    return this.page.close();
  }
}
