// SPDX-License-Identifier: GPL-3.0-or-later
// A panel of the page's own beside the screens (the program text, the phase): a title and
// a close button over its parts; Escape closes it and its keys stay its own.
import { make } from './state.js';

export function sidePanel({ id, title, closeLabel, hide }, ...parts) {
  const close = make('button', { type: 'button', textContent: '×' });
  close.setAttribute('aria-label', closeLabel);
  close.addEventListener('click', hide);
  const panel = make(
    'aside',
    { id, hidden: true },
    make('header', {}, make('span', { textContent: title }), close),
    ...parts,
  );
  panel.setAttribute('aria-label', title);
  panel.addEventListener('keydown', (ev) => {
    ev.stopPropagation(); // the screens behind do not take the panel's keys
    if (ev.key === 'Escape') hide();
  });
  document.body.append(panel);
  return panel;
}
