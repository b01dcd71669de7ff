// SPDX-License-Identifier: GPL-3.0-or-later
// "Read machine state" (F3): a panel with the machine's whole state in plain text, the
// summary the windows' F3 shows, kept up to date while it is open.
import { app, rules } from './state.js';
import { addPageItem, addPageKey, hasMenus } from './page_menu.js';
import { afterAnnounce, announceNow } from './a11y_mirror.js';
import { onLanguage, tr } from './texts.js';

const panel = document.createElement('aside');
panel.id = 'machine-state';
panel.hidden = true;
const header = document.createElement('header');
const title = document.createElement('span');
const close = document.createElement('button');
close.type = 'button';
close.textContent = '×';
header.append(title, close);
// The text keeps a caret, so that the keys move through it line by line: a readonly
// textarea has none in Chromium, so it stays editable to the browser, says it is read-only,
// and refuses every edit.
const text = document.createElement('textarea');
text.spellcheck = false;
text.setAttribute('aria-readonly', 'true');
text.addEventListener('beforeinput', (ev) => ev.preventDefault());
// An edit that cannot be refused (an input method's) is undone.
text.addEventListener('input', () => {
  text.value = app.fe.machineSummary();
});
panel.append(header, text);
document.body.append(panel);

function refresh() {
  if (panel.hidden) return;
  const summary = app.fe.machineSummary();
  if (text.value === summary) return;
  const at = text.selectionStart;
  text.value = summary;
  text.setSelectionRange(at, at); // the reader stays where it was reading
}

export function showMachineState() {
  panel.hidden = false;
  announceNow();
  refresh();
  // Opened anew, it is read from its first line, as in the windows.
  text.setSelectionRange(0, 0);
  text.focus();
  text.scrollTop = 0;
}

function hide() {
  panel.hidden = true;
  app.frontForm?.applyFocus();
}

close.addEventListener('click', hide);
// Keys in the panel are the panel's: the screens behind it do not take them.
panel.addEventListener('keydown', (ev) => {
  ev.stopPropagation();
  if (ev.key === 'Escape') hide();
  if (ev.key === rules.readMachineState.key) {
    ev.preventDefault();
    text.focus();
  }
});
afterAnnounce(refresh);

export function hookMachineState() {
  onLanguage(() => {
    close.setAttribute('aria-label', tr('Close machine state'));
    text.setAttribute('aria-label', tr('Machine state'));
    panel.setAttribute('aria-label', tr(rules.machineStateTitle));
    title.textContent = tr(rules.machineStateTitle);
    refresh();
  });
  const { caption, key } = rules.readMachineState;
  addPageItem({ on: hasMenus, menu: rules.viewMenu, caption, shortcut: key, run: showMachineState });
  addPageKey(key, showMachineState);
}
