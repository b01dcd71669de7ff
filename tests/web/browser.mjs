// SPDX-License-Identifier: GPL-3.0-or-later
// What every browser test needs: the build folder served as it is, the system's Chromium,
// a fresh page on the welcome screen, and a student's hands and eyes on it.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { chromium } from 'playwright-core';

export const webDir = process.env.VOLPAR_WEB_DIR;
export const runner = process.env.VOLPAR_RUN;
export const dataDir = new URL('../data/', import.meta.url).pathname;
const axePath = new URL('node_modules/axe-core/axe.min.js', import.meta.url).pathname;

// The colours the page draws with, by name, as getComputedStyle gives them.
const COLOURS = { white: [255, 255, 255], black: [0, 0, 0], yellow: [255, 255, 0], red: [255, 0, 0] };
Object.assign(COLOURS, { green: [0, 255, 0], cyan: [0, 255, 255] });
for (const name in COLOURS) COLOURS[name] = `rgb(${COLOURS[name].join(', ')})`;
export const { white: WHITE, black: BLACK, yellow: YELLOW, red: RED, green: GREEN, cyan: CYAN } = COLOURS;

export const range = (from, n) => Array.from({ length: n }, (_, i) => from + i);

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.css': 'text/css' };
Object.assign(TYPES, { '.svg': 'image/svg+xml', '.zev': 'text/html', '.webmanifest': 'application/manifest+json' });

export function serve(dir) {
  const s = http.createServer((req, res) => {
    const name = path.normalize(decodeURIComponent(new URL(req.url, 'http://x').pathname)).replace(/^\/+/, '');
    const file = path.join(dir, name || 'index.html');
    if (!file.startsWith(dir) || !fs.existsSync(file) || fs.statSync(file).isDirectory())
      return res.writeHead(404).end();
    res.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] ?? 'application/octet-stream' });
    fs.createReadStream(file).pipe(res);
  });
  return new Promise((resolve) => s.listen(0, '127.0.0.1', () => resolve(s)));
}

const FLAGS = 'no-sandbox disable-gpu disable-quic no-first-run disable-background-networking disable-component-update';
export const launch = () =>
  chromium.launch({
    executablePath: process.env.VOLPAR_CHROMIUM ?? '/usr/bin/chromium',
    args: `${FLAGS} disable-sync`.split(' ').map((flag) => `--${flag}`),
  });

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
    return new Student(p, session.work);
  };
  // The same, past the welcome screen.
  session.atInputScreen = async (options) => {
    const s = await session.open(options);
    await s.toInputScreen();
    return s;
  };
  return session;
}

// A test for each of `goldens` ({NAME: what it shows}): tests/data/web/NAME.txt played on a
// fresh page made `ready` (past the welcome screen unless told otherwise).
export function playEach(session, goldens, ready = (s) => s.toInputScreen()) {
  for (const [name, what] of Object.entries(goldens)) {
    test(what, async () => {
      const s = await session.open();
      await ready(s);
      await s.play(name);
      await s.close();
    });
  }
}

