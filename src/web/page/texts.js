// SPDX-License-Identifier: GPL-3.0-or-later
// The page's own words in the language in use, looked up in the program's catalogs. Every
// text is written as tr('...') (or mark('...') where it is looked up later), so that the
// catalogs' template has it. A module that writes words registers, with onLanguage, how it
// writes them: that runs at once and again whenever the language changes.
import { app } from './state.js';

const redraws = [];

export const tr = (text) => (app.module ? app.module.tr(text) : text);

// One English word with two meanings: the context tells the translator which.
export const trc = (context, text) => (app.module ? app.module.trc(context, text) : text);

// The form for n ("%1 line" / "%1 lines"), with n filled in.
export function trn(one, many, n) {
  const pattern = app.module ? app.module.trn(one, many, n) : n === 1 ? one : many;
  return fill(pattern, n);
}

// Only marks a text for the catalogs: it is looked up where it is written (tr(text)).
export const mark = (text) => text;

// %1..%9 in a translated pattern, so that no value is ever glued to a translated piece.
export const fill = (pattern, ...args) => (app.module ? app.module.fill(pattern, args.map(String)) : pattern);

export function onLanguage(redraw) {
  redraws.push(redraw);
  redraw();
}

export function redrawTexts() {
  for (const redraw of redraws) redraw();
}
