// SPDX-License-Identifier: GPL-3.0-or-later
// What every browser test needs: the build folder served as it is, the system's Chromium
// and a fresh page on the welcome screen.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { chromium } from 'playwright-core';

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

export async function openPage(browser, url, beforePage = withoutPicker) {
  const p = await browser.newPage({ viewport: { width: 1280, height: 900 }, acceptDownloads: true });
  p.on('pageerror', (e) => console.error('page error:', e));
  // A loaded machine can be slow to answer; waiting longer changes no result.
  p.setDefaultTimeout(120_000);
  await p.addInitScript(beforePage.script, beforePage.arg);
  await p.goto(url);
  await p.locator('section[data-form="Initial_Screen"].front').waitFor();
  return p;
}
