// SPDX-License-Identifier: GPL-3.0-or-later
// "VOLPAR Phase" (F7, View > Phase Explained): the phase last performed, its transfer with
// the value that moved and what it does, read from the same table as the windows' window
// through the binding. It follows the machine, Step Back too; Escape in it closes it.
import { app, make, rules } from './state.js';
import { sidePanel } from './side_panel.js';
import { afterFlush } from './events.js';
import { addPageItem, addPageKey, hasMenus } from './page_menu.js';
import { mark, onLanguage, tr } from './texts.js';

let panel, lines;

function build() {
  lines = [make('p', { className: 'heading' }), make('p', { className: 'transfer' }), make('p')];
  const body = make('div', { className: 'body', tabIndex: 0 }, ...lines);
  panel = sidePanel({ id: 'phase-panel', title: rules.phaseTitle, closeLabel: mark('Close the phase'), hide }, body);
}

function refresh() {
  if (!panel || panel.hidden || !app.fe) return;
  const said = app.fe.phaseExplained();
  const texts = said ? said.split('\n') : [tr(rules.noPhaseHeading), '', tr(rules.noPhaseSentence)];
  texts.forEach((text, i) => {
    if (lines[i].textContent !== text) lines[i].textContent = text;
  });
}

// Opened beside the screen in front, which keeps the focus: the student steps on and the
// panel follows (the screen reader's news says each phase already).
export function showPhase() {
  if (!panel) build();
  panel.hidden = false;
  refresh();
}

function hide() {
  panel.hidden = true;
  app.frontForm?.applyFocus();
}

afterFlush(refresh);
onLanguage(refresh);
// After Program Text in the View menu, as in the windows.
export function hookPhase() {
  const { caption, key } = rules.showPhase;
  addPageItem({ on: hasMenus, menu: rules.viewMenu, caption, shortcut: key, run: showPhase });
  addPageKey(key, showPhase);
}
