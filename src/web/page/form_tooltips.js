// SPDX-License-Identifier: GPL-3.0-or-later
// The tooltips a form offers over parts of its drawing (the input screen's memory grid says
// what a row's byte is), asked of the program as the form is at that moment, as the
// desktop shows them: once the pointer has rested over such a part, at the pointer; at
// once for the next part while one is shown; gone when the pointer leaves the part, the
// drawing, or a button or key is pressed.
import { app } from './state.js';

const REST_MS = 700; // the desktop's wait before a tooltip
const OFFSET_PX = { x: 12, y: 18 }; // below and right of the pointer, clear of its arrow

let tip = null;
let keysHide = false;
let shown = null; // { form, area } of the tooltip shown
let resting = null; // the timer that waits for the pointer to rest

function tooltipNode() {
  if (!tip) {
    tip = document.createElement('div');
    tip.id = 'form-tooltip';
    tip.setAttribute('role', 'tooltip');
    tip.hidden = true;
    document.body.append(tip);
  }
  return tip;
}

// The pointer's place in the form, in twips, whatever the drawing's zoom.
function twipsAt(form, ev) {
  const box = form.client.getBoundingClientRect();
  return {
    x: Math.round(((ev.clientX - box.left) / box.width) * form.desc.width),
    y: Math.round(((ev.clientY - box.top) / box.height) * form.desc.height),
  };
}

const inside = (area, at) =>
  at.x >= area.left && at.x < area.left + area.width && at.y >= area.top && at.y < area.top + area.height;

function hide() {
  clearTimeout(resting);
  resting = null;
  shown = null;
  if (tip) tip.hidden = true;
}

function show(form, at, clientX, clientY) {
  const tooltip = app.modal || app.programEnded ? undefined : app.fe.tooltipAt(form.id, at.x, at.y);
  if (!tooltip) {
    hide();
    return;
  }
  const node = tooltipNode();
  node.textContent = tooltip.text;
  node.hidden = false;
  const left = Math.min(clientX + OFFSET_PX.x, window.innerWidth - node.offsetWidth - 2);
  const top =
    clientY + OFFSET_PX.y + node.offsetHeight > window.innerHeight
      ? clientY - node.offsetHeight - 4
      : clientY + OFFSET_PX.y;
  node.style.left = `${Math.max(0, left)}px`;
  node.style.top = `${Math.max(0, top)}px`;
  shown = { form, area: tooltip };
}

function onMove(form, ev) {
  const at = twipsAt(form, ev);
  if (shown) {
    if (shown.form === form && inside(shown.area, at)) return;
    show(form, at, ev.clientX, ev.clientY);
    return;
  }
  clearTimeout(resting);
  resting = setTimeout(() => show(form, at, ev.clientX, ev.clientY), REST_MS);
}

// Listens over the drawing of a form that offers tooltips.
export function addTooltips(form) {
  const { client } = form;
  client.addEventListener('mousemove', (ev) => onMove(form, ev));
  for (const type of ['mouseleave', 'mousedown', 'wheel']) client.addEventListener(type, hide);
  if (!keysHide) document.addEventListener('keydown', hide, { capture: true });
  keysHide = true;
}
