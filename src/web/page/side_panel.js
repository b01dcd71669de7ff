// SPDX-License-Identifier: GPL-3.0-or-later
// A panel of the page's own beside the screens (the program text, the phase): a title and
// a close button over its parts; Escape closes it, Alt and a button's underlined letter
// presses that button, and its keys stay its own. The title and the close button's name are
// given in English and shown in the language in use.
import { make } from './state.js';
import { accessKeyOf } from './captions.js';
import { onLanguage, tr } from './texts.js';

export function sidePanel({ id, title, closeLabel, hide }, ...parts) {
  const close = make('button', { type: 'button', textContent: '×' });
  close.addEventListener('click', hide);
  const heading = make('span');
  const panel = make('aside', { id, hidden: true }, make('header', {}, heading, close), ...parts);
  onLanguage(() => {
    close.setAttribute('aria-label', tr(closeLabel));
    heading.textContent = tr(title);
    panel.setAttribute('aria-label', tr(title));
  });
  panel.addEventListener('keydown', (ev) => {
    ev.stopPropagation(); // the screens behind do not take the panel's keys
    if (ev.key === 'Escape') hide();
    else if (ev.altKey && !ev.ctrlKey) pressAccessKey(panel, ev);
  });
  document.body.append(panel);
  return panel;
}

function pressAccessKey(panel, ev) {
  const key = ev.code.startsWith('Key') ? ev.code.slice(3).toLowerCase() : ev.key.toLowerCase();
  const button = [...panel.querySelectorAll('button')].find(
    (b) => b.volparCaption && accessKeyOf(b.volparCaption) === key,
  );
  if (!button) return;
  ev.preventDefault();
  if (!button.disabled) button.click();
}
