// SPDX-License-Identifier: GPL-3.0-or-later
// The execution history beside the screens, read from the program's own history as the
// desktop's window reads it: the same lines, Step Back (also Ctrl+Z here), a click on a
// line goes back to it, Ctrl+Home and Ctrl+End go to the first and the last line.
//
// A run keeps up to 100,000 phases, so only the lines in view exist in the page: every
// line is one row high but the end line, which comes last and wraps. The panel reads the
// history after each flush only while it is open and only when its revision changed, so
// that a closed panel or an idle program costs nothing; at once after a user's action, and
// while the clock runs at most every rules.historyRefreshMs, as the desktop's window does.
// Its title, hint, Step Back caption and keys are the windows' own (rules).
import { app, make, rules } from './state.js';
import { afterEachEvent, afterFlush, deliver } from './events.js';
import { accessKeyOf, setCaption } from './captions.js';
import { keyCombo, shortcutMatches } from './keys.js';
import { onLanguage, tr } from './texts.js';

const ROW_PX = 18;
const SPARE_ROWS = 4; // drawn above and below the view, so that scrolling shows no gap

let panel, list, sizer, rows, endLine, stepBack;
let shownRevision = NaN;
let count = 0;
let hasEnd = false;
let current = -1; // the line the keys move, as a list's current row
let userAction = false; // since the last read: read at once
let readAfter = 0; // while only the clock acts, the next read is due then
let later = null;
const pool = [];

// The lines: a sizer as tall as the rows would be, the rows in view over it, the end line.
function makeList(heading) {
  sizer = make('div', { className: 'sizer' });
  rows = make('div', { className: 'rows' });
  endLine = make('div', { className: 'history-line end', hidden: true });
  list = make('div', { className: 'history-lines', tabIndex: 0 }, sizer, rows, endLine);
  list.style.setProperty('--row', `${ROW_PX}px`);
  list.setAttribute('role', 'listbox');
  list.setAttribute('aria-labelledby', heading.id);
  list.setAttribute('aria-describedby', 'history-hint');
  list.addEventListener('scroll', drawRows);
  list.addEventListener('click', onLineClick);
  return list;
}

function makeButtons() {
  const close = make('button', { type: 'button', className: 'close', textContent: '×' });
  close.addEventListener('click', closeHistory);
  stepBack = make('button', { type: 'button', className: 'step-back' });
  stepBack.addEventListener('click', stepBackOnce);
  return close;
}

function build() {
  const heading = make('h2', { id: 'history-title' });
  const close = makeButtons();
  const hint = make('p', { id: 'history-hint', className: 'hint' });
  onLanguage(() => {
    heading.textContent = tr(rules.historyTitle);
    hint.textContent = tr(rules.historyHint);
    close.setAttribute('aria-label', tr('Close the history'));
    setCaption(stepBack, tr(rules.historyStepBack));
  });
  panel = make(
    'aside',
    { id: 'history', hidden: true },
    make('header', {}, heading, close),
    makeList(heading),
    make('footer', {}, hint, stepBack),
  );
  panel.setAttribute('aria-labelledby', heading.id);
  panel.addEventListener('keydown', onKeyDown);
  // Before the end's notice, which covers the panel with everything else.
  document.querySelector('#ended').before(panel);
}

export function installHistoryPanel() {
  build();
  afterEachEvent((tick) => {
    if (!tick) userAction = true;
  });
  afterFlush(refresh);
}

// Opened by the program (F2, Help > Execution History) inside an event: the flush after
// it reads the history.
export function openHistory() {
  panel.hidden = false;
  document.body.classList.add('history-open');
  shownRevision = NaN;
  list.focus({ preventScroll: true });
}

function closeHistory() {
  panel.hidden = true;
  document.body.classList.remove('history-open');
  app.frontForm?.applyFocus();
}

// At once after a user's action. While only the clock acts, at most ten times a second and
// between frames, where the screens' layout is done and reading the list's costs nothing.
// A message box raised by a handler draws the screens before the handler has finished,
// perhaps in the middle of a phase: the history is read once it has.
function refresh() {
  if (panel.hidden || app.programEnded || app.currentEvent) return;
  if (userAction) {
    readNow();
    return;
  }
  later ??= setTimeout(readLater, Math.max(0, readAfter - performance.now()));
}

function readLater() {
  later = null;
  if (!panel.hidden && !app.programEnded) readNow();
}

function readNow() {
  userAction = false;
  readAfter = performance.now() + rules.historyRefreshMs;
  read();
}

