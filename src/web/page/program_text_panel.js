// SPDX-License-Identifier: GPL-3.0-or-later
// "VOLPAR Program Text" (F6, View > Program Text): the program in memory as text, read by
// the same library as the windows' window through the binding. The problems are listed
// as the user types; Send to Memory writes the program as a program typed in; while memory
// holds what the text says, the text stays as written and the line under way is marked
// in the margin; when memory changes otherwise, the panel says so and offers the listing.
import { app, make, rules } from './state.js';
import { sidePanel } from './side_panel.js';
import { setCaption } from './captions.js';
import { afterFlush, deliver } from './events.js';
import { addPageItem, addPageKey, hasMenus } from './page_menu.js';
import { mark, onLanguage, tr } from './texts.js';

let panel, margin, editor, status, problems, send, listing;
let readAt = 0;
let later = null; // a read put off until readAt

function build() {
  margin = make('pre', { className: 'margin', ariaHidden: 'true' });
  editor = make('textarea', { spellcheck: false, wrap: 'off' });
  editor.addEventListener('input', () => refresh(true));
  editor.addEventListener('scroll', () => (margin.scrollTop = editor.scrollTop));
  status = make('p', { className: 'status' });
  status.setAttribute('aria-live', 'polite');
  problems = make('ul', { className: 'problems' });
  send = make('button', { type: 'button' });
  send.addEventListener('click', () => {
    deliver(() => app.fe.sendProgramText(editor.value));
    refresh(true);
  });
  listing = make('button', { type: 'button' });
  listing.addEventListener('click', showListing);
  onLanguage(writeWords);
  panel = sidePanel(
    { id: 'program-text', title: rules.programTextTitle, closeLabel: mark('Close the program text'), hide },
    make('div', { className: 'text' }, margin, editor),
    status,
    problems,
    make('footer', {}, send, listing),
  );
}

function writeWords() {
  editor.setAttribute('aria-label', tr('Program text'));
  problems.setAttribute('aria-label', tr('Problems'));
  setCaption(send, tr(rules.sendProgramText));
  setCaption(listing, tr(rules.showListing));
  if (!panel?.hidden) refresh(true);
}

function showListing() {
  editor.value = app.fe.memoryListing();
  refresh(true);
}

let problemLines = new Set();

// Listed below the text, and marked ✗ in the margin at their lines.
function showProblems() {
  const lines = app.module
    .programTextProblems(editor.value)
    .split('\n')
    .filter((l) => l);
  problems.replaceChildren(...lines.map((l) => make('li', { textContent: l })));
  problems.hidden = problems.childElementCount === 0;
  problemLines = new Set(app.module.programTextProblemLines(editor.value));
}

function drawMargin(running) {
  const count = editor.value.split('\n').length;
  const numbers = [];
  for (let n = 1; n <= count; n++) {
    numbers.push(`${n === running ? '▶' : problemLines.has(n) ? '✗' : ' '}${n}`);
  }
  margin.textContent = numbers.join('\n');
  margin.scrollTop = editor.scrollTop;
}

// The text is read again after every edit; memory and the machine at most ten times a
// second while the clock runs, since the state asks the library to read the text.
function refresh(edited = false) {
  if (!panel || panel.hidden) return;
  const now = performance.now();
  if (!edited && now < readAt) {
    later ??= setTimeout(() => {
      later = null;
      refresh();
    }, readAt - now);
    return;
  }
  readAt = now + rules.programTextRefreshMs;
  if (edited) showProblems();
  const link = app.fe.programTextState(editor.value);
  status.textContent = link.status;
  send.disabled = !link.sendable;
  listing.disabled = !link.listable;
  drawMargin(link.runningLine);
}

export function showProgramText() {
  if (!panel) build();
  const first = panel.hidden && editor.value === '';
  panel.hidden = false;
  if (first) showListing();
  refresh(true);
  editor.focus();
}

function hide() {
  panel.hidden = true;
  app.frontForm?.applyFocus();
}

afterFlush(() => refresh());

// On every window with menus, in the View menu after the machine state and the bit values,
// as in the windows.
export function hookProgramText() {
  const { caption, key } = rules.showProgramText;
  addPageItem({ on: hasMenus, menu: rules.viewMenu, caption, shortcut: key, run: showProgramText });
  addPageKey(key, showProgramText);
}
