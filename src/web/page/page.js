// SPDX-License-Identifier: GPL-3.0-or-later
// VOLPAR in the browser: draws every form of the program from its element model, and
// hands the user's clicks, keys and edits and the clock's ticks back to it. The program
// itself, with every rule of the machine, runs as WebAssembly; this page only shows it.
import createVolpar from './volpar.js';

const TWIPS_PER_PIXEL = 15;
const INHERIT = 0xffffffff;

// Where a browser keeps a menu key for itself, these work too (told in the help).
const ALTERNATIVE_KEYS = { 'Ctrl+O': 'Ctrl+Alt+O', 'Ctrl+S': 'Ctrl+Alt+S', 'Ctrl+X': 'Ctrl+Alt+X', F1: 'Ctrl+Alt+H' };

const $ = (selector) => document.querySelector(selector);
const desk = $('#desk');
const tabs = $('#tabs');

let module = null;
let fe = null;               // the program
const forms = new Map();     // form number → FormView
const views = new Map();     // element number → ElementView
const clocks = new Map();    // timer number → Clock
let frontForm = null;
let frameRequested = false;
let modal = 0;               // boxes open: nothing else happens meanwhile
let programEnded = false;
let currentEvent = null;     // the event being delivered, to deliver again after a file choice
let boxRaised = false;       // an information box came up during the current event
let applyingFocus = false;

// ---- helpers ------------------------------------------------------------------------------

// Colours, fonts and the captions' fitting follow the program's own tables and rules, as
// the windows do.
function css(colour, fallback = '') { return module.cssColor(colour >>> 0, fallback); }

function fontFamily(font) { return module.cssFontFamily(font.name, font.points); }

function fontSize(font, percent = 100) { return `${(module.fontPixels(font.points, 1) * percent) / 100}px`; }

function px(twips) { return `${twips / TWIPS_PER_PIXEL}px`; }

// A caption with "&" before its access key: the key comes back underlined, "&&" is "&".
function setCaption(node, caption) {
  if (node.volparCaption === caption) return;
  node.volparCaption = caption;
  node.replaceChildren();
  let text = '';
  for (let i = 0; i < caption.length; ++i) {
    if (caption[i] === '&' && i + 1 < caption.length) {
      ++i;
      if (caption[i] !== '&') {
        node.append(text);
        text = '';
        const u = document.createElement('u');
        u.textContent = caption[i];
        node.append(u);
        continue;
      }
    }
    text += caption[i];
  }
  node.append(text);
}

function accessKeyOf(caption) {
  const m = /&([^&])/.exec(caption.replace(/&&/g, ''));
  return m ? m[1].toLowerCase() : null;
}

function keyCombo(ev) {
  let key = ev.key.length === 1 ? ev.key.toUpperCase() : ev.key;
  if (ev.code && ev.code.startsWith('Key')) key = ev.code.slice(3);
  return (ev.ctrlKey ? 'Ctrl+' : '') + (ev.altKey ? 'Alt+' : '') + (ev.shiftKey && ev.key.length > 1 ? 'Shift+' : '') + key;
}

// The character a key gives, as the program's key handlers expect it; null for none.
function asciiOf(ev) {
  if (ev.ctrlKey || ev.altKey || ev.metaKey) return null;
  if (ev.key.length === 1) return ev.key.charCodeAt(0);
  return { Enter: 13, Escape: 27, Backspace: 8 }[ev.key] ?? null;
}

// ---- events -------------------------------------------------------------------------------

// One user action or tick, handed to the program. Nothing is delivered while a box is
// open or after the program has ended. What a user's action changed is drawn at once, so
// that the focus has moved on before the next key is read however fast keys come; a
// tick's changes wait for the next animation frame, which draws them all together.
function deliver(action, tick = false) {
  if (modal) return undefined;
  const outer = currentEvent;
  currentEvent = action;
  boxRaised = false;
  let result;
  try {
    result = action();
  } finally {
    currentEvent = outer;
  }
  afterEvent(tick);
  return result;
}

function afterEvent(tick) {
  const saved = fe.takeSaved();
  if (saved && !boxRaised) download(saved);
  if (fe.ended()) showEnded();
  for (const clock of clocks.values()) clock.sync();
  if (tick || modal) requestFrame();
  else flush();
}

