// SPDX-License-Identifier: GPL-3.0-or-later
// View > Language: the language the program and the page speak. System follows the
// browser's languages (the first one a catalog has, else English); the choice is kept in
// the browser, and ?lang=CODE in the address chooses one for this visit. A change redraws
// every window and the page's own words at once.
import { app, rules } from './state.js';
import { deliver } from './events.js';
import { addPageItem, hasMenus } from './page_menu.js';
import { fill, redrawTexts, tr } from './texts.js';

const KEY = 'volpar.language';
let choice = 'system';

function read() {
  try {
    return localStorage.getItem(KEY);
  } catch {
    return null; // storage refused: the system's language
  }
}

function keep(value) {
  try {
    localStorage.setItem(KEY, value);
  } catch {
    // kept for this visit only
  }
}

function systemLanguage() {
  for (const locale of navigator.languages ?? [navigator.language]) {
    const code = app.module.matchLanguage(String(locale).replace(/-/g, '_'));
    if (code) return code;
  }
  return 'en';
}

// The catalog's code that a choice stands for now.
export function languageOf(chosen) {
  return chosen === 'system' ? systemLanguage() : chosen;
}

function apply() {
  const code = languageOf(choice);
  if (app.fe) deliver(() => app.fe.setLanguage(code));
  document.documentElement.lang = code === 'x-pseudo' ? 'en' : code.replace(/_/g, '-');
  redrawTexts();
}

export function chooseLanguage(chosen) {
  choice = chosen;
  keep(choice);
  apply();
}

// Once the program is made, before it starts: the language from the address, the choice kept, or the system's.
export function startLanguage() {
  const asked = new URLSearchParams(location.search).get('lang');
  const known = (code) => code === 'system' || app.module.matchLanguage(code) === code || code === 'x-pseudo';
  choice = [asked, read()].find((code) => code && known(code)) ?? 'system';
  apply();
}

// System follows the browser's languages as they change.
addEventListener('languagechange', () => {
  if (choice === 'system') apply();
});

export function hookLanguage() {
  const items = [['system', () => tr('Language: &System')]];
  for (const { code, name } of app.module.languages()) {
    // TRANSLATORS: %1 is a language's name in that language, e.g. "Deutsch".
    items.push([code, () => fill(tr('Language: %1'), name)]);
  }
  for (const [code, caption] of items) {
    const run = () => chooseLanguage(code);
    addPageItem({ on: hasMenus, menu: rules.viewMenu, caption, run, checked: () => choice === code });
  }
}
