// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds in the page beyond its controls, from what each form offers
// (the same parts the windows offer their screen reader): the text boxes named as the
// windows name them, the drawn parts (registers, decoder, clock, lamps) as labelled
// groups, the memory grid as a grid of 32 rows, and a polite live region that says what
// each phase changed. All of it visually hidden: nothing drawn moves or changes.
import { app, rules } from './state.js';
import { afterFlush } from './events.js';
import { onLanguage, tr } from './texts.js';

const mirrors = new Map(); // FormView → Mirror
let dirty = false;
let timer = null;
let lastAnnounced = -Infinity;
const announcedListeners = [];

const announcer = element('div', 'visually-hidden');
announcer.id = 'announcer';
announcer.setAttribute('aria-live', 'polite');
announcer.setAttribute('aria-atomic', 'true');
document.body.append(announcer);

function element(tag, cls, text) {
  const n = document.createElement(tag);
  if (cls) n.className = cls;
  if (text !== undefined) n.textContent = text;
  return n;
}

// listener() runs after each reading of the program (the state panel follows it).
export function afterAnnounce(listener) {
  announcedListeners.push(listener);
}

// One form's hidden mirror: a group per reading, a grid for its table, a description per
// named control; each text as it was last read.
class Mirror {
  constructor(form, parts) {
    this.form = form;
    this.parts = parts;
    this.node = element('div', 'visually-hidden a11y-mirror');
    this.node.dataset.mirror = form.desc.name;
    this.descriptions = parts.names.map((n) => this.nameControl(n));
    this.readings = parts.readings.map((name) => this.addReading(name));
    this.rows = parts.table ? this.addTable(parts.table) : [];
    this.told = null; // the readings' texts last spoken
    form.node.append(this.node);
  }

  nameControl({ id, name }) {
    const control = app.views.get(id)?.control;
    if (!control) return null;
    control.setAttribute('aria-label', name);
    const description = element('span');
    description.id = `a11y-description-${id}`;
    this.node.append(description);
    control.setAttribute('aria-describedby', description.id);
    return description;
  }

  addReading(name) {
    const group = element('div');
    group.setAttribute('role', 'group');
    group.setAttribute('aria-label', name);
    group.dataset.reading = name;
    this.node.append(group);
    return group;
  }

  addTable({ name, description, rows }) {
    const table = element('table');
    table.setAttribute('role', 'grid');
    table.setAttribute('aria-label', name);
    table.setAttribute('aria-readonly', 'true');
    table.setAttribute('aria-rowcount', String(rows.length));
    table.append(element('caption', '', `${name}: ${description}`));
    const cells = rows.map((rowName) => {
      const row = element('tr');
      const header = element('th', '', rowName);
      header.scope = 'row';
      const cell = element('td');
      row.append(header, cell);
      table.append(row);
      return cell;
    });
    this.node.append(table);
    return cells;
  }

  // Brings every text up to date; returns what the readings changed, "name text" each,
  // the first reading (the clock) always first so that the news says which phase it is.
  read() {
    const texts = app.fe.accessibleTexts(this.form.id);
    if (!texts) return [];
    texts.descriptions.forEach((text, i) => setText(this.descriptions[i], text));
    texts.rows.forEach((text, i) => {
      setText(this.rows[i], text);
      setAttribute(this.rows[i].parentNode, 'aria-selected', String(i === texts.current));
    });
    texts.readings.forEach((text, i) => setText(this.readings[i], text));
    // While the clock runs too fast to follow: that it runs, then nothing until it stops.
    if (texts.quiet && this.told) {
      const began = !this.running;
      this.running = true;
      return began ? [tr('Clock running')] : [];
    }
    const [told, rowsTold] = [this.told, this.rowsTold];
    [this.told, this.rowsTold] = [texts.readings, texts.rows];
    const changed = told ? texts.readings.flatMap((text, i) => (told[i] === text ? [] : [i])) : [];
    // What Send to Memory stored and where the next entry goes, as the windows say it.
    if (!changed.length) return [rowsTold && app.fe.tableNews(this.form.id, rowsTold)].filter(Boolean);
    if (changed[0] !== 0) changed.unshift(0);
    const news = changed.map((i) => `${this.parts.readings[i]} ${texts.readings[i]}`);
    // What the phase did, in words, right after the clock.
    if (texts.explanation) news.splice(1, 0, texts.explanation);
    if (this.running) news.unshift(tr('Clock stopped'));
    this.running = false;
    return news;
  }
}

function setText(node, text) {
  if (node && node.textContent !== text) node.textContent = text;
}

// Written only when it changes: the mirror reads the whole table a few times a second.
function setAttribute(node, name, value) {
  if (node.getAttribute(name) !== value) node.setAttribute(name, value);
}

// The forms made and gone since the last frame.
function followForms() {
  for (const form of app.forms.values()) {
    if (mirrors.has(form)) continue;
    const parts = app.fe.accessibleParts(form.id);
    mirrors.set(form, parts ? new Mirror(form, parts) : null);
  }
  for (const form of mirrors.keys()) if (!app.forms.has(form.id)) mirrors.delete(form);
}

// A change of language names every part anew: the mirrors are made again at the next reading.
onLanguage(() => {
  for (const mirror of mirrors.values()) mirror?.node.remove();
  mirrors.clear();
});

// Reads the program and speaks what the screen in front changed.
function announce() {
  timer = null;
  dirty = false;
  lastAnnounced = performance.now();
  if (!app.fe || app.programEnded) return;
  followForms();
  const news = [];
  for (const [form, mirror] of mirrors) {
    if (!mirror) continue;
    const changed = mirror.read();
    if (form === app.frontForm && form.visible) news.push(...changed);
  }
  if (news.length) announcer.textContent = news.join(', ');
  for (const listener of announcedListeners) listener();
}

// Per frame only a mark: the first change after a quiet spell is read at once, later ones
// wait for their turn.
afterFlush(() => {
  followForms();
  if (dirty) return;
  dirty = true;
  // At most every rules.announceMs the mirror reads the program and speaks.
  const wait = Math.max(0, rules.announceMs - (performance.now() - lastAnnounced));
  timer = setTimeout(announce, wait);
});

// Reads now instead of at the next turn (the state panel, opened by a key).
export function announceNow() {
  clearTimeout(timer);
  announce();
}
