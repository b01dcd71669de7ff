// SPDX-License-Identifier: GPL-3.0-or-later
// View > Theme: the screens' colours from the program's table of themes, set as custom
// properties (--vp-NAME, and --sys-NAME for the system colours) that every drawn element
// takes its colours from, so that a change repaints at once without touching an element.
// System follows the browser's prefers-color-scheme and prefers-contrast; the choice is
// kept in the browser. The operating system's own high contrast (forced-colors) is
// honoured by the style sheet with system colours.
import { app } from './state.js';
import { addPageItem } from './page_menu.js';

const CHOICE_KEY = 'volpar.theme';
const SAFE_KEY = 'volpar.colourBlind';
const SYSTEM_NAMES = [
  'window',
  'base',
  'text',
  'highlight',
  'highlighted-text',
  'button',
  'dark',
  'button-text',
  'light',
];
const prefersDark = matchMedia('(prefers-color-scheme: dark)');
const prefersContrast = matchMedia('(prefers-contrast: more)');
const forcedColors = matchMedia('(forced-colors: active)');
const listeners = [];
let choice = read(CHOICE_KEY) ?? 'system';
let colourBlind = read(SAFE_KEY) === 'true';
let outlined = false;
let sheet = null;

function read(key) {
  try {
    return localStorage.getItem(key);
  } catch {
    return null; // storage refused: the defaults
  }
}

function keep(key, value) {
  try {
    localStorage.setItem(key, value);
  } catch {
    // kept for this visit only
  }
}

// High Contrast, and the system's forced colours, outline every cell and write its bit.
export function themeOutlined() {
  return outlined;
}

export function onThemeChange(changed) {
  listeners.push(changed);
}

export function themeChoice() {
  return { choice, colourBlind };
}

export function applyTheme() {
  const look = app.module.themeLook(choice, colourBlind, prefersDark.matches, prefersContrast.matches);
  const lines = Object.entries(look.properties).map(([name, value]) => `${name}: ${value};`);
  for (const name of SYSTEM_NAMES) lines.push(`--sys-${name}: var(--vp-${name});`);
  sheet ??= document.head.appendChild(document.createElement('style'));
  sheet.id = 'theme';
  sheet.textContent = `:root { ${lines.join(' ')} color-scheme: ${look.dark ? 'dark' : 'light'}; }`;
  outlined = look.outlined || forcedColors.matches;
  document.documentElement.dataset.theme = look.dark ? 'dark' : 'light';
  document.documentElement.classList.toggle('outlined', outlined);
  for (const changed of listeners) changed();
}

export function chooseTheme(name, safe = colourBlind) {
  choice = name;
  colourBlind = safe;
  keep(CHOICE_KEY, choice);
  keep(SAFE_KEY, String(colourBlind));
  applyTheme();
}

for (const query of [prefersDark, prefersContrast, forcedColors]) {
  query.addEventListener('change', () => {
    if (app.module) applyTheme();
  });
}

const ITEMS = [
  ['system', 'Theme: &System'],
  ['light', 'Theme: &Light'],
  ['dark', 'Theme: &Dark'],
  ['high-contrast', 'Theme: &High Contrast'],
];
for (const [name, caption] of ITEMS) {
  const run = () => chooseTheme(name);
  addPageItem({ form: 'DERAZO_Input', menu: '&View', caption, run, checked: () => choice === name });
}
addPageItem({
  form: 'DERAZO_Input',
  menu: '&View',
  caption: '&Colour-blind safe',
  run: () => chooseTheme(choice, !colourBlind),
  checked: () => colourBlind,
});
