// SPDX-License-Identifier: GPL-3.0-or-later
// Menu bars: the program's menus, and the items the page offers beyond them.
import { app } from './state.js';
import { accessKeyOf, setCaption } from './captions.js';
import { deliver } from './events.js';
import { ElementView } from './element_view.js';
import { onLanguage, tr } from './texts.js';

// A menu title with its dropdown, opened by a click or its access key, walked with the
// arrow keys and closed by Escape or by the focus leaving it.
class Dropdown {
  constructor(form, onOpen) {
    this.form = form;
    this.onOpen = onOpen;
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
  }

  setCaption(caption) {
    setCaption(this.title, caption);
    this.accessKey = accessKeyOf(caption);
  }

  toggleMenu() {
    if (this.dropdown.classList.contains('open')) {
      this.closeMenu();
      return;
    }
    this.onOpen();
    if (app.programEnded) return;
    this.dropdown.classList.add('open');
    this.title.setAttribute('aria-expanded', 'true');
    this.dropdown.querySelector('button:enabled:not([hidden])')?.focus();
  }

  closeMenu() {
    if (!this.dropdown.classList.contains('open')) return;
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
}

function menuItemNode() {
  const node = document.createElement('button');
  node.type = 'button';
  node.setAttribute('role', 'menuitem');
  const caption = document.createElement('span');
  const key = document.createElement('span');
  node.append(caption, key);
  return { node, caption, key };
}

// A menu or menu item of the program: a title in the menu bar, or an item in its dropdown.
export class MenuView extends ElementView {
  create(e) {
    if (e.container === 0) {
      this.menu = new Dropdown(this.form, () => deliver(() => app.fe.click(this.id)));
      this.node = this.menu.node;
      this.title = this.menu.title;
      this.form.menus.push(this.menu);
      return;
    }
    const item = menuItemNode();
    this.node = item.node;
    this.itemCaption = item.caption;
    this.itemKey = item.key;
    this.node.addEventListener('click', () => {
      app.views.get(e.container)?.menu?.closeMenu();
      deliver(() => app.fe.click(this.id));
    });
    this.form.menuItems.push(this);
  }

  place(e) {
    if (e.container === 0) this.form.menubar.append(this.node);
    else app.views.get(e.container)?.menu?.dropdown.append(this.node);
  }

  draw(d) {
    if (this.menu) {
      this.menu.setCaption(d.caption);
      this.title.disabled = !d.enabled;
      this.node.hidden = !d.visible;
      return;
    }
    setCaption(this.itemCaption, d.caption);
    this.itemKey.textContent = d.shortcut;
    this.shortcut = d.shortcut;
    this.node.disabled = !d.enabled;
    this.node.hidden = !d.visible;
  }
}

// ---- the page's own items ---------------------------------------------------------------

const pageItems = [];
const captioned = []; // { node, caption() } of each page item and menu title drawn
onLanguage(() => {
  for (const { node, caption } of captioned) node.setCaption(caption());
});

// Adds an item the page offers beyond the program's own, e.g.
//   addPageItem({ on: hasMenus, menu: rules.viewMenu, caption: mark('Show &bit values'),
//                 shortcut: 'F4', run, checked: () => shown });
// with the menu's and the item's captions in English, shown in the language in use; a
// caption the page composes is given as a function that composes it.
// to every window made from now on whose form `on` accepts, as its description and its
// own menus say: into the program's menu of that title where it has one, else into a
// menu of the page's own after the program's menus. The shortcut works while that window
// is in front.
export function addPageItem(item) {
  pageItems.push(item);
  for (const form of app.forms.values()) if (item.on(form)) addItemTo(form, item);
}

// A window with menus of the program's own, as the windows put their View menu.
export const hasMenus = (form) => form.menus.length > 0;

export function addPageItemsTo(form) {
  const items = pageItems.filter((item) => item.on(form)); // asked before any is added
  for (const item of items) addItemTo(form, item);
}

function addItemTo(form, item) {
  const menu = menuTitled(form, item.menu);
  const { node, caption, key } = menuItemNode();
  const shown = typeof item.caption === 'function' ? item.caption : () => tr(item.caption);
  caption.setCaption = (text) => setCaption(caption, text);
  caption.setCaption(shown());
  captioned.push({ node: caption, caption: shown });
  key.textContent = item.shortcut ?? '';
  if (item.checked) node.setAttribute('role', 'menuitemcheckbox');
  const entry = { shortcut: item.shortcut, node, run: () => item.run() };
  node.addEventListener('click', () => {
    menu.closeMenu();
    item.run();
  });
  menu.dropdown.append(node);
  menu.pageItems.push({ node, item });
  form.menuItems.push(entry);
  form.menubar.hidden = false;
}

function menuTitled(form, title) {
  const plain = (caption) => caption.replace(/&/g, '');
  let menu = form.menus.find((m) => plain(m.title.volparCaption ?? '') === plain(tr(title)));
  if (!menu) {
    menu = new Dropdown(form, () => {});
    menu.setCaption(tr(title));
    captioned.push({ node: menu, caption: () => tr(title) });
    form.menubar.append(menu.node);
    form.menus.push(menu);
  }
  if (!menu.pageItems) {
    menu.pageItems = [];
    const opened = menu.onOpen;
    menu.onOpen = () => {
      opened();
      for (const { node, item } of menu.pageItems) {
        if (item.checked) node.setAttribute('aria-checked', String(Boolean(item.checked())));
      }
    };
  }
  return menu;
}