// A value seen, as written in the transcripts: a string as it is, on one line, else JSON.
const format = (v) => (typeof v === 'string' && !/^["[]|\n/.test(v) ? v : JSON.stringify(v));

// `@FORM/NAME` in a selector stands for that element of that screen.
const css = (selector) => selector.replace(/@(\w+)\/(\S+)/g, '[data-form="$1"] [data-name="$2"]');

function outlineOfFocused() {
  const s = getComputedStyle(document.activeElement);
  return `${s.outlineStyle} ${parseFloat(s.outlineWidth) >= 1}`;
}

function coveredControls(form) {
  const controls = [...document.querySelectorAll(`[data-form="${form}"] .client :is(button, input)`)];
  const covered = (n) => {
    n.scrollIntoView({ block: 'nearest', inline: 'nearest' });
    const r = n.getBoundingClientRect();
    const hit = document.elementFromPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return !(n.contains(hit) || n.closest('label')?.contains(hit));
  };
  return controls.filter((n) => n.checkVisibility() && covered(n)).map((n) => n.closest('[data-name]').dataset.name);
}

function shownForms() {
  const shown = [...document.querySelectorAll('section.window')].filter((n) => n.checkVisibility());
  const left = (n) => n.getBoundingClientRect().left;
  return shown
    .sort((a, b) => left(a) - left(b))
    .map((n) => n.dataset.form)
    .join();
}

// What a student does on one page and what they see there.
export class Student {
  constructor(page, work) {
    Object.assign(this, { page, work, choosers: 0, downloads: [], eventually });
    page.on('filechooser', () => ++this.choosers);
    page.on('download', (d) => this.downloads.push(d));
    this.el = (form, name) => page.locator(`section[data-form="${form}"] [data-name="${name}"]`);
    this.input = (name) => this.el('DERAZO_Input', name);
    this.rexec = (name) => this.el('REXEC', name);
    this.front = () => page.locator('section.window.front').getAttribute('data-form');
    this.focused = () => page.evaluate(() => document.activeElement.closest('[data-name]')?.dataset.name);
  }

  // The cells of a control array: '1' in colour `on`, '0' white, 'x' black, '?' otherwise.
  cells(form, array, indices, on) {
    const marks = { [on]: '1', [WHITE]: '0', [BLACK]: 'x' };
    const cells = indices.map((i) => `section[data-form="${form}"] [data-name="${array}(${i})"]`);
    const read = ([cells, marks]) =>
      cells.map((c) => marks[getComputedStyle(document.querySelector(c)).backgroundColor]);
    return this.page.evaluate(read, [cells, marks]).then((seen) => seen.map((m) => m ?? '?').join(''));
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
  // axe-core over the whole page as it stands: the serious and critical findings.
  async axe() {
    if (!(await this.page.evaluate(() => 'axe' in window))) await this.page.addScriptTag({ path: axePath });
    const violations = await this.page.evaluate(async () => (await window.axe.run(document)).violations);
    return violations
      .filter((v) => v.impact === 'serious' || v.impact === 'critical')
      .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
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
  // Save through the save box as `name`; the download kept in the scratch folder, its path returned.
  async saveAs(name) {
    await this.page.locator('#savebox input').fill(name);
    const downloaded = this.page.waitForEvent('download');
    await this.page.locator('#savebox button[value=save]').click();
    const download = await downloaded;
    const saved = path.join(this.work, download.suggestedFilename());
    await download.saveAs(saved);
    return saved;
  }
  close() {
    return this.page.close();
  }

  // Plays tests/data/web/NAME.txt: a student's actions ("> action arguments") and what
  // they see after them ("what arguments => as seen"), each waited for as a person would.
  // With VOLPAR_UPDATE_GOLDEN=1 the file is written again with what was seen, to be read
  // over before it is committed.
  async play(name) {
    const file = path.join(dataDir, 'web', `${name}.txt`);
    const lines = fs.readFileSync(file, 'utf8').split('\n');
    const update = process.env.VOLPAR_UPDATE_GOLDEN;
    for (const [n, line] of lines.entries()) {
      const where = `${name}.txt:${n + 1}: ${line}`;
      if (line.startsWith('> ')) await this.act(line.slice(2), where);
      else if (line.includes(' => ')) {
        const at = line.lastIndexOf(' => ');
        const [query, text] = [line.slice(0, at), line.slice(at + 4)];
        const read = () => this.see(query).then(format, (e) => `error: ${e.message.split('\n')[0]}`);
        // A box closed or a scan run is read once.
        const once = /^(message|axe)/.test(query);
        if (update && !once) await new Promise((settled) => setTimeout(settled, 500));
        const seen = update || once ? await read() : await eventually(read, text, where);
        if (update) lines[n] = `${query} => ${seen}`;
        else assert.equal(seen, text, where);
      }
    }
    if (update) fs.writeFileSync(file, lines.join('\n'));
  }

  // A file of tests/data, or of the scratch folder (~/NAME).
  file(name) {
    return path.resolve(dataDir, name.replace(/^~/, this.work));
  }

  // One action: the verb, then its arguments; `=` parts a selector from the value to fill in.
  async act(action, where) {
    const [verb, rest = ''] = action.split(/ (.*)/s);
    const [target, value] = rest.split(/ = (.*)/s);
    const page = this.page;
    const arg = (v) => (v.startsWith('"') ? JSON.parse(v) : v);
    const verbs = {
      press: () => page.keyboard.press(rest),
      type: () => page.keyboard.type(arg(rest)),
      click: () => page.locator(css(rest)).first().click(),
      fill: () => page.locator(css(target)).fill(arg(value)),
      tap: async () => page.mouse.click(...(await this.lowerPart(rest))),
      hover: () =>
        page.locator(css(target)).hover(value && { position: { x: +value.split(',')[0], y: +value.split(',')[1] } }),
      wait: () => page.locator(css(rest)).first().waitFor(),
      gone: () => page.locator(css(rest)).first().waitFor({ state: 'hidden' }),
      send: () => this.sendBytes(rest.split(' ').map((b) => b.split(':'))),
      start: () => this.startAt(rest),
      clock: () => this.setClock(...rest.split(' ')),
      step: () => this.step(Number(rest || 1)),
      open: () => this.openFile(this.file(target), value),
      save: () => this.saveAs(rest),
      choose: async () => {
        const [key, file] = rest.split(' ');
        const chooser = page.waitForEvent('filechooser');
        await page.keyboard.press(key);
        await (await chooser).setFiles(this.file(file));
      },
      reload: async () => (await page.reload(), await page.locator('.front[data-form="Initial_Screen"]').waitFor()),
      js: () => page.evaluate(rest),
      viewport: async () => {
        await page.setViewportSize({ width: Number(rest.split(' ')[0]), height: Number(rest.split(' ')[1]) });
        await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
      },
      emulate: () => this.emulate(...rest.split(' ').map(Number)),
      zoom: () => this.emulate(1280 / rest, 900 / rest, Number(rest)),
      wheel: async () => {
        const { x, y } = await page.locator(css(rest)).boundingBox();
        await page.mouse.move(x + 50, y + 50);
        await page.mouse.wheel(100, 100);
      },
      media: () => page.emulateMedia(JSON.parse(rest)),
      theme: async () => {
        await page.locator('[data-form="DERAZO_Input"] .menu-title', { hasText: 'View' }).click();
        await page.locator('[data-form="DERAZO_Input"] .dropdown button', { hasText: rest }).click();
      },
    };
    assert.ok(verbs[verb], `no such action: ${where}`);
    await verbs[verb]();
  }

  // What the student sees: the screen in front, the windows shown left to right, the focus,
  // a byte of memory, an element's text, value or visibility, a box's title and text,
  // axe-core's findings, or what a script in the page reads.
  async see(query) {
    const [what, rest = ''] = query.split(/ (.*)/s);
    if (this.readings?.[what]) return this.readings[what](rest); // a test's own
    const page = this.page;
    const one = (f) => page.evaluate(f, css(rest));
    const readers = {
      front: () => this.front(),
      focus: () => this.focused(),
      memory: () => this.memory(rest === '' ? undefined : Number(rest)),
      text: () => one((s) => document.querySelector(s)?.textContent ?? null),
      texts: () => one((s) => [...document.querySelectorAll(s)].map((n) => n.textContent)),
      value: () => one((s) => document.querySelector(s)?.value ?? null),
      shown: () => one((s) => Boolean(document.querySelector(s)?.checkVisibility())),
      enabled: () => one((s) => document.querySelector(s)?.disabled === false),
      cells: () => this.cellsBy(rest),
      message: () => this.closeMessage(),
      axe: () => this.axe(),
      choosers: () => this.choosers,
      // The names of the files downloaded so far, or the text of the one numbered so.
      downloads: () => this.downloads.map((d) => d.suggestedFilename()),
      downloaded: async () => fs.readFileSync(await this.downloads[Number(rest)].path(), 'utf8'),
      windows: () => page.evaluate(shownForms),
      role: () => page.getByRole(rest.split(' ')[0], { name: rest.split(' ').slice(1).join(' ') }).count(),
      hit: async () =>
        page.evaluate(
          ([x, y]) => document.elementFromPoint(x, y)?.closest('[data-name]')?.dataset.name,
          await this.lowerPart(rest),
        ),
      js: () => page.evaluate(rest),
      // The focus mark: the outline's style and whether it is at least a pixel wide.
      outline: () => page.evaluate(outlineOfFocused),
      // The controls of a screen that a click at their centre would not reach.
      covered: () => page.evaluate(coveredControls, rest),
    };
    assert.ok(readers[what], `no such reading: ${query}`);
    return readers[what]();
  }
  // Browser zoom, as the browser zooms, on the page already open: the tab's CSS pixels shrink
  // by the zoom and each covers zoom × zoom device pixels, both at once (DevTools'
  // Emulation.setDeviceMetricsOverride), as the page sees them once the next frame is drawn.
  async emulate(width, height, dpr) {
    this.devTools ??= await this.page.context().newCDPSession(this.page);
    const metrics = { width, height, deviceScaleFactor: dpr, mobile: false };
    await this.devTools.send('Emulation.setDeviceMetricsOverride', metrics);
    const read = () => this.page.evaluate(() => [innerWidth, devicePixelRatio].join());
    await eventually(read, `${width},${dpr}`, 'emulated');
    await this.page.evaluate(() => new Promise((drawn) => requestAnimationFrame(() => requestAnimationFrame(drawn))));
  }
  // A point low in an element's box, where a panel's frame might lie over it.
  async lowerPart(selector) {
    const box = await this.page.locator(css(selector)).boundingBox();
    return [box.x + box.width / 2, box.y + box.height * 0.85];
  }
  // "FORM ARRAY FIRST COUNT COLOUR": a row of cells, '1' where drawn in the colour.
  cellsBy(row) {
    const [form, array, first, n, colour] = row.split(' ');
    return this.cells(form, array, range(Number(first), Number(n)), COLOURS[colour]);
  }
}
