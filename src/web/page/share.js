// SPDX-License-Identifier: GPL-3.0-or-later
// Share: a link that carries the program in memory in the part of the address after "#",
// which the browser never sends anywhere. The page opened with such a link opens the
// program; the program's binding makes the link and reads it.
import { app, $ } from './state.js';
import { deliver } from './events.js';
import { closedBox, openBox, whenClosed } from './boxes.js';
import { addPageItem } from './page_menu.js';
import { mark, tr } from './texts.js';

const sharebox = $('#sharebox');

// The link is copied where the browser allows it, and shown to be copied by hand.
function shareProgram() {
  const link = `${location.href.split('#')[0]}#${app.fe.programLink()}`;
  const field = sharebox.querySelector('input');
  const status = sharebox.querySelector('.status');
  field.value = link;
  status.textContent = '';
  openBox(sharebox);
  field.select();
  const copied = navigator.clipboard?.writeText(link) ?? Promise.reject(new Error('no clipboard'));
  copied.then(
    () => (status.textContent = tr('The link is copied to the clipboard.')),
    () => (status.textContent = tr('Copy the link from the box above (Ctrl+C).')),
  );
}

// Once the screens stand, and when a link is pasted into the address of the open page. The
// address then names the page alone: it never shows a program
// that memory may no longer hold, and a reload starts afresh.
export function openLinkedProgram() {
  const fragment = location.hash.slice(1);
  if (!fragment || !deliver(() => app.fe.openLink(fragment))) return;
  history.replaceState(null, '', location.href.split('#')[0]);
}

export function hookShare() {
  whenClosed(sharebox, closedBox);
  window.addEventListener('hashchange', openLinkedProgram);
  const on = (form) => form.desc.holdsProgram;
  addPageItem({ on, menu: mark('&File'), caption: mark('Copy Share &Link'), run: shareProgram });
}
