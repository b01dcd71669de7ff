// SPDX-License-Identifier: GPL-3.0-or-later
// One window of the program: its title, menu bar and client area, drawn at one scale.
import { app } from './state.js';
import { css, fontFamily, fontSize, forgetColours, px } from './captions.js';
import { deliver } from './events.js';
import { ElementView, drawn } from './element_view.js';
import { MenuView, addPageItemsTo } from './menus.js';
import { shortcutMatches } from './keys.js';
import { reveal, scaleFor } from './desk_layout.js';
import { addTooltips } from './form_tooltips.js';
import { onLanguage, tr } from './texts.js';
import { onThemeChange } from './theme.js';

// The focus is with no one: on the page's body, or on a control just hidden or disabled
// (which the browser blurs at its next frame). Asked after every frame's drawing.
export function focusLost() {
  const held = document.activeElement;
  return !held || held === document.body || held.disabled || !drawn(held);
}

export class FormView {
  constructor(id, desk) {
    this.id = id;
    this.desc = app.fe.form(id);
    this.caption = '';
    this.visible = false;
    this.focused = 0;
    this.views = [];
    this.menuItems = []; // the items with a shortcut, the page's own too
    this.menus = []; // the menu titles, for their access keys
    this.build(desk);
  }

  build(desk) {
    const d = this.desc;
    this.node = document.createElement('section');
    this.node.className = 'window';
    this.node.dataset.form = d.name;
    this.menubar = document.createElement('nav');
    this.menubar.className = 'menubar';
    this.viewport = document.createElement('div');
    this.viewport.className = 'viewport';
    this.client = this.makeClient();
    this.drawGround();
    this.viewport.append(this.client);
    this.node.append(this.makeTitle(), this.menubar, this.viewport);
    this.buildElements();
    addPageItemsTo(this);
    this.menubar.hidden = !this.menus.length;
    this.hookEvents();
    if (d.tooltips) addTooltips(this);
    desk.append(this.node);
    new ResizeObserver(() => this.fit()).observe(this.viewport);
    this.syncState();
  }

  makeTitle() {
    const title = document.createElement('header');
    title.className = 'title';
    this.title = document.createElement('span');
    const close = document.createElement('button');
    close.type = 'button';
    close.textContent = '×';
    close.className = 'close';
    close.setAttribute('aria-label', tr('Close'));
    close.addEventListener('click', () => deliver(() => app.fe.close(this.id)));
    title.append(this.title, close);
    return title;
  }

  makeClient() {
    const d = this.desc;
    const client = document.createElement('div');
    client.className = 'client';
    client.style.width = px(d.width);
    client.style.height = px(d.height);
    client.style.fontFamily = fontFamily(d.font);
    client.style.fontSize = fontSize(d.font);
    return client;
  }

  buildElements() {
    const described = this.desc.elements.map((id) => app.fe.element(id));
    const make = (e) => (e.kind === 'menu' ? new MenuView(this, e) : new ElementView(this, e));
    // Frames may hold frames: every frame exists before anything is placed.
    for (const e of described) if (e.kind === 'frame') app.views.set(e.id, make(e));
    for (const e of described) {
      const view = app.views.get(e.id) ?? make(e);
      app.views.set(e.id, view);
      this.views.push(view);
      view.place(e);
      view.sync(e);
    }
  }

  // The client's ground, in the theme in force.
  drawGround() {
    this.client.style.backgroundColor = css(this.desc.back, 'var(--sys-window)');
  }

  hookEvents() {
    const onBackground = (ev) => ev.target === this.client;
    this.client.addEventListener('mousedown', (ev) => {
      if (ev.button === 0 && onBackground(ev) && this.desc.mouseDown) deliver(() => app.fe.mouseDown(this.id));
    });
    this.client.addEventListener('click', (ev) => {
      if (ev.button === 0 && onBackground(ev) && this.desc.click) deliver(() => app.fe.formClick(this.id));
    });
    this.client.addEventListener('focusin', (ev) => {
      const view = ev.target.volparView ?? ev.target.closest('.el')?.volparView;
      if (view && !app.applyingFocus && view.id !== this.focused) deliver(() => app.fe.focus(view.id));
    });
  }

