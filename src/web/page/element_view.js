// SPDX-License-Identifier: GPL-3.0-or-later
// One element of a window drawn as the program describes it, and the user's actions on it
// handed back to the program.
import { app, rules } from './state.js';
import { accessKeyOf, css, FILL, FORE, fitLater, textCss, fontFamily, fontSize, px, setCaption } from './captions.js';
import { deliver } from './events.js';
import { Clock } from './clock.js';

const INHERIT = 0xffffffff;
const SVG = 'http://www.w3.org/2000/svg';

function make(tag, cls) {
  const n = document.createElement(tag);
  if (cls) n.className = cls;
  return n;
}

function changed(d, prev, ...keys) {
  return keys.some((k) => d[k] !== prev[k]);
}

function sameFont(a, b) {
  return Boolean(b) && a.name === b.name && a.points === b.points && a.bold === b.bold;
}

// Drawn, by the styles alone (where the browser offers to ask them), not by a fresh layout
// of the element's boxes.
export function drawn(node) {
  return node.checkVisibility ? node.checkVisibility() : node.getClientRects().length > 0;
}

export class ElementView {
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
    const creators = {
      label: () => this.createLabel(),
      shape: () => {
        this.node = make('div', 'shape');
      },
      line: () => {
        this.node = document.createElementNS(SVG, 'line');
        this.node.classList.add('lines-item');
      },
      button: () => this.createButton(),
      text: () => this.createText(e),
      option: () => this.createChoice('radio'),
      check: () => this.createChoice('checkbox'),
      scroll: () => this.createScroll(),
      frame: () => this.createFrame(),
      timer: () => app.clocks.set(this.id, new Clock(this.id)),
    };
    creators[e.kind]?.();
  }

  createLabel() {
    this.node = make('div', 'label');
    this.node.addEventListener('click', () => deliver(() => app.fe.click(this.id)));
  }

  createButton() {
    this.node = this.control = make('button', 'cmd');
    this.node.type = 'button';
    this.node.addEventListener('click', () => deliver(() => app.fe.click(this.id)));
  }

  createText(e) {
    this.node = this.control = make(e.multiLine ? 'textarea' : 'input', 'text');
    if (!e.multiLine) this.node.type = 'text';
    this.node.spellcheck = false;
    this.node.autocomplete = 'off';
    this.node.addEventListener('input', () => {
      const n = this.node;
      deliver(() => app.fe.type(this.id, n.value, n.selectionStart ?? n.value.length));
      this.sync();
    });
    this.node.addEventListener('mouseup', () => deliver(() => app.fe.click(this.id)));
  }

  createChoice(type) {
    this.node = make('label', 'choice');
    this.control = make('input');
    this.control.type = type;
    this.captionNode = make('span');
    this.node.append(this.control, this.captionNode);
    this.control.addEventListener('click', () => {
      deliver(() => app.fe.click(this.id));
      this.sync();
    });
  }

  createScroll() {
    this.node = this.control = make('input', 'scroll');
    this.node.type = 'range';
    this.node.addEventListener('input', () => this.scrollTo(Number(this.node.value)));
    this.node.addEventListener('keydown', (ev) => {
      const d = app.fe.element(this.id);
      const steps = {
        ArrowLeft: -d.smallChange,
        ArrowDown: -d.smallChange,
        ArrowRight: d.smallChange,
        ArrowUp: d.smallChange,
        PageUp: -d.largeChange,
        PageDown: d.largeChange,
      };
      const step = steps[ev.key];
      if (step === undefined) return;
      ev.preventDefault();
      this.scrollTo(d.value + step);
    });
  }

  scrollTo(value) {
    deliver(() => app.fe.scroll(this.id, value));
    this.sync();
  }

  createFrame() {
    this.node = make('fieldset', 'frame');
    this.border = make('div', 'frame-border');
    this.captionNode = make('span', 'frame-caption');
    this.node.append(this.border, this.captionNode);
  }

  // Puts the element into its container, in the order of creation: later ones on top.
  place(e) {
    if (!this.node) return;
    const container = e.container ? app.views.get(e.container) : null;
    const parent = container?.node ?? this.form.client;
    if (this.kind !== 'line') {
      parent.append(this.node);
      return;
    }
    if (!parent.volparLines) {
      const svg = document.createElementNS(SVG, 'svg');
      svg.classList.add('lines');
      const size = container ? app.fe.element(e.container) : this.form.desc;
      svg.setAttribute('viewBox', `0 0 ${size.width} ${size.height}`);
      svg.setAttribute('preserveAspectRatio', 'none');
      parent.append(svg);
      parent.volparLines = svg;
    }
    parent.volparLines.append(this.node);
  }

  // Reachable by the user: shown, enabled, and so is every frame around it.
  reachable() {
    return Boolean(this.usable);
  }

  // Drawn too: a control in a frame just hidden (Close of the options) keeps its last news
  // of being usable, as its own properties did not change.
  focusable() {
    return Boolean(this.control) && this.reachable() && this.form.visible && drawn(this.control);
  }

  syncSelection() {
    if (this.kind !== 'text' || document.activeElement !== this.control) return;
    const d = this.last;
    this.control.setSelectionRange(d.selStart, d.selStart + d.selLength);
  }

  // Writes only what differs from the element as last drawn: a running clock changes a few
  // colours and captions a frame, and every other write would cost the browser a style pass.
  sync(given) {
    const d = given ?? app.fe.element(this.id);
    if (!d) return;
    const prev = this.last;
    this.last = d;
    this.usable = d.usable;
    if (d.caption !== undefined) this.accessKey = accessKeyOf(d.caption);
    this.draw(d, prev ?? {});
  }

  draw(d, prev) {
    switch (this.kind) {
      case 'label':
        return this.drawLabel(d, prev);
      case 'shape':
        return this.drawShape(d, prev);
      case 'line':
        return this.drawLine(d, prev);
      case 'button':
        return this.drawButton(d, prev);
      case 'text':
        return this.drawText(d, prev);
      case 'option':
      case 'check':
        return this.drawChoice(d, prev);
      case 'scroll':
        return this.drawScroll(d, prev);
      case 'frame':
        return this.drawFrame(d, prev);
      case 'timer':
        return app.clocks.get(this.id)?.sync();
      default:
        return undefined;
    }
  }

  drawLabel(d, prev) {
    const n = this.node;
    const refit = this.box(d, prev) || d.caption !== prev.caption;
    setCaption(n, d.caption);
    if (refit) this.refit(d);
    if (changed(d, prev, 'centred')) n.classList.toggle('centred', d.centred);
    if (changed(d, prev, 'enabled', 'fore', 'back')) {
      n.style.color = d.enabled ? textCss(d.fore, d.back, 'var(--vp-text)') : 'var(--vp-disabled-text)';
      n.ariaDisabled = d.enabled ? null : 'true'; // greyed as a disabled control's text is
    }
    if (changed(d, prev, 'back')) n.style.backgroundColor = css(d.back, 'transparent');
  }

  drawShape(d, prev) {
    const size = Math.min(d.width, d.height);
    const left = d.left + (d.width - size) / 2;
    const top = d.top + (d.height - size) / 2;
    this.box(d, prev, { left, top, width: size, height: size });
    if (changed(d, prev, 'fill')) this.node.style.backgroundColor = css(d.fill, 'var(--vp-zero)', FILL);
    if (changed(d, prev, 'fore')) this.node.style.borderColor = css(d.fore, 'var(--vp-outline)', FORE);
  }

  drawLine(d, prev) {
    const n = this.node;
    if (changed(d, prev, 'x1', 'y1', 'x2', 'y2')) {
      for (const k of ['x1', 'y1', 'x2', 'y2']) n.setAttribute(k, d[k]);
      n.setAttribute('stroke-width', rules.twipsPerPixel);
    }
    if (changed(d, prev, 'fore')) n.style.stroke = css(d.fore, 'var(--vp-outline)', FORE);
    if (changed(d, prev, 'visible')) n.style.display = d.visible ? '' : 'none';
  }

  // A caption too long for its box (a longer word in another language) shrinks as a
  // label's does; the box stays.
  refit(d) {
    const n = this.fitNode ?? this.node;
    n.style.fontSize = fontSize(d.font);
    n.style.fontStretch = '';
    fitLater(this);
  }

  drawButton(d, prev) {
    const refit = this.box(d, prev) || d.caption !== prev.caption;
    setCaption(this.node, d.caption);
    if (refit) this.refit(d);
    this.node.classList.toggle('default', d.isDefault);
    if (changed(d, prev, 'back')) this.node.style.backgroundColor = css(d.back, '');
  }

  drawText(d, prev) {
    const n = this.node;
    this.box(d, prev);
    if (changed(d, prev, 'maxLength')) n.maxLength = d.maxLength > 0 ? d.maxLength : 32767;
    const text = d.multiLine ? d.text.replace(/\r\n?/g, '\n') : d.text;
    if (n.value !== text) {
      n.value = text;
      if (document.activeElement === n) n.setSelectionRange(d.selStart, d.selStart + d.selLength);
    } else if (this.form.focused === this.id) {
      this.syncSelection();
    }
    if (changed(d, prev, 'back')) n.style.backgroundColor = css(d.back, '');
    if (changed(d, prev, 'fore')) n.style.color = css(d.fore, '', FORE);
  }

  drawChoice(d, prev) {
    const n = this.node;
    const refit = this.box(d, prev) || d.caption !== prev.caption;
    setCaption(this.captionNode, d.caption);
    if (refit) this.refit(d);
    this.control.checked = d.value === 1;
    this.control.indeterminate = d.value === 2;
    this.control.disabled = !d.enabled;
    n.classList.toggle('disabled-text', !d.enabled);
    if (changed(d, prev, 'back')) n.style.backgroundColor = css(d.back, 'transparent');
    if (changed(d, prev, 'fore')) n.style.color = css(d.fore, '', FORE);
  }

  drawScroll(d, prev) {
    const n = this.node;
    this.box(d, prev);
    if (changed(d, prev, 'min', 'max')) {
      n.min = d.min;
      n.max = d.max;
      n.step = 1;
    }
    if (Number(n.value) !== d.value) n.value = d.value;
  }

  drawFrame(d, prev) {
    const n = this.node;
    const opening = d.visible && n.style.display === 'none';
    const refit = this.box(d, prev) || d.caption !== prev.caption;
    setCaption(this.captionNode, d.caption);
    this.fitNode = this.captionNode;
    if (refit) this.refit(d);
    this.border.style.top = d.caption ? '0.6em' : '0';
    n.style.backgroundColor = this.background();
    this.captionNode.style.backgroundColor = n.style.backgroundColor;
    this.captionNode.hidden = !d.caption;
    if (opening) n.parentNode.append(n); // a panel that opens lies over what it covers
  }

  // Drawn again whole: a change of theme changes the colour of nearly everything drawn.
  redraw() {
    const d = this.last;
    this.last = undefined;
    if (d) this.sync(d);
  }

  // Position, size, font, visibility and enabled state, as every drawn element has them;
  // true when the element's box or font changed.
  box(d, prev, rect = d) {
    const s = this.node.style;
    const moved = changed(d, prev, 'left', 'top', 'width', 'height');
    if (moved) {
      s.left = px(rect.left);
      s.top = px(rect.top);
      s.width = px(rect.width);
      s.height = px(rect.height);
    }
    // A shape writes no text: it takes no font, and its own style stays as small as a
    // cell's that changes at every tick must.
    const restyled = this.kind !== 'shape' && !sameFont(d.font, prev.font);
    if (restyled) {
      s.fontFamily = fontFamily(d.font);
      s.fontSize = fontSize(d.font);
      s.fontWeight = d.font.bold ? 'bold' : 'normal';
    }
    if (changed(d, prev, 'visible')) s.display = d.visible ? '' : 'none';
    const disables = 'disabled' in this.node && this.kind !== 'option' && this.kind !== 'check';
    if (disables && changed(d, prev, 'enabled')) this.node.disabled = !d.enabled;
    return moved || restyled;
  }

  background() {
    for (let v = this; v; v = v.last?.container ? app.views.get(v.last.container) : null) {
      const back = v.last ? v.last.back >>> 0 : INHERIT;
      if (back !== INHERIT) return css(back);
    }
    return css(this.form.desc.back, 'var(--sys-window)');
  }
}
