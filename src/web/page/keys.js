// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard, as the windows take it: menu shortcuts, access keys, the form's key
// handler, Enter and Tab; and the keys the page adds.
import { app } from './state.js';
import { deliver } from './events.js';
import { settleBoxes } from './boxes.js';

// Where a browser keeps a menu key for itself, these work too (told in the help).
export const ALTERNATIVE_KEYS = {
  'Ctrl+O': 'Ctrl+Alt+O',
  'Ctrl+S': 'Ctrl+Alt+S',
  'Ctrl+X': 'Ctrl+Alt+X',
  F1: 'Ctrl+Alt+H',
};

const pageKeys = new Map();

// A key the page offers on every window, e.g. addPageKey('F3', readState).
export function addPageKey(combo, run) {
  pageKeys.set(combo, run);
}

export function shortcutMatches(shortcut, combo) {
  return shortcut === combo || ALTERNATIVE_KEYS[shortcut] === combo;
}

export function keyCombo(ev) {
  let key = ev.key.length === 1 ? ev.key.toUpperCase() : ev.key;
  if (ev.code && ev.code.startsWith('Key')) key = ev.code.slice(3);
  const shift = ev.shiftKey && ev.key.length > 1 ? 'Shift+' : '';
  return (ev.ctrlKey ? 'Ctrl+' : '') + (ev.altKey ? 'Alt+' : '') + shift + key;
}

// The character a key gives, as the program's key handlers expect it; null for none.
function asciiOf(ev) {
  if (ev.ctrlKey || ev.altKey || ev.metaKey) return null;
  if (ev.key.length === 1) return ev.key.charCodeAt(0);
  return { Enter: 13, Escape: 27, Backspace: 8 }[ev.key] ?? null;
}

// Each handler takes the key (true) or lets the next one look at it.
const handlers = [menuShortcut, keyCommand, pageKey, helpKey, accessKey, formKeyPress, enterKey, tabKey];

export function onKeyDown(ev) {
  settleBoxes();
  if (app.programEnded || app.modal || !app.frontForm || ev.defaultPrevented) return;
  if (ev.target.closest?.('#help, .dropdown')) return;
  const combo = keyCombo(ev);
  for (const handler of handlers) {
    if (handler(app.frontForm, combo, ev)) return;
  }
}

function menuShortcut(form, combo, ev) {
  const item = form.shortcutItem(combo);
  if (!item) return false;
  ev.preventDefault();
  if (item.node.disabled || item.node.hidden) return true;
  if (item.run) item.run();
  else deliver(() => app.fe.click(item.id));
  return true;
}

// The keys the form offers beyond its elements (F2, Ctrl+Z on the execution screen), even
// where the focus is in one of its boxes.
function keyCommand(form, combo, ev) {
  const index = form.desc.keyCommands.indexOf(combo);
  if (index < 0) return false;
  ev.preventDefault();
  deliver(() => app.fe.keyCommand(form.id, index));
  return true;
}

function pageKey(form, combo, ev) {
  const run = pageKeys.get(combo);
  if (!run) return false;
  ev.preventDefault();
  run();
  return true;
}

function helpKey(form, combo, ev) {
  if (!form.desc.help || (combo !== 'F1' && combo !== ALTERNATIVE_KEYS.F1)) return false;
  ev.preventDefault();
  deliver(() => app.fe.help(form.id));
  return true;
}

function accessKey(form, combo, ev) {
  if (!ev.altKey || ev.ctrlKey || ev.key.length !== 1) return false;
  const key = ev.key.toLowerCase();
  const menu = form.menus.find((m) => m.accessKey === key && !m.title.disabled && !m.node.hidden);
  if (menu) {
    ev.preventDefault();
    menu.toggleMenu();
    return true;
  }
  const targets = form.accessTargets(key);
  if (!targets.length) return false;
  ev.preventDefault();
  if (targets.length > 1) {
    // As on the desktop: a key that two usable elements share moves the focus between them.
    const at = targets.findIndex((v) => v.control === document.activeElement);
    targets[(at + 1) % targets.length].control?.focus();
    return true;
  }
  const [target] = targets;
  target.control?.focus();
  if (target.kind !== 'text' && target.kind !== 'scroll') deliver(() => app.fe.click(target.id));
  return true;
}

function formKeyPress(form, combo, ev) {
  if (!form.desc.keyPress) return false;
  const ascii = asciiOf(ev);
  if (ascii === null) return false;
  ev.preventDefault();
  deliver(() => app.fe.keyPress(form.id, ascii));
  return true;
}

function enterKey(form, combo, ev) {
  if (ev.key !== 'Enter' || ev.ctrlKey || ev.altKey || ev.target.tagName === 'TEXTAREA') return false;
  if (form.pressReturn(ev.target)) ev.preventDefault();
  return true;
}

function tabKey(form, combo, ev) {
  if (ev.key !== 'Tab' || ev.ctrlKey || ev.altKey) return false;
  ev.preventDefault();
  form.tab(ev.shiftKey);
  return true;
}
