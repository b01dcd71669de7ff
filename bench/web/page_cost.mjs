// SPDX-License-Identifier: GPL-3.0-or-later
// What the page costs while its clock runs: the counting loop (memory and registers change
// at every instruction) or a lone BRANCH 0, on the execution screen in the system's headless
// Chromium, at a given rate; reports the achieved rate and the CPU the browser's renderer and
// GPU processes used (from /proc), as a share of one core; with `history`, while the
// execution history's panel is open beside the screen and follows the run. Beside it, in the
// same browser and window, two floors: a bare page that changes 30 scattered cells at every
// frame, what any page showing a running machine pays on a software-composited browser, and
// the same page changing 5 numbers too, as the registers' do. A number's new text is laid
// out, and a layout under the pointer makes the browser look again at what the pointer is
// over, so the pointer rests on every page as a user's would. The page's own cost is what it
// takes beyond a floor. The three take turns, ROUNDS times (3), as the machine's load drifts
// over minutes; the medians are reported.
//   make web && cd tests/web && npm ci && cd ../..
//   [ROUNDS=3] node bench/web/page_cost.mjs [seconds=20] [rate=1000] [counting|branch] [history]
import fs from 'node:fs';
import path from 'node:path';
import { launch, serve } from '../../tests/web/browser.mjs';

const [seconds = 20, rate = 1000, program = 'counting', panel = ''] = process.argv.slice(2);
const PROGRAMS = {
  counting: [
    [0, '00111111'],
    [1, '00011110'],
    [2, '01011111'],
    [3, '10100000'],
    [30, '00000001'],
  ],
  branch: [[0, '10100000']],
};
const TICKS_PER_SECOND = 100; // the kernel's USER_HZ on Linux