  destroy() {
    for (const v of this.views) {
      app.views.delete(v.id);
      app.clocks.get(v.id)?.discard();
      app.clocks.delete(v.id);
    }
    this.node.remove();
    app.forms.delete(this.id);
    if (app.frontForm === this) app.frontForm = null;
  }

  syncState() {
    const s = app.fe.formState(this.id);
    if (!s) return;
    this.caption = s.caption;
    this.title.textContent = s.caption;
    this.visible = s.visible;
    this.focused = s.focused;
    if (!this.visible) this.node.classList.remove('front');
  }

  // The drawing fills the window at one scale: crisp, as the browser draws it again.
  fit() {
    const box = this.viewport.getBoundingClientRect();
    if (box.width <= 0 || box.height <= 0) return;
    this.client.style.zoom = String(scaleFor(this, box));
  }

  applyFocus(again = false) {
    if (app.frontForm !== this || app.modal) return;
    const view = app.views.get(this.focused);
    if (!view || !view.focusable()) {
      this.keepFocusIn(again);
      return;
    }
    // A control the user put the focus in keeps the selection the user made.
    if (document.activeElement === view.control) return;
    app.applyingFocus = true;
    try {
      view.control.focus({ preventScroll: true });
      reveal(this, view.control);
      view.syncSelection();
    } finally {
      app.applyingFocus = false;
    }
  }

  // A screen that came forward before its control was drawn tries again at the next frame;
  // then, rather than leave the focus to the browser (or on a control just hidden), its
  // first control takes it. A control of this screen that held the focus and can no
  // longer (Begin disabled as the clock runs) hands it on at once, before the browser
  // drops it to the page.
  keepFocusIn(again) {
    if (!again && !this.node.contains(document.activeElement)) requestAnimationFrame(() => this.applyFocus(true));
    else if (focusLost()) this.tabCycle()[0]?.control.focus({ preventScroll: true });
  }

  // Tab goes through the form's own order first, then through every other control.
  tabCycle() {
    const first = this.desc.tabOrder.map((id) => app.views.get(id)).filter(Boolean);
    const rest = this.views.filter((v) => v.control && !first.includes(v));
    return [...first, ...rest].filter((v) => v.focusable());
  }

  tab(backwards) {
    const cycle = this.tabCycle();
    if (!cycle.length) return;
    const at = cycle.findIndex((v) => v.control === document.activeElement);
    const next = at < 0 ? 0 : (at + (backwards ? cycle.length - 1 : 1)) % cycle.length;
    const view = cycle[next];
    view.control.focus();
    // A box reached by Tab takes its whole old value, as in the windows: a digit typed
    // then replaces it.
    if (view.kind === 'text' && view.control.value) {
      const length = view.control.value.length;
      view.control.select();
      deliver(() => app.fe.select(view.id, 0, length));
    }
  }

  shortcutItem(combo) {
    return this.menuItems.find((item) => item.shortcut && shortcutMatches(item.shortcut, combo));
  }

  accessTargets(key) {
    return this.views.filter((v) => v.accessKey === key && v.reachable());
  }

  // Enter presses the button the form names for the focused element.
  pressReturn(target) {
    const button = app.fe.enterButton(this.id, target.volparView?.id ?? 0);
    if (!button) return false;
    deliver(() => app.fe.click(button));
    return true;
  }
}

onLanguage(() => {
  for (const form of app.forms.values())
    form.node.querySelector('.title .close')?.setAttribute('aria-label', tr('Close'));
});

// A change of theme: every window's ground and every element drawn again in its colours.
onThemeChange(() => {
  forgetColours();
  for (const form of app.forms.values()) form.drawGround();
  for (const view of app.views.values()) view.redraw?.();
});
