// SPDX-License-Identifier: GPL-3.0-or-later
// "Show bit values" (F4): a 1 or 0 written inside every bit cell of both screens, so that a
// bit does not depend on telling colours apart, in black or white, whichever contrasts
// more with the cell's fill (the windows' rule). Off unless the user turned it on; the
// choice is kept in the browser.
import { app, rules } from './state.js';
import { afterFlush } from './events.js';
import { addPageItem, addPageKey, hasMenus } from './page_menu.js';
import { onThemeChange, themeOutlined } from './theme.js';

const STORAGE_KEY = 'volpar.showBitValues';

let shown = readChoice();
const cellForms = new Map(); // FormView → [{ view, one, mark }]
const looks = new Map(); // "fill one" → { text, color }

function readChoice() {
  try {
    return localStorage.getItem(STORAGE_KEY) === 'true';
  } catch {
    return false; // storage refused: the option starts off
  }
}

// High Contrast writes every bit: a cell's state is never its colour alone.
export function bitValuesShown() {
  return shown || themeOutlined();
}

export function toggleBitValues() {
  shown = !shown;
  try {
    localStorage.setItem(STORAGE_KEY, String(shown));
  } catch {
    // kept for this visit only
  }
  markAll();
}

function followForms() {
  for (const form of app.forms.values()) {
    if (cellForms.has(form)) continue;
    const parts = app.fe.accessibleParts(form.id);
    const cells = (parts?.bitCells ?? []).map(({ id, one }) => ({ view: app.views.get(id), one, mark: null }));
    cellForms.set(
      form,
      cells.filter((c) => c.view),
    );
  }
  for (const form of cellForms.keys()) if (!app.forms.has(form.id)) cellForms.delete(form);
}

function lookOf(fill, one) {
  const key = `${fill} ${one}`;
  let look = looks.get(key);
  if (!look) {
    look = { text: app.module.bitMark(fill, one), color: app.module.markColor(fill) };
    looks.set(key, look);
  }
  return look;
}

// Writes each cell's mark where its fill changed; the marks go when the option is off.
function markAll() {
  followForms();
  for (const cells of cellForms.values()) {
    for (const cell of cells) mark(cell);
  }
}

function mark(cell) {
  const fill = cell.view.last?.fill;
  if (!bitValuesShown() || fill === undefined) {
    cell.mark?.remove();
    cell.mark = null;
    return;
  }
  if (!cell.mark) {
    cell.mark = document.createElement('span');
    cell.mark.className = 'bit-mark';
    cell.mark.setAttribute('aria-hidden', 'true');
    const { width, height } = cell.view.last;
    cell.mark.style.fontSize = `${(Math.min(width, height) / rules.twipsPerPixel) * 0.8}px`;
    cell.view.node.append(cell.mark);
  }
  const look = lookOf(fill >>> 0, cell.one >>> 0);
  if (cell.mark.textContent !== look.text) cell.mark.textContent = look.text;
  if (cell.mark.style.color !== look.color) cell.mark.style.color = look.color;
}

afterFlush(() => {
  if (bitValuesShown()) markAll();
});
onThemeChange(markAll);

export function hookBitValues() {
  const { caption, key } = rules.showBitValues;
  const item = { caption, shortcut: key, run: toggleBitValues, checked: bitValuesShown };
  addPageItem({ on: hasMenus, menu: rules.viewMenu, ...item });
  addPageKey(key, toggleBitValues);
}
