// SPDX-License-Identifier: GPL-3.0-or-later
// View > Theme: the screens' colours from the program's table of themes, set as custom
// properties (--vp-NAME, and --sys-NAME for the system colours) that every drawn element
// takes its colours from; a change draws the elements again in the new colours.
// System follows the browser's prefers-color-scheme and prefers-contrast; the choice is
// kept in the browser. The operating system's own high contrast (forced-colors) is
// honoured by the style sheet with system colours.
import { app, rules } from './state.js';
import { themeValue } from './captions.js';
import { addPageItem, hasMenus } from './page_menu.js';
import { mark } from './texts.js';

const CHOICE_KEY = 'volpar.theme';
const SAFE_KEY = 'volpar.colourBlind';
const prefersDark = matchMedia('(prefers-color-scheme: dark)');
const prefersContrast = matchMedia('(prefers-contrast: more)');
const forcedColors = matchMedia('(forced-colors: active)');
const listeners = [];
let choice = read(CHOICE_KEY) ?? 'system';
let colourBlind = read(SAFE_KEY) === 'true';
let outlined = false;

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

// Set on the root itself, after the program's rules: --sys-NAME for each system colour the
// style sheet knows, --vp-NAME for the rest of the table.
export function applyTheme() {
  const look = app.module.themeLook(choice, colourBlind, prefersDark.matches, prefersContrast.matches);
  const root = document.documentElement;
  for (const [name, value] of Object.entries(look.properties)) root.style.setProperty(name, value);
  for (const name of Object.keys(rules.systemColors)) root.style.setProperty(`--sys-${name}`, `var(--vp-${name})`);
  root.style.colorScheme = look.dark ? 'dark' : 'light';
  outlined = look.outlined || forcedColors.matches;
  root.dataset.theme = look.dark ? 'dark' : 'light';
  root.classList.toggle('outlined', outlined);
  for (const changed of listeners) changed();
}

// The help's text is a document of its own: it takes the theme's ground, text and links
// from the root's properties (the browser's forced colours reach it by themselves).
export function themeDocument(doc) {
  if (!doc?.head) return;
  const root = document.documentElement;
  const value = (name) => themeValue(`--vp-${name}`);
  const style = doc.getElementById('vp-theme') ?? doc.head.appendChild(doc.createElement('style'));
  style.id = 'vp-theme';
  style.textContent =
    `:root { color-scheme: ${root.style.colorScheme}; background: ${value('base')}; color: ${value('text')} }\n` +
    `a { color: ${value('focus')} }`;
}

export function chooseTheme(name, safe = colourBlind) {
  choice = name;
  colourBlind = safe;
  keep(CHOICE_KEY, choice);
  keep(SAFE_KEY, String(colourBlind));
  applyTheme();
}

// View > Theme, on the screens with menus; System follows the browser as it changes.
export function hookTheme() {
  applyTheme();
  for (const query of [prefersDark, prefersContrast, forcedColors]) query.addEventListener('change', applyTheme);
  const items = [
    ['system', mark('Theme: &System')],
    ['light', mark('Theme: &Light')],
    ['dark', mark('Theme: &Dark')],
    ['high-contrast', mark('Theme: &High Contrast')],
  ];
  for (const [name, caption] of items) {
    const run = () => chooseTheme(name);
    addPageItem({ on: hasMenus, menu: rules.viewMenu, caption, run, checked: () => choice === name });
  }
  const run = () => chooseTheme(choice, !colourBlind);
  addPageItem({
    on: hasMenus,
    menu: rules.viewMenu,
    caption: mark('&Colour-blind safe'),
    run,
    checked: () => colourBlind,
  });
}