// The browser's processes: every descendant of this one, with its kind and CPU ticks.
function browserProcesses() {
  const all = fs.readdirSync('/proc').filter((p) => /^\d+$/.test(p));
  const info = new Map();
  for (const pid of all) {
    try {
      const stat = fs.readFileSync(`/proc/${pid}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      const cmdline = fs.readFileSync(`/proc/${pid}/cmdline`, 'utf8');
      const type = /--type=([\w-]+)/.exec(cmdline)?.[1] ?? 'browser';
      info.set(Number(pid), { ppid: Number(fields[1]), type, ticks: Number(fields[11]) + Number(fields[12]) });
    } catch {
      // gone meanwhile
    }
  }
  const mine = (pid) => {
    for (let p = pid; p > 1; p = info.get(p)?.ppid ?? 0) if (p === process.pid) return true;
    return false;
  };
  return [...info].filter(([pid]) => pid !== process.pid && mine(pid));
}

function ticksByType() {
  const sum = {};
  for (const [, p] of browserProcesses()) sum[p.type] = (sum[p.type] ?? 0) + p.ticks;
  return sum;
}

// The renderer's and the GPU process's CPU over `seconds`, as shares of one core.
async function cpuShares(seconds) {
  const before = ticksByType();
  const t0 = performance.now();
  await new Promise((resolve) => setTimeout(resolve, seconds * 1000));
  const after = ticksByType();
  const wall = (performance.now() - t0) / 1000;
  const share = (type) => (100 * ((after[type] ?? 0) - (before[type] ?? 0))) / TICKS_PER_SECOND / wall;
  return { renderer: share('renderer'), gpu: share('gpu-process'), browser: share('browser') };
}

const FLOOR_PAGE = `<!doctype html><body style="margin:0;background:#808080">
<div id="d" style="position:absolute;left:0;top:0;width:960px;height:720px;background:#c0ffc0"></div>
<script>
const d = document.getElementById('d');
const cells = [];
for (let i = 0; i < 30; ++i) {
  const c = document.createElement('div');
  c.style.cssText = 'position:absolute;width:14px;height:14px;border-radius:50%;border:1px solid #000;' +
    'left:' + ((i * 197) % 930) + 'px;top:' + ((i * 331) % 700) + 'px';
  d.append(c);
  cells.push(c);
}
const numbers = [];
for (let i = 0; i < NUMBERS; ++i) {
  const b = document.createElement('div');
  b.style.cssText = 'position:absolute;width:40px;height:24px;overflow:hidden;display:flex;align-items:center;' +
    'justify-content:center;background:#fff;font:16px sans-serif;left:' + (600 + i * 60) + 'px;top:' + (100 + i * 90) + 'px';
  d.append(b);
  numbers.push(b);
}
let n = 0;
const frame = () => {
  ++n;
  cells.forEach((c, i) => (c.style.background = (n + i) % 2 ? '#ff0000' : '#ffffff'));
  numbers.forEach((b, i) => (b.textContent = String((n * (i + 1)) % 256)));
  requestAnimationFrame(frame);
};
requestAnimationFrame(frame);
</script>`;
const POINTER = [640, 450]; // over the drawing, where a watching student's pointer rests

async function floorCost(browser, numbers) {
  const page = await browser.newPage({ viewport: { width: 1280, height: 900 } });
  await page.setContent(FLOOR_PAGE.replace('NUMBERS', String(numbers)));
  await page.mouse.move(...POINTER);
  await page.waitForTimeout(1000);
  const shares = await cpuShares(Number(seconds));
  await page.close();
  return shares.renderer + shares.gpu;
}

async function runProgram(page) {
  const el = (form, name) => page.locator(`section[data-form="${form}"] [data-name="${name}"]`);
  await page.keyboard.press('Enter');
  await el('DERAZO_Input', 'memory_text').waitFor({ state: 'visible' });
  for (const [address, bits] of PROGRAMS[program]) {
    await el('DERAZO_Input', 'memory_text').fill(String(address));
    for (let i = 1; i <= 8; ++i) await el('DERAZO_Input', `Input_Bit(${i})`).fill(bits[i - 1]);
    await el('DERAZO_Input', 'Command_Send_to_Memory').click();
  }
  await el('DERAZO_Input', 'Command_Execute_Program').click();
  await el('DERAZO_Input', 'exec_text').fill('0');
  await el('DERAZO_Input', 'Command_OK_For_Start_Location').click();
  await el('REXEC', 'Command_Options').click();
  await el('REXEC', 'automatic_radio').locator('input').click();
  await el('REXEC', 'time_scroll').fill(String(rate));
  await el('REXEC', 'Command_Options_Close').click();
  await el('REXEC', 'Command_Begin_Step').click();
}

async function openPage(browser, url) {
  const page = await browser.newPage({ viewport: { width: 1280, height: 900 } });
  await page.goto(url);
  await page.locator('section[data-form="Initial_Screen"].front').waitFor();
  return page;
}

const delivered = (page) => page.evaluate(() => [performance.now(), [...window.volpar.clocks.values()][0].delivered]);

// One run of the page: its CPU beyond nothing, the rate achieved, and where the time went.
async function pageCost(browser, url) {
  const page = await openPage(browser, url);
  await runProgram(page);
  if (panel === 'history') await page.keyboard.press('F2');
  await page.mouse.move(...POINTER);
  await page.waitForTimeout(1000);
  const cdp = await page.context().newCDPSession(page);
  await cdp.send('Performance.enable');
  const metrics = async () =>
    Object.fromEntries((await cdp.send('Performance.getMetrics')).metrics.map((m) => [m.name, m.value]));
  const m0 = await metrics();
  const [t0, n0] = await delivered(page);
  const before = ticksByType();
  await page.waitForTimeout(Number(seconds) * 1000);
  const after = ticksByType();
  const [t1, n1] = await delivered(page);
  const m1 = await metrics();
  await page.close();
  const spent = (k) => (m1[k] - m0[k]).toFixed(k.endsWith('Duration') ? 2 : 0);
  const wall = (t1 - t0) / 1000;
  const share = (type) => (100 * ((after[type] ?? 0) - (before[type] ?? 0))) / TICKS_PER_SECOND / wall;
  return {
    together: share('renderer') + share('gpu-process'),
    rate: (100 * (n1 - n0)) / wall / rate,
    detail:
      `renderer ${share('renderer').toFixed(1)} %, GPU ${share('gpu-process').toFixed(1)} %, ` +
      `browser ${share('browser').toFixed(1)} %; ${spent('LayoutCount')} layouts (${spent('LayoutDuration')} s), ` +
      `${spent('RecalcStyleCount')} style passes (${spent('RecalcStyleDuration')} s), script ${spent('ScriptDuration')} s`,
  };
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const pct = (v) => `${v.toFixed(1)} %`;

const server = await serve(path.resolve(process.env.VOLPAR_WEB_DIR ?? 'build-web'));
const browser = await launch();
try {
  const rounds = Number(process.env.ROUNDS ?? 3);
  const runs = [];
  console.log(
    `${program}${panel ? ` with the ${panel} panel` : ''} at ${rate} Hz, ${seconds} s a run, ${rounds} rounds`,
  );
  for (let r = 0; r < rounds; ++r) {
    const cells = await floorCost(browser, 0);
    const numbers = await floorCost(browser, 5);
    const page = await pageCost(browser, `http://127.0.0.1:${server.address().port}/`);
    runs.push({ cells, numbers, page });
    console.log(
      `round ${r + 1}: floor ${pct(cells)}, floor with numbers ${pct(numbers)}, page ${pct(page.together)} ` +
        `(rate ${page.rate.toFixed(2)} %; ${page.detail})`,
    );
  }
  const [cells, numbers, page] = ['cells', 'numbers', 'page'].map((k) =>
    median(runs.map((run) => (k === 'page' ? run.page.together : run[k]))),
  );
  console.log(
    `medians, renderer and GPU together, of a core: floor ${pct(cells)}, floor with numbers ${pct(numbers)}, page ${pct(page)}`,
  );
  console.log(`achieved rate: ${Math.min(...runs.map((run) => run.page.rate)).toFixed(2)} % at worst`);
  console.log(
    `the page's own: ${(page - cells).toFixed(1)} points above the floor, ${(page - numbers).toFixed(1)} above the floor with numbers`,
  );
} finally {
  await browser.close();
  server.close();
}
