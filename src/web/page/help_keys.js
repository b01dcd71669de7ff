// SPDX-License-Identifier: GPL-3.0-or-later
// The help beside the screens, from the keyboard as the windows' help window is: it takes
// the focus when it opens (its Close button, from which Tab goes on into the text), and
// Escape, in the panel or in its text, closes it and gives the focus back to the screen.
import { $ } from './state.js';

const help = $('#help');
const close = $('#help-close');

function closeOnEscape(ev) {
  if (ev.key !== 'Escape') return;
  ev.preventDefault();
  close.click();
}

new MutationObserver(() => {
  if (!help.hidden) close.focus();
}).observe(help, { attributes: true, attributeFilter: ['hidden'] });
help.addEventListener('keydown', closeOnEscape);
help.querySelector('iframe').addEventListener('load', (ev) => {
  ev.target.contentDocument?.addEventListener('keydown', closeOnEscape);
});