function read() {
  const { fe } = app;
  // Counting first lets a new start clear the history.
  const lines = fe.historyLineCount();
  const revision = fe.historyRevision();
  if (revision === shownRevision) return;
  shownRevision = revision;
  count = lines;
  hasEnd = count > 0 && fe.historyIsEndLine(count - 1);
  if (current >= count) current = count - 1;
  stepBack.disabled = !fe.historyCanStepBack();
  sizer.style.height = `${rowCount() * ROW_PX}px`;
  endLine.hidden = !hasEnd;
  if (hasEnd) {
    endLine.textContent = fe.historyLine(count - 1);
    markLine(endLine, count - 1);
  }
  list.scrollTop = list.scrollHeight; // the newest line in view
  drawRows();
}

// The lines drawn row by row: all but the end line.
function rowCount() {
  return hasEnd ? count - 1 : count;
}

function markLine(node, index) {
  node.id = `history-line-${index}`;
  node.dataset.line = index;
  node.setAttribute('role', 'option');
  node.setAttribute('aria-posinset', index + 1);
  node.setAttribute('aria-setsize', count);
  node.setAttribute('aria-selected', index === current);
  node.classList.toggle('current', index === current);
}

// Only the rows in view (and a few more) exist; nodes are reused as the view moves.
function drawRows() {
  const first = Math.max(0, Math.floor(list.scrollTop / ROW_PX) - SPARE_ROWS);
  const last = Math.min(rowCount(), Math.ceil((list.scrollTop + list.clientHeight) / ROW_PX) + SPARE_ROWS);
  const wanted = Math.max(0, last - first);
  while (pool.length < wanted) {
    const node = make('div', { className: 'history-line' });
    pool.push(node);
    rows.append(node);
  }
  pool.forEach((node, k) => {
    node.hidden = k >= wanted;
    if (node.hidden) return;
    const index = first + k;
    const text = app.fe.historyLine(index);
    if (node.textContent !== text) node.textContent = text;
    node.style.top = `${index * ROW_PX}px`;
    markLine(node, index);
  });
  if (current >= 0) list.setAttribute('aria-activedescendant', `history-line-${current}`);
  else list.removeAttribute('aria-activedescendant');
}

function onLineClick(ev) {
  const line = ev.target.closest('.history-line');
  if (!line) return;
  current = Number(line.dataset.line);
  goBackTo(current);
}

function goBackTo(line) {
  deliver(() => app.fe.historyGoBackTo(line));
}

function stepBackOnce() {
  deliver(() => app.fe.historyStepBack());
}

// The current line moves as in any list; Enter goes back to it.
function moveCurrent(to) {
  if (!count) return;
  current = Math.max(0, Math.min(count - 1, to));
  const top = current * ROW_PX;
  if (current === count - 1 && hasEnd) list.scrollTop = list.scrollHeight;
  else if (top < list.scrollTop) list.scrollTop = top;
  else if (top + ROW_PX > list.scrollTop + list.clientHeight) list.scrollTop = top + ROW_PX - list.clientHeight;
  drawRows();
  if (hasEnd) markLine(endLine, count - 1);
}

// The keys of any list; the first and last line's keys of the windows' own come with them.
const PAGE_KEYS = {
  Home: () => moveCurrent(0),
  End: () => moveCurrent(count - 1),
  ArrowUp: () => moveCurrent(current - 1),
  ArrowDown: () => moveCurrent(current + 1),
  PageUp: () => moveCurrent(current - Math.floor(list.clientHeight / ROW_PX)),
  PageDown: () => moveCurrent(current + Math.floor(list.clientHeight / ROW_PX)),
  Enter: () => current >= 0 && goBackTo(current),
  ' ': () => current >= 0 && goBackTo(current),
};

function listKey(ev) {
  const combo = keyCombo(ev);
  if (combo === rules.historyFirstLineKey) return () => moveCurrent(0);
  if (combo === rules.historyLastLineKey) return () => moveCurrent(count - 1);
  return PAGE_KEYS[(ev.ctrlKey && !ev.altKey ? 'Ctrl+' : '') + ev.key];
}

// The panel's keys are its own: none reaches the screens behind it.
function onKeyDown(ev) {
  ev.stopPropagation();
  if (shortcutMatches(rules.historyStepBackKey, keyCombo(ev))) {
    ev.preventDefault();
    stepBackOnce();
  } else if (keyCombo(ev) === `Alt+${accessKeyOf(rules.historyStepBack).toUpperCase()}`) {
    ev.preventDefault();
    if (!stepBack.disabled) stepBackOnce();
  } else if (ev.key === 'Escape') {
    closeHistory();
  } else if (ev.target === list) {
    const run = listKey(ev);
    if (run) {
      ev.preventDefault();
      run();
    }
  }
}
