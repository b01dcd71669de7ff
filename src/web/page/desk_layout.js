// SPDX-License-Identifier: GPL-3.0-or-later
// Where the windows stand on the desk and the scale each is drawn at. The two screens whose
// form says where it stands beside the other (its description's sideBySide: 0 left, 1 right)
// stand side by side when the tab is wide enough for both at their drawn size or larger;
// else one stands at a time and the tabs choose it. A screen is never drawn smaller than it would be at 100 % zoom in the same
// window, so that zooming in enlarges it; its window scrolls where it no longer fits.
import { app, $, rules } from './state.js';
import { browserZoom, watchZoom } from './zoom.js';
import { addPageKey } from './page_menu.js';

const desk = $('#desk');
// Side by side only where each is drawn at least at its own size: captions of 8 points
// at 11 CSS pixels, as the windows draw them on a common screen.
const MIN_SIDE_BY_SIDE_SCALE = 1;
const GAP = 4; // CSS pixels of desk between the two

let bringToFront = () => {}; // handed in at start: the desk brings a window forward
let standing = null; // the pair while it stands side by side
let arranged = null;
const chromeOf = new WeakMap(); // form → the height of its title and menu bar, as last shown

function fitScale(form, width, height) {
  const k = rules.twipsPerPixel;
  return Math.min((width * k) / form.desc.width, (height * k) / form.desc.height);
}

const zoomedIn = () => browserZoom() > 1.01;

const side = (form) => form.desc.sideBySide;

// The two screens when both are shown and one of them is in front, left one first.
function pairInView() {
  if (!app.frontForm || side(app.frontForm) < 0) return null;
  const pair = [null, null];
  for (const form of app.forms.values()) if (form.visible && side(form) >= 0) pair[side(form)] = form;
  return pair[0] && pair[1] ? pair : null;
}

// A window not shown yet is taken to have the title and menu bar of the one in front.
function chromeHeight(form) {
  return chromeOf.get(form) ?? chromeOf.get(app.frontForm) ?? 0;
}

// Each screen's scale side by side in a desk of this size, each as wide as its drawing.
function pairScales(pair, width, height) {
  const total = pair[0].desc.width + pair[1].desc.width;
  const share = (f) => ((width - GAP) * f.desc.width) / total;
  return pair.map((f) => fitScale(f, share(f), height - chromeHeight(f)));
}

function fitsSideBySide(pair, width, height) {
  return pairScales(pair, width, height).every((scale) => scale >= MIN_SIDE_BY_SIDE_SCALE);
}

// The scale the form would have at 100 % zoom in this window; 0 when not zoomed in.
function unzoomedScale(form) {
  if (!zoomedIn()) return 0;
  const zoom = browserZoom();
  const width = desk.clientWidth + window.innerWidth * (zoom - 1);
  const height = desk.clientHeight + window.innerHeight * (zoom - 1);
  const pair = pairInView();
  if (pair?.includes(form) && fitsSideBySide(pair, width, height)) return pairScales(pair, width, height)[side(form)];
  return fitScale(form, width, height - chromeHeight(form));
}

// The scale for a shown window whose drawing area measures `box`: it fills the area, or more.
export function scaleFor(form, box) {
  chromeOf.set(form, form.node.offsetHeight - form.viewport.offsetHeight);
  return Math.max(0.25, fitScale(form, box.width - 1, box.height - 1), unzoomedScale(form));
}

// Stands the pair side by side or not, when the tabs change and at every resize.
export function arrangeDesk(resized = false) {
  const pair = pairInView();
  if (!resized && pair?.[0] === arranged?.[0] && pair?.[1] === arranged?.[1]) return;
  arranged = pair;
  const beside = Boolean(pair) && !zoomedIn() && fitsSideBySide(pair, desk.clientWidth, desk.clientHeight);
  standing = beside ? pair : null;
  desk.classList.toggle('side-by-side', beside);
  desk.style.gap = beside ? `${GAP}px` : '';
  for (const form of app.forms.values()) {
    const at = beside ? pair.indexOf(form) : -1;
    form.node.classList.toggle('beside', at >= 0);
    form.node.style.order = at >= 0 ? String(at) : '';
    form.node.style.flexGrow = at >= 0 ? String(form.desc.width) : '';
  }
}

// A press in the screen beside the one in front brings it to the front, as a window comes
// forward: the focus goes where the form keeps it, unless the press is on a control.
function frontOnPress(ev) {
  const form = standing?.find((f) => f !== app.frontForm && f.node.contains(ev.target));
  if (!form || app.modal) return;
  bringToFront(form);
  if (!ev.target.closest('input, button, textarea')) ev.preventDefault();
}

// Scrolls the window just enough to show the node, as the focus moves to it.
export function reveal(form, node) {
  const port = form.viewport;
  const box = port.getBoundingClientRect();
  const r = node.getBoundingClientRect();
  const right = box.left + port.clientWidth;
  const bottom = box.top + port.clientHeight;
  const dx = r.left < box.left ? r.left - box.left : Math.max(0, Math.min(r.right - right, r.left - box.left));
  const dy = r.top < box.top ? r.top - box.top : Math.max(0, Math.min(r.bottom - bottom, r.top - box.top));
  const whole = (d) => Math.sign(d) * Math.ceil(Math.abs(d)); // scrolled by whole pixels
  if (dx || dy) port.scrollBy(whole(dx), whole(dy));
}

// The next screen shown comes to the front, as its tab brings it: the keyboard's way between
// the screens, side by side or one at a time.
function nextScreen() {
  const shown = [...app.forms.values()].filter((f) => f.visible);
  if (shown.length < 2) return;
  const next = shown[(shown.indexOf(app.frontForm) + 1) % shown.length];
  bringToFront(next);
  // A screen reader is told which screen came forward.
  const announcer = document.getElementById('announcer');
  if (announcer) announcer.textContent = next.caption;
}

export function hookDeskLayout(toFront) {
  bringToFront = toFront;
  desk.addEventListener('mousedown', frontOnPress, true);
  addPageKey('Ctrl+F6', nextScreen);
  watchZoom(() => arrangeDesk(true));
}
