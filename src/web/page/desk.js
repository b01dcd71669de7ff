// SPDX-License-Identifier: GPL-3.0-or-later
// The desk: the program's windows, which one is in front, and the tabs that bring one there.
import { app, $ } from './state.js';
import { fitBeforeDrawing, fitLabels } from './captions.js';
import { flushed } from './events.js';
import { FormView, focusLost } from './form_view.js';
import { arrangeDesk } from './desk_layout.js';

const desk = $('#desk');
const tabs = $('#tabs');

// Applies everything that changed since the last frame: only the changed elements. `anew`
// when a user acted since (not only a clock's tick).
export function flush(anew = true) {
  if (!app.fe || app.programEnded) return;
  fitBeforeDrawing();
  const changes = app.fe.takeChanges();
  for (const id of changes.destroyed) app.forms.get(id)?.destroy();
  for (const id of changes.created) app.forms.set(id, new FormView(id, desk));
  for (const id of changes.elements) app.views.get(id)?.sync();
  const touched = new Set();
  for (const [id, event] of changes.forms) {
    const form = app.forms.get(id);
    if (!form) continue;
    touched.add(form);
    if (event === 'front') bringToFront(form);
    if (event === 'hidden' && app.frontForm === form) app.frontForm = null;
  }
  for (const form of touched) form.syncState();
  if (!app.frontForm || !app.frontForm.visible) {
    const next = [...app.forms.values()].reverse().find((f) => f.visible);
    if (next) bringToFront(next);
  }
  // A control hidden with the focus (Close of a panel) leaves it to no one: the screen takes it.
  const lost = focusLost();
  for (const form of touched) if (form === app.frontForm) form.applyFocus();
  if (lost && !touched.has(app.frontForm)) app.frontForm?.applyFocus();
  updateTabs();
  fitLabels(anew);
  flushed();
}

export function bringToFront(form) {
  if (app.frontForm && app.frontForm !== form) app.frontForm.node.classList.remove('front');
  app.frontForm = form;
  form.syncState();
  form.node.classList.toggle('front', form.visible);
  form.fit();
  form.applyFocus();
  updateTabs();
  fitLabels(true);
}

// The tabs are made again only when a window came, went, was renamed or came to the front.
let tabsShown = '';
function updateTabs() {
  const visible = [...app.forms.values()].filter((f) => f.visible);
  const key = visible.map((f) => `${f.id}:${f.caption}:${f === app.frontForm}`).join('\n');
  if (key === tabsShown) return;
  tabsShown = key;
  tabs.replaceChildren(...visible.map(tabFor));
  for (const f of app.forms.values()) f.node.classList.toggle('front', f === app.frontForm && f.visible);
  arrangeDesk();
}

function tabFor(form) {
  const b = document.createElement('button');
  b.type = 'button';
  b.textContent = form.caption;
  b.className = form === app.frontForm ? 'front' : '';
  b.addEventListener('click', () => bringToFront(form));
  return b;
}

// After the program has ended only a line saying so is left.
export function showEnded() {
  app.programEnded = true;
  for (const clock of app.clocks.values()) clock.stop();
  desk.hidden = true;
  tabs.hidden = true;
  $('#help').hidden = true;
  $('#ended').hidden = false;
}