function download(name) {
  let bytes;
  try {
    bytes = module.FS.readFile(name);
  } catch {
    return;  // the save failed, and said so
  }
  const url = URL.createObjectURL(new Blob([bytes], { type: 'text/plain' }));
  const a = document.createElement('a');
  a.href = url;
  a.download = name;
  document.body.append(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

// ---- drawing ------------------------------------------------------------------------------

function requestFrame() {
  if (frameRequested) return;
  frameRequested = true;
  requestAnimationFrame(() => {
    frameRequested = false;
    if (!modal) flush();
  });
}

// Applies everything that changed since the last frame: only the changed elements.
function flush() {
  if (!fe || programEnded) return;
  const changes = fe.takeChanges();
  for (const id of changes.destroyed) forms.get(id)?.destroy();
  for (const id of changes.created) forms.set(id, new FormView(id));
  for (const id of changes.elements) views.get(id)?.sync();
  const touched = new Set();
  for (const [id, event] of changes.forms) {
    const form = forms.get(id);
    if (!form) continue;
    touched.add(form);
    if (event === 'front') bringToFront(form);
    if (event === 'hidden' && frontForm === form) frontForm = null;
  }
  for (const form of touched) form.syncState();
  if (!frontForm || !frontForm.visible) {
    const next = [...forms.values()].reverse().find((f) => f.visible);
    if (next) bringToFront(next);
  }
  for (const form of touched) if (form === frontForm) form.applyFocus();
  updateTabs();
  fitLabels();
}

// A caption too long for its label is drawn a little smaller, in the steps the windows
// narrow theirs by. Measured once all changes are written, on the screen in front.
const toFit = new Set();
function fitLabels() {
  for (const view of toFit) {
    const n = view.node;
    if (view.form !== frontForm || !n.offsetParent) continue;  // measured once its screen is in front
    toFit.delete(view);
    const { font } = view.last;
    n.style.fontSize = fontSize(font, module.fitCaption((percent) => {
      n.style.fontSize = fontSize(font, percent);
      return n.scrollWidth <= n.clientWidth + 1 && n.scrollHeight <= n.clientHeight + 1;
    }));
  }
}

function bringToFront(form) {
  if (frontForm && frontForm !== form) frontForm.node.classList.remove('front');
  frontForm = form;
  form.syncState();
  form.node.classList.toggle('front', form.visible);
  form.fit();
  form.applyFocus();
  fitLabels();
}

function updateTabs() {
  const visible = [...forms.values()].filter((f) => f.visible);
  tabs.replaceChildren(...visible.map((f) => {
    const b = document.createElement('button');
    b.type = 'button';
    b.textContent = f.caption;
    b.className = f === frontForm ? 'front' : '';
    b.addEventListener('click', () => bringToFront(f));
    return b;
  }));
  for (const f of forms.values()) f.node.classList.toggle('front', f === frontForm && f.visible);
}

class FormView {
  constructor(id) {
    this.id = id;
    this.desc = fe.form(id);
    this.caption = '';
    this.visible = false;
    this.focused = 0;
    this.views = [];
    this.menuItems = [];
    this.build();
  }

  build() {
    const d = this.desc;
    this.node = document.createElement('section');
    this.node.className = 'window';
    this.node.dataset.form = d.name;
    const title = document.createElement('header');
    title.className = 'title';
    this.title = document.createElement('span');
    const close = document.createElement('button');
    close.type = 'button';
    close.textContent = '×';
    close.setAttribute('aria-label', 'Close');
    close.addEventListener('click', () => deliver(() => fe.close(this.id)));
    title.append(this.title, close);
    this.menubar = document.createElement('nav');
    this.menubar.className = 'menubar';
    const viewport = document.createElement('div');
    viewport.className = 'viewport';
    this.client = document.createElement('div');
    this.client.className = 'client';
    this.client.style.width = px(d.width);
    this.client.style.height = px(d.height);
    this.client.style.background = css(d.back, '#f0f0f0');
    this.client.style.fontFamily = fontFamily(d.font);
    this.client.style.fontSize = fontSize(d.font);
    viewport.append(this.client);
    this.node.append(title, this.menubar, viewport);
    this.viewport = viewport;

    const described = d.elements.map((id) => fe.element(id));
    // Frames may hold frames: every frame exists before anything is placed.
    for (const e of described) if (e.kind === 'frame') views.set(e.id, new ElementView(this, e));
    for (const e of described) {
      const view = views.get(e.id) ?? new ElementView(this, e);
      views.set(e.id, view);
      this.views.push(view);
      view.place(e);
      view.sync(e);
    }
    this.menubar.hidden = !this.views.some((v) => v.kind === 'menu');
    this.hookEvents();
    desk.append(this.node);
    new ResizeObserver(() => this.fit()).observe(viewport);
    this.syncState();
  }

  hookEvents() {
    const onBackground = (ev) => ev.target === this.client;
    this.client.addEventListener('mousedown', (ev) => {
      if (ev.button === 0 && onBackground(ev) && this.desc.mouseDown) deliver(() => fe.mouseDown(this.id));
    });
    this.client.addEventListener('click', (ev) => {
      if (ev.button === 0 && onBackground(ev) && this.desc.click) deliver(() => fe.formClick(this.id));
    });
    this.client.addEventListener('focusin', (ev) => {
      const view = ev.target.volparView ?? ev.target.closest('.el')?.volparView;
      if (view && !applyingFocus && view.id !== this.focused) deliver(() => fe.focus(view.id));
    });
  }

  destroy() {
    for (const v of this.views) {
      views.delete(v.id);
      clocks.get(v.id)?.stop();
      clocks.delete(v.id);
    }
    this.node.remove();
    forms.delete(this.id);
    if (frontForm === this) frontForm = null;
  }

  syncState() {
    const s = fe.formState(this.id);
    if (!s) return;
    this.caption = s.caption;
    this.title.textContent = s.caption;
    this.visible = s.visible;
    this.focused = s.focused;
    if (!this.visible) this.node.classList.remove('front');
  }

  // The drawing fills the window at one scale: crisp, as the browser draws it again.
  fit() {
    const w = this.desc.width / TWIPS_PER_PIXEL;
    const h = this.desc.height / TWIPS_PER_PIXEL;
    const box = this.viewport.getBoundingClientRect();
    if (box.width <= 0 || box.height <= 0) return;
    const scale = Math.max(0.25, Math.min(box.width / w, box.height / h));
    this.client.style.zoom = String(scale);
  }

  applyFocus() {
    if (frontForm !== this || modal) return;
    const view = views.get(this.focused);
    if (!view || !view.focusable()) return;
    // A control the user put the focus in keeps the selection the user made.
    if (document.activeElement === view.control) return;
    applyingFocus = true;
    try {
      view.control.focus({ preventScroll: true });
      view.syncSelection();
    } finally {
      applyingFocus = false;
    }
  }

  // Tab goes through the form's own order first, then through every other control.
  tabCycle() {
    const first = this.desc.tabOrder.map((id) => views.get(id)).filter(Boolean);
    const rest = this.views.filter((v) => v.control && !first.includes(v));
    return [...first, ...rest].filter((v) => v.focusable());
  }

  tab(backwards) {
    const cycle = this.tabCycle();
    if (!cycle.length) return;
    const at = cycle.findIndex((v) => v.control === document.activeElement);
    const next = at < 0 ? 0 : (at + (backwards ? cycle.length - 1 : 1)) % cycle.length;
    cycle[next].control.focus();
  }

  shortcutItem(combo) {
    return this.menuItems.find((v) => v.shortcut && (v.shortcut === combo || ALTERNATIVE_KEYS[v.shortcut] === combo));
  }

  accessTargets(key) {
    return this.views.filter((v) => v.accessKey === key && v.reachable());
  }

  // Enter presses the button the form names for the focused element.
  pressReturn(target) {
    const button = fe.enterButton(this.id, target.volparView?.id ?? 0);
    if (!button) return false;
    deliver(() => fe.click(button));
    return true;
  }
}

class ElementView {
  constructor(form, e) {
    this.form = form;
    this.id = e.id;
    this.kind = e.kind;
    this.node = null;
    this.control = null;
    this.accessKey = null;
    this.create(e);
    if (this.node) {
      this.node.dataset.name = e.name;
      this.node.volparView = this;
      if (!this.node.classList.contains('lines-item')) this.node.classList.add('el');
    }
    if (this.control) this.control.volparView = this;
  }

  create(e) {
    const make = (tag, cls) => {
      const n = document.createElement(tag);
      if (cls) n.className = cls;
      return n;
    };
    switch (e.kind) {
      case 'label':
        this.node = make('div', 'label');
        this.node.addEventListener('click', () => deliver(() => fe.click(this.id)));
        break;
      case 'shape':
        this.node = make('div', 'shape');
        break;
      case 'line':
        this.node = document.createElementNS('http://www.w3.org/2000/svg', 'line');
        this.node.classList.add('lines-item');
        break;
      case 'button':
        this.node = this.control = make('button', 'cmd');
        this.node.type = 'button';
        this.node.addEventListener('click', () => deliver(() => fe.click(this.id)));
        break;
      case 'text':
        this.node = this.control = make(e.multiLine ? 'textarea' : 'input', 'text');
        if (!e.multiLine) this.node.type = 'text';
        this.node.spellcheck = false;
        this.node.autocomplete = 'off';
        this.node.addEventListener('input', () => {
          const n = this.node;
          deliver(() => fe.type(this.id, n.value, n.selectionStart ?? n.value.length));
          this.sync();
        });
        this.node.addEventListener('mouseup', () => deliver(() => fe.click(this.id)));
        break;
      case 'option':
      case 'check': {
        this.node = make('label', 'choice');
        this.control = make('input');
        this.control.type = e.kind === 'option' ? 'radio' : 'checkbox';
        this.captionNode = make('span');
        this.node.append(this.control, this.captionNode);
        this.control.addEventListener('click', () => {
          deliver(() => fe.click(this.id));
          this.sync();
        });
        break;
      }
      case 'scroll':
        this.node = this.control = make('input', 'scroll');
        this.node.type = 'range';
        this.node.addEventListener('input', () => {
          deliver(() => fe.scroll(this.id, Number(this.node.value)));
          this.sync();
        });
        this.node.addEventListener('keydown', (ev) => {
          const d = fe.element(this.id);
          const steps = { ArrowLeft: -d.smallChange, ArrowDown: -d.smallChange, ArrowRight: d.smallChange,
            ArrowUp: d.smallChange, PageUp: -d.largeChange, PageDown: d.largeChange };
          const step = steps[ev.key];
          if (step === undefined) return;
          ev.preventDefault();
          deliver(() => fe.scroll(this.id, d.value + step));
          this.sync();
        });
        break;
      case 'frame':
        this.node = make('fieldset', 'frame');
        this.border = make('div', 'frame-border');
        this.captionNode = make('span', 'frame-caption');
        this.node.append(this.border, this.captionNode);
        break;
      case 'timer':
        clocks.set(this.id, new Clock(this.id));
        break;
      case 'menu':
        this.createMenu(e);
        break;
      default:
        break;
    }
  }

  createMenu(e) {
    if (e.container === 0) {
      this.node = document.createElement('div');
      this.node.style.position = 'relative';
      this.title = document.createElement('button');
      this.title.type = 'button';
      this.title.className = 'menu-title';
      this.title.setAttribute('aria-haspopup', 'true');
      this.title.setAttribute('aria-expanded', 'false');
      this.dropdown = document.createElement('div');
      this.dropdown.className = 'dropdown';
      this.dropdown.setAttribute('role', 'menu');
      this.node.append(this.title, this.dropdown);
      this.title.addEventListener('click', () => this.toggleMenu());
      this.dropdown.addEventListener('keydown', (ev) => this.menuKey(ev));
      this.node.addEventListener('focusout', (ev) => {
        if (!this.node.contains(ev.relatedTarget)) this.closeMenu();
      });
    } else {
      this.node = document.createElement('button');
      this.node.type = 'button';
      this.node.setAttribute('role', 'menuitem');
      this.itemCaption = document.createElement('span');
      this.itemKey = document.createElement('span');
      this.node.append(this.itemCaption, this.itemKey);
      this.node.addEventListener('click', () => {
        views.get(e.container)?.closeMenu();
        deliver(() => fe.click(this.id));
      });
      this.form.menuItems.push(this);
    }
  }

  toggleMenu() {
    if (this.dropdown.classList.contains('open')) {
      this.closeMenu();
      return;
    }
    deliver(() => fe.click(this.id));
    if (programEnded) return;
    this.dropdown.classList.add('open');
    this.title.setAttribute('aria-expanded', 'true');
    this.dropdown.querySelector('button:enabled:not([hidden])')?.focus();
  }

  closeMenu() {
    if (!this.dropdown?.classList.contains('open')) return;
    this.dropdown.classList.remove('open');
    this.title.setAttribute('aria-expanded', 'false');
    this.form.applyFocus();
  }

  menuKey(ev) {
    const items = [...this.dropdown.querySelectorAll('button:enabled:not([hidden])')];
    const at = items.indexOf(document.activeElement);
    if (ev.key === 'Escape') {
      ev.preventDefault();
      this.closeMenu();
    } else if (ev.key === 'ArrowDown' || ev.key === 'ArrowUp') {
      ev.preventDefault();
      const step = ev.key === 'ArrowDown' ? 1 : items.length - 1;
      items[(at + step) % items.length]?.focus();
    }
  }

  // Puts the element into its container, in the order of creation: later ones on top.
  place(e) {
    if (this.kind === 'menu') {
      if (e.container === 0) this.form.menubar.append(this.node);
      else views.get(e.container)?.dropdown.append(this.node);
      return;
    }
    if (!this.node) return;
    const container = e.container ? views.get(e.container) : null;
    const parent = container?.node ?? this.form.client;
    if (this.kind === 'line') {
      if (!parent.volparLines) {
        const svg = document.createElementNS('http://www.w3.org/2000/svg', 'svg');
        svg.classList.add('lines');
        const w = container ? fe.element(e.container).width : this.form.desc.width;
        const h = container ? fe.element(e.container).height : this.form.desc.height;
        svg.setAttribute('viewBox', `0 0 ${w} ${h}`);
        svg.setAttribute('preserveAspectRatio', 'none');
        parent.append(svg);
        parent.volparLines = svg;
      }
      parent.volparLines.append(this.node);
      return;
    }
    parent.append(this.node);
  }

  // Reachable by the user: shown, enabled, and so is every frame around it.
  reachable() { return Boolean(this.usable); }

  focusable() { return Boolean(this.control) && this.reachable() && this.form.visible; }

  syncSelection() {
    if (this.kind !== 'text' || document.activeElement !== this.control) return;
    const d = this.last;
    this.control.setSelectionRange(d.selStart, d.selStart + d.selLength);
  }

  sync(given) {
    const d = given ?? fe.element(this.id);
    if (!d) return;
    this.last = d;
    this.usable = d.usable;
    if (d.caption !== undefined) this.accessKey = accessKeyOf(d.caption);
    const n = this.node;
    switch (this.kind) {
      case 'label':
        this.box(d);
        setCaption(n, d.caption);
        if (d.caption.includes(' ')) toFit.add(this);
        n.style.color = d.enabled ? css(d.fore, '#000000') : '#a0a0a0';
        n.style.background = css(d.back, 'transparent');
        break;
      case 'shape': {
        const size = Math.min(d.width, d.height);
        this.box({ ...d, left: d.left + (d.width - size) / 2, top: d.top + (d.height - size) / 2, width: size, height: size });
        n.style.background = css(d.fill, '#ffffff');
        n.style.borderColor = css(d.fore, '#000000');
        break;
      }
      case 'line':
        for (const k of ['x1', 'y1', 'x2', 'y2']) n.setAttribute(k, d[k]);
        n.setAttribute('stroke', css(d.fore, '#000000'));
        n.setAttribute('stroke-width', TWIPS_PER_PIXEL);
        n.style.display = d.visible ? '' : 'none';
        break;
      case 'button':
        this.box(d);
        setCaption(n, d.caption);
        n.classList.toggle('default', d.isDefault);
        n.style.background = css(d.back, '');
        break;
      case 'text': {
        this.box(d);
        n.maxLength = d.maxLength > 0 ? d.maxLength : 32767;
        const text = d.multiLine ? d.text.replace(/\r\n?/g, '\n') : d.text;
        if (n.value !== text) {
          n.value = text;
          if (document.activeElement === n) n.setSelectionRange(d.selStart, d.selStart + d.selLength);
        } else if (this.form.focused === this.id) {
          this.syncSelection();
        }
        n.style.background = css(d.back, '');
        n.style.color = css(d.fore, '');
        break;
      }
      case 'option':
      case 'check':
        this.box(d);
        setCaption(this.captionNode, d.caption);
        this.control.checked = d.value === 1;
        this.control.indeterminate = d.value === 2;
        this.control.disabled = !d.enabled;
        n.classList.toggle('disabled-text', !d.enabled);
        n.style.background = css(d.back, 'transparent');
        n.style.color = css(d.fore, '');
        break;
      case 'scroll':
        this.box(d);
        n.min = d.min;
        n.max = d.max;
        n.step = 1;
        n.value = d.value;
        break;
      case 'frame': {
        const opening = d.visible && n.style.display === 'none';
        this.box(d);
        setCaption(this.captionNode, d.caption);
        this.border.style.top = d.caption ? '0.6em' : '0';
        n.style.background = this.background();
        this.captionNode.style.background = n.style.background;
        this.captionNode.hidden = !d.caption;
        if (opening) n.parentNode.append(n);  // a panel that opens lies over what it covers
        break;
      }
      case 'timer':
        clocks.get(this.id)?.sync();
        break;
      case 'menu':
        if (this.title) {
          setCaption(this.title, d.caption);
          this.title.disabled = !d.enabled;
          this.node.hidden = !d.visible;
        } else {
          setCaption(this.itemCaption, d.caption);
          this.itemKey.textContent = d.shortcut;
          this.shortcut = d.shortcut;
          n.disabled = !d.enabled;
          n.hidden = !d.visible;
        }
        break;
      default:
        break;
    }
  }

  // Position, size, font, visibility and enabled state, as every drawn element has them.
  box(d) {
    const s = this.node.style;
    s.left = px(d.left);
    s.top = px(d.top);
    s.width = px(d.width);
    s.height = px(d.height);
    s.fontFamily = fontFamily(d.font);
    s.fontSize = fontSize(d.font);
    s.fontWeight = d.font.bold ? 'bold' : 'normal';
    s.display = d.visible ? '' : 'none';
    if ('disabled' in this.node && this.kind !== 'option' && this.kind !== 'check') this.node.disabled = !d.enabled;
  }

  background() {
    for (let v = this; v; v = v.last?.container ? views.get(v.last.container) : null) {
      const back = v.last ? v.last.back >>> 0 : INHERIT;
      if (back !== INHERIT) return css(back);
    }
    return css(this.form.desc.back, '#f0f0f0');
  }
}

// Drives one Timer element, paced by the program's clock rules as the windows' clock is:
// each wake-up delivers the ticks that fell due since, so the rate holds although the
// browser wakes a page at most every few milliseconds. A burst stops when a tick stops
// the timer, changes its interval or opens a box.
class Clock {
  constructor(id) {
    this.id = id;
    this.running = false;
    this.interval = 0;
    this.next = 0;
    this.lastWakeUp = 0;
    this.timer = null;
    this.delivered = 0;
  }

  sync() {
    const d = fe.element(this.id);
    const run = Boolean(d) && d.enabled && d.interval > 0 && !programEnded;
    if (!run) {
      this.stop();
      return;
    }
    if (this.running && this.interval === d.interval) return;
    this.running = true;
    this.interval = d.interval;
    this.next = module.clockFirstDue(performance.now(), this.interval);
    this.arm();
  }

  stop() {
    this.running = false;
    clearTimeout(this.timer);
    this.timer = null;
  }

  arm() {
    clearTimeout(this.timer);
    const at = module.clockWakeAt(this.next, this.lastWakeUp);
    this.timer = setTimeout(() => this.wakeUp(), Math.max(0, at - performance.now()));
  }

  wakeUp() {
    this.timer = null;
    if (!this.running) return;
    if (modal) {
      this.timer = setTimeout(() => this.wakeUp(), module.CLOCK_BUSY_RETRY_MS);
      return;
    }
    this.lastWakeUp = performance.now();
    const burst = module.clockBurst(this.lastWakeUp, this.next, this.interval);
    this.next = burst.dueMs;
    for (let n = 0; n < burst.ticks; ++n) {
      this.next += this.interval;
      ++this.delivered;
      const same = deliver(() => fe.tick(this.id), true);
      if (!same) {
        this.running = false;
        this.sync();
        return;
      }
      if (modal || !this.running) break;
    }
    if (this.running) this.arm();
  }
}

// ---- keys -----------------------------------------------------------------------------------

function onKeyDown(ev) {
  if (programEnded || modal || !frontForm || ev.defaultPrevented) return;
  if (ev.target.closest?.('#help, .dropdown')) return;
  const form = frontForm;
  const combo = keyCombo(ev);
  const item = form.shortcutItem(combo);
  if (item) {
    ev.preventDefault();
    if (!item.node.disabled && !item.node.hidden) deliver(() => fe.click(item.id));
    return;
  }
  if (form.desc.help && (combo === 'F1' || combo === ALTERNATIVE_KEYS.F1)) {
    ev.preventDefault();
    deliver(() => fe.help(form.id));
    return;
  }
  if (ev.altKey && !ev.ctrlKey && ev.key.length === 1) {
    const key = ev.key.toLowerCase();
    const menu = form.views.find((v) => v.title && v.accessKey === key && !v.title.disabled);
    if (menu) {
      ev.preventDefault();
      menu.toggleMenu();
      return;
    }
    const targets = form.accessTargets(key);
    const target = targets[0];
    if (targets.length > 1) {
      // As on the desktop: a key that two usable elements share moves the focus between them.
      ev.preventDefault();
      const at = targets.findIndex((v) => v.control === document.activeElement);
      targets[(at + 1) % targets.length].control?.focus();
      return;
    }
    if (target) {
      ev.preventDefault();
      target.control?.focus();
      if (target.kind !== 'text' && target.kind !== 'scroll') deliver(() => fe.click(target.id));
      return;
    }
  }
  if (form.desc.keyPress) {
    const ascii = asciiOf(ev);
    if (ascii !== null) {
      ev.preventDefault();
      deliver(() => fe.keyPress(form.id, ascii));
      return;
    }
  }
  if (ev.key === 'Enter' && !ev.ctrlKey && !ev.altKey && ev.target.tagName !== 'TEXTAREA') {
    if (form.pressReturn(ev.target)) ev.preventDefault();
    return;
  }
  if (ev.key === 'Tab' && !ev.ctrlKey && !ev.altKey) {
    ev.preventDefault();
    form.tab(ev.shiftKey);
  }
}

// ---- the system, as the program asks for it -------------------------------------------------

const msgbox = $('#msgbox');
const boxQueue = [];

function openBox(dialog) {
  ++modal;
  dialog.showModal();
}

function closedBox() {
  --modal;
  if (modal) return;
  if (boxQueue.length) {
    showNextBox();
    return;
  }
  requestFrame();
  frontForm?.applyFocus();
}

function showNextBox() {
  const { text, title } = boxQueue.shift();
  msgbox.querySelector('.title').textContent = title;
  msgbox.querySelector('.text').textContent = text;
  openBox(msgbox);
  msgbox.querySelector('button').focus();
}
msgbox.addEventListener('close', closedBox);

const savebox = $('#savebox');
savebox.addEventListener('close', () => {
  const chosen = savebox.returnValue === 'save' ? savebox.pendingName() : null;
  const event = savebox.pendingEvent;
  closedBox();
  if (chosen && event) {
    fe.answerFile(chosen);
    deliver(event);
  }
});

// Save or Don't Save delivers the event again, with the answer before each delivery (a save
// dialog on the way delivers it once more); Cancel, Escape and closing change nothing.
const questionbox = $('#questionbox');
questionbox.addEventListener('close', () => {
  const answer = questionbox.returnValue;
  const event = questionbox.pendingEvent;
  closedBox();
  if (!event || (answer !== 'save' && answer !== 'discard')) return;
  deliver(() => {
    fe.answerQuestion(answer === 'save');
    return event();
  });
});

const openfile = $('#openfile');

// Opened and saved files live in a folder of their own, the program's working folder, so
// that a file named "dev" or "tmp" is no clash with the in-browser file system's own
// folders. Only what a program file may hold, and a byte more, is read: a larger file is
// refused as the windows refuse it, without reading the rest.
const kFilesFolder = '/files';

async function keepOpened(file) {
  const allowed = Math.min(file.size, module.maxProgramFileBytes + 1);
  const bytes = await file.slice(0, allowed).arrayBuffer();
  module.FS.writeFile(`${kFilesFolder}/${file.name}`, new Uint8Array(bytes));
}

const page = {
  // The screens show what they show now until the box is closed; nothing else happens.
  msgBox(text, title) {
    boxRaised = true;
    if (!modal) flush();
    boxQueue.push({ text, title });
    if (boxQueue.length === 1 && !modal) showNextBox();
  },
  failure(text) { page.msgBox(text, 'VOLPAR'); },
  askToSave(text, title) {
    questionbox.querySelector('.title').textContent = title;
    questionbox.querySelector('.text').textContent = text;
    questionbox.pendingEvent = currentEvent;
    questionbox.returnValue = '';
    openBox(questionbox);
    questionbox.querySelector('button[value=save]').focus();
  },
  chooseOpen() {
    const event = currentEvent;
    openfile.value = '';
    openfile.onchange = async () => {
      const file = openfile.files[0];
      if (!file) return;
      try {
        await keepOpened(file);
      } catch (error) {
        fe.openFailed(file.name, `The browser could not read it (${error?.name ?? error})`);
        return;
      }
      fe.answerFile(file.name);
      deliver(event);
    };
    openfile.click();
  },
  chooseSave(lastName, defaultExt) {
    const event = currentEvent;
    const input = savebox.querySelector('input');
    input.value = (lastName || '').split(/[\\/]/).pop() || `program${defaultExt}`;
    savebox.pendingEvent = event;
    savebox.pendingName = () => {
      const name = input.value.trim().split(/[\\/]/).pop();
      if (!name) return null;
      return name.includes('.') ? name : name + defaultExt;
    };
    openBox(savebox);
    input.select();
  },
  showHelp(file, context) {
    const help = $('#help');
    const frame = help.querySelector('iframe');
    fetch(file).then((r) => {
      if (!r.ok) throw new Error(r.statusText);
      return r.text();
    }).then((html) => {
      if (!html.trim()) throw new Error('empty');
      frame.onload = () => frame.contentDocument.getElementsByName(`topic-${context}`)[0]?.scrollIntoView();
      frame.srcdoc = html;
      help.hidden = false;
    }).catch(() => page.msgBox(`The help file ${file} could not be opened.`, 'VOLPAR Help'));
  },
  ended() {
    programEnded = true;
    showEnded();
  },
};

function showEnded() {
  programEnded = true;
  for (const clock of clocks.values()) clock.stop();
  desk.hidden = true;
  tabs.hidden = true;
  $('#help').hidden = true;
  $('#ended').hidden = false;
}

// ---- start ----------------------------------------------------------------------------------

async function start() {
  module = await createVolpar();
  module.FS.mkdir(kFilesFolder);
  module.FS.chdir(kFilesFolder);
  fe = new module.FrontEnd(page);
  $('#loading').remove();
  document.addEventListener('keydown', onKeyDown);
  $('#help-close').addEventListener('click', () => { $('#help').hidden = true; frontForm?.applyFocus(); });
  window.addEventListener('resize', () => frontForm?.fit());
  deliver(() => fe.start());
  flush();
  // For tests and measurements: the time the first screen stood, the clocks, and an
  // element as the program holds it now, to compare with what is drawn.
  window.volpar = { startedMs: performance.now(), clocks, forms, views, flush, element: (id) => fe.element(id) };
}

start().catch((error) => {
  desk.textContent = `VOLPAR could not start: ${error}`;
});
