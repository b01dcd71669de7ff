// SPDX-License-Identifier: GPL-3.0-or-later
// The help beside the screens, from the keyboard as the windows' help window is: it takes
// the focus when it opens (its Close button, from which Tab goes on into the text), and
// Escape, in the panel or in its text, closes it and gives the focus back to the screen.
// Its text is drawn in the theme in force.
import { $ } from './state.js';
import { onThemeChange, themeDocument } from './theme.js';

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
const frame = help.querySelector('iframe');
frame.addEventListener('load', () => {
  frame.contentDocument?.addEventListener('keydown', closeOnEscape);
  themeDocument(frame.contentDocument);
});
onThemeChange(() => themeDocument(frame.contentDocument));
